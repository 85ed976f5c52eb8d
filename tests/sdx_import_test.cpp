#include <gtest/gtest.h>

#include <tuple>

#include "sdx/import.h"
#include "support/db_builders.h"
#include "support/sdx_records.h"
#include "texts.h"

namespace velmora {
namespace {

using namespace velmora::test;

// A listing of `services` channels spread over `transponders` frequencies.
std::vector<std::byte> listing(int services, int transponders) {
  std::string out;
  for (int i = 0; i < services; ++i) {
    out += sdxRecord({{FREQ, std::to_string(10700 + i % transponders)}}) + "\n";
  }
  return bytesOf(out);
}

TEST(SdxImport, AppendsOneSatelliteWithTheImportSettings) {
  ChannelDb db = makeDb(2, 3, 4);
  const ImportResult r = importSdx(db, listing(5, 2), true);
  EXPECT_TRUE(r.added);
  EXPECT_TRUE(r.messages.empty());
  ASSERT_EQ(db.satCount, 3);
  EXPECT_EQ(db.sats[2], (SatRecord{"Hotbird 13E     ", "Universal", "10600", "9750", "NONE", "Auto",
                                   "On", "On", "0130", "0", "0"}));
  EXPECT_EQ(db.svcTables[2].count(), 5);
  EXPECT_EQ(db.tpTables[2].count(), 2);
  EXPECT_EQ(db.totalTp, 6 + 2);
  EXPECT_EQ(db.totalSvc, 8 + 5);

  // The same file again gives a second, equal satellite.
  EXPECT_TRUE(importSdx(db, listing(5, 2), true).added);
  EXPECT_EQ(db.sats[3], db.sats[2]);
  EXPECT_EQ(db.svcTables[3], db.svcTables[2]);
}

// Only the new satellite can break a limit; it is then left out whole and
// the database stays as it was.
TEST(SdxImport, LimitsOfTheReceiver) {
  struct Case {
    ChannelDb db;
    std::vector<std::byte> file;
    std::string_view message;  // empty: the satellite is added
  };
  const std::string_view added;
  Case cases[] = {
      {makeDb(63, 1, 1), listing(1, 1), added},
      {makeDb(64, 1, 1), listing(1, 1), text::OPEN_SAT_RANGE},
      {makeDb(2, 799, 1), listing(2, 2), added},                     // 1600 transponders
      {makeDb(2, 799, 1), listing(3, 3), text::IMPORT_TP_RANGE},     // 1601
      {makeDb(2, 10, 2999), listing(2, 1), added},                   // 6000 services
      {makeDb(2, 10, 2999), listing(3, 1), text::IMPORT_SVC_RANGE},  // 6001
      {makeDb(2, 800, 3000), listing(4, 2), text::IMPORT_TP_RANGE},  // both broken
  };
  for (Case& c : cases) {
    const ChannelDb before = c.db;
    const ImportResult r = importSdx(c.db, c.file, true);
    SCOPED_TRACE(testing::Message() << before.satCount << " sats, " << before.totalTp << " tps");
    EXPECT_EQ(r.added, c.message.empty());
    EXPECT_EQ(c.db.satCount, before.satCount + (r.added ? 1 : 0));
    EXPECT_LE(c.db.totalTp, MAX_TOTAL_TP);
    EXPECT_LE(c.db.totalSvc, MAX_TOTAL_SVC);
    if (r.added) continue;
    EXPECT_EQ(r.messages, std::vector<std::string>{std::string(c.message)});
    EXPECT_EQ(c.db.sats, before.sats);
    EXPECT_EQ(c.db.tpTables, before.tpTables);
    EXPECT_EQ(c.db.svcTables, before.svcTables);
  }
}

// Real listings: their PID columns are empty, so they bring the satellite's
// name and position but no channel. NUL bytes, 8-bit names, lines of 128
// and 132 characters and trailing padding must do no harm.
TEST(SdxImport, RealListingsGiveASatelliteWithoutChannels) {
  for (auto [file, name, code] :
       std::initializer_list<std::tuple<const char*, const char*, const char*>>{
           {"PredatH0r_ChanSort_silva_schneider.sdx", "Astra 1 (19.2E) ", "0192"},
           {"PredatH0r_ChanSort_telefunken105.sdx", "Astra 1 (19.2E) ", "0192"},
           {"sirfi_satcodx-editor_channel-list-sample.sdx", "Turksat (42.0E) ", "0420"}}) {
    ChannelDb db;
    EXPECT_TRUE(importSdx(db, readTestData(file), false).added) << file;
    EXPECT_EQ(db.sats[0].name, name);
    EXPECT_EQ(db.sats[0].sdxCode, code);
    EXPECT_EQ(db.svcTables[0].count() + db.tpTables[0].count(), 0) << file;
  }
}

}  // namespace
}  // namespace velmora
