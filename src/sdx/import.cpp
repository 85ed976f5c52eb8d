#include "sdx/import.h"

#include <utility>

#include "sdx/listing.h"
#include "texts.h"

namespace velmora {

// A listing says nothing about the dish, so an imported satellite gets the
// common universal-LNB setup; the user adjusts it in the edit panel.
SatRecord importedSatellite(SdxSatHeader header) {
  SatRecord sat;
  sat.name = std::move(header.name);
  sat.lnbType = "Universal";
  sat.lnbFreq1 = "10600";
  sat.lnbFreq2 = "9750";
  sat.diseqc = "NONE";
  sat.tone22k = "Auto";
  sat.switch12v = "On";
  sat.lnbPower = "On";
  sat.sdxCode = std::move(header.sdxCode);
  sat.diseqcCommitted = "0";
  sat.diseqcUncommitted = "0";
  return sat;
}

ImportResult importSdx(ChannelDb& db, std::span<const std::byte> listing, bool skipFeedTest) {
  ImportResult result;
  if (db.satCount >= MAX_SATS) {
    result.messages.emplace_back(text::OPEN_SAT_RANGE);
    return result;
  }
  if (!isSdxListing(listing)) {
    result.messages.emplace_back(text::SUPPORT_FILE);
    return result;
  }

  SvcTable services;
  TpTable transponders;
  SatRecord sat = importedSatellite(readSdxFile(listing, services, skipFeedTest, &result.counts));
  deriveTransponders(services, transponders);

  // The satellites already present keep within the receiver's totals, so
  // only the new one can break them; it is then left out as a whole.
  db.recountTotals();
  if (db.totalTp + transponders.count() > MAX_TOTAL_TP) {
    result.messages.emplace_back(text::IMPORT_TP_RANGE);
    return result;
  }
  if (db.totalSvc + services.count() > MAX_TOTAL_SVC) {
    result.messages.emplace_back(text::IMPORT_SVC_RANGE);
    return result;
  }

  const int slot = db.satCount;
  if (!db.appendSatellite(std::move(sat))) return result;
  db.tpTables[slot] = std::move(transponders);
  db.svcTables[slot] = std::move(services);
  db.recountTotals();
  result.added = true;
  return result;
}

}  // namespace velmora
