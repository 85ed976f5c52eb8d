// Any bytes the database reader takes, matched with themselves: a database
// put in its own order keeps every list as it is, and differs from itself
// in nothing. Files from elsewhere give the matcher what our own writer
// never makes: duplicate keys, blank names, transponders no channel names.
// Apart from the reader's own target, which runs far faster without it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "match/match.h"
#include "wdb/wdb_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const wdb::ReadResult read = wdb::readWdb(std::as_bytes(std::span(data, size)));
  if (!read.ok()) return 0;
  ChannelDb self = read.db;
  match::reorderLike(self, read.db);
  fuzz::checkSameDatabase(read.db, self);
  fuzz::check(match::diffDatabases(read.db, read.db).empty(), "a database equals itself");
  return 0;
}
