// Any bytes imported as a SatcoDX listing, with and without feed/test channels.
#include <cstddef>
#include <cstdint>
#include <span>

#include "db/channel_db.h"
#include "sdx/import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto bytes = std::as_bytes(std::span(data, size));
  for (bool skipFeedTest : {true, false}) {
    velmora::ChannelDb db;
    (void)velmora::importSdx(db, bytes, skipFeedTest);
  }
  return 0;
}
