// Any bytes given to the database reader: it refuses or reads, and what it
// reads survives a round trip. Read -> write in the same layout -> read
// gives the same database, except where the format itself cannot hold a
// value read from a foreign file:
//   - a packed number (LNB frequency, frequency, symbol rate) outside
//     1000..99999, such as an lnbFreq2 read as "1", is written as zero bytes
//     and comes back as "0";
//   - a Type I longitude read as below 0 or above 3600 (a magnitude the
//     format does not hold on that side) is written as 0 and comes back as
//     "0000" or, flagged west, "3600";
//   - transponder numbers (seqNo) are given afresh over the whole file.
// The scanner sees the same bytes: it reports something whenever the read
// left records out. (Matching a database with itself has a target of its
// own, fuzz_wdb_selfmatch: it is many times slower than reading.)
#include <cstddef>
#include <cstdint>
#include <span>

#include "db/text_number.h"
#include "fuzz_check.h"
#include "wdb/wdb_format.h"
#include "wdb/wdb_scan.h"

namespace {

using namespace velmora;

std::string packedAsWritten(const std::string& text) {
  const std::int64_t v = leadingValue(text);
  return v >= 1000 && v <= 99999 ? text : "0";
}

// The database as a read of its written image must give it back.
ChannelDb asTheFormatHoldsIt(ChannelDb db, wdb::Layout layout) {
  for (int s = 0; s < db.satCount; ++s) {
    const auto i = static_cast<std::size_t>(s);
    SatRecord& sat = db.sats[i];
    if (const std::int64_t v = leadingValue(sat.sdxCode); layout == wdb::Layout::TypeI) {
      if (v < 0) sat.sdxCode = "0000";
      if (v > 3600) sat.sdxCode = "3600";
    }
    sat.lnbFreq1 = packedAsWritten(sat.lnbFreq1);
    sat.lnbFreq2 = packedAsWritten(sat.lnbFreq2);
    sat.lnbType = lnbTypeFor(sat.lnbFreq1, sat.lnbFreq2);
    if (layout == wdb::Layout::TypeII && leadingValue(sat.lnbFreq2) != 0) sat.lnbType = "Universal";
    if (sat.lnbType.find("Universal") != std::string::npos) {
      sat.tone22k = "Auto";
    } else if (sat.tone22k == "Auto") {
      sat.tone22k = "On";
    }
    for (TpRecord& tp : db.tpTables[i]) {
      tp.frequency = packedAsWritten(tp.frequency);
      tp.symbolRate = packedAsWritten(tp.symbolRate);
    }
    for (SvcRecord& svc : db.svcTables[i]) {
      // A service names its transponder by key, which follows the fields.
      const TpRecord tp = splitTpKey(svc.tpKey);
      TpRecord written = tp;
      written.frequency = packedAsWritten(tp.frequency);
      written.symbolRate = packedAsWritten(tp.symbolRate);
      svc.tpKey = tpKeyLong(written);
    }
  }
  wdb::numberTransponders(db);
  return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto bytes = std::as_bytes(std::span(data, size));
  const wdb::ScanReport scan = wdb::scanWdb(bytes);
  wdb::ReadResult first = wdb::readWdb(bytes);
  if (!first.ok()) return 0;
  fuzz::check(first.layout != wdb::Layout::NotChosen, "a read file has a layout");
  fuzz::check(scan.unreadable.empty() && scan.layout == first.layout, "the scanner reads it too");
  fuzz::check(!first.lostRecords() || !scan.losses.empty(), "what the read left out is reported");

  ChannelDb db = first.db;
  int counter = 0;
  const wdb::WriteResult image = wdb::writeWdb(db, first.layout, FavouriteList{}, counter);
  if (first.db.satCount == 0) {
    fuzz::check(!image.ok(), "an empty database is not written");
    return 0;
  }
  if (!image.ok()) fuzz::fail("a database just read is refused: " + image.failure.message);
  const wdb::ReadResult second = wdb::readWdb(image.bytes);
  if (!second.ok()) fuzz::fail("our own image is refused: " + second.failure.message);
  fuzz::check(second.layout == first.layout, "the layout survives");
  fuzz::checkSameDatabase(asTheFormatHoldsIt(first.db, first.layout), second.db);
  return 0;
}
