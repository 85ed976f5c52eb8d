// Any bytes given to the database reader: it refuses or reads, never more.
#include <cstddef>
#include <cstdint>
#include <span>

#include "wdb/wdb_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto bytes = std::as_bytes(std::span(data, size));
  velmora::wdb::ReadResult r = velmora::wdb::readWdb(bytes);
  if (r.ok()) {
    // Whatever was read can be written again in its own layout.
    int counter = 0;
    (void)velmora::wdb::writeWdb(r.db, r.layout, velmora::FavouriteList{}, counter);
  }
  return 0;
}
