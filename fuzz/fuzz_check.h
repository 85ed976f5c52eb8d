// What the fuzz targets share: a check that stops the run with a message
// (a finding, not a crash of the code under test), and a comparison of two
// databases that names the first difference.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "db/channel_db.h"
#include "fuzz_sandbox.h"

namespace velmora::fuzz {

[[noreturn]] inline void fail(const std::string& what) {
  std::fprintf(stderr, "fuzz property broken: %s\n", what.c_str());
  removeSandboxes();  // abort() runs no exit handlers
  std::abort();
}

inline void check(bool ok, const char* what) {
  if (!ok) fail(what);
}

// Stops with the place of the first difference between `a` and `b`.
inline void checkSameDatabase(const ChannelDb& a, const ChannelDb& b) {
  if (a.satCount != b.satCount) {
    fail("satellite count " + std::to_string(a.satCount) + " != " + std::to_string(b.satCount));
  }
  for (int s = 0; s < a.satCount; ++s) {
    const auto i = static_cast<std::size_t>(s);
    const std::string where = "satellite " + std::to_string(s);
    if (!(a.sats[i] == b.sats[i])) fail(where + " (" + a.sats[i].name + ") differs");
    if (!(a.tpTables[i] == b.tpTables[i])) fail(where + " transponders differ");
    if (!(a.svcTables[i] == b.svcTables[i])) fail(where + " services differ");
  }
}

}  // namespace velmora::fuzz
