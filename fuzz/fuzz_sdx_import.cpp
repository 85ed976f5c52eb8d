// Any bytes imported as a SatcoDX listing, with and without feed/test
// channels: the import adds one satellite within the receiver's limits or
// nothing at all.
#include <cstddef>
#include <cstdint>
#include <span>

#include "db/channel_db.h"
#include "fuzz_check.h"
#include "sdx/import.h"
#include "sdx/listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const auto bytes = std::as_bytes(std::span(data, size));
  for (bool skipFeedTest : {true, false}) {
    ChannelDb db;
    const ImportResult r = importSdx(db, bytes, skipFeedTest);
    fuzz::check(r.added == (db.satCount == 1), "added means one satellite");
    fuzz::check(r.added != !r.messages.empty(), "a satellite or a message");
    fuzz::check(!r.added || isSdxListing(bytes), "only a listing adds a satellite");
    fuzz::check(r.counts.imported + r.counts.skipped() == r.counts.records &&
                    (!r.added || r.counts.imported == db.svcTables[0].count()),
                "every record counted once");
    fuzz::check(db.totalTp <= MAX_TOTAL_TP && db.totalSvc <= MAX_TOTAL_SVC, "within the totals");
    for (const SvcRecord& svc : db.svcTables[0]) {
      fuzz::check(svc.name.size() <= 18, "a channel name has at most 18 characters");
    }
  }
  return 0;
}
