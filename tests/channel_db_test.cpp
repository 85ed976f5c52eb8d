#include "db/channel_db.h"

#include <gtest/gtest.h>

#include "support/db_builders.h"

namespace velmora {
using namespace velmora::test;

TEST(ChannelDb, FreshAndResetDatabasesAreEmpty) {
  ChannelDb db = makeDb(3, 2, 4);
  db.reset();
  EXPECT_EQ(db.satCount, 0);
  EXPECT_EQ(db, ChannelDb{});
  for (int i = 0; i < MAX_SATS; ++i) {
    EXPECT_EQ(db.tpTables[i].count(), 0);
    EXPECT_EQ(db.svcTables[i].count(), 0);
  }
}

TEST(ChannelDb, SlotsAndTablesStopAtTheirCapacity) {
  ChannelDb db;
  for (int i = 0; i < MAX_SATS; ++i) ASSERT_TRUE(db.appendSatellite(makeSat("S")));
  EXPECT_FALSE(db.appendSatellite(makeSat("one too many")));
  EXPECT_EQ(db.satCount, MAX_SATS);

  TpTable table;
  for (int i = 0; i < TABLE_ROWS; ++i) ASSERT_TRUE(table.append(makeTp("11000", "H", "27500")));
  EXPECT_FALSE(table.append(makeTp("12000", "V", "27500")));
  EXPECT_EQ(table.count(), TABLE_ROWS);
}

TEST(ChannelDb, RemovingASatelliteMovesLaterSlotsUpWithTheirTables) {
  ChannelDb db = makeDb(3, 2, 2);
  db.tpTables[2].append(makeTp("12000", "V", "30000"));
  db.removeSatellite(1);
  ASSERT_EQ(db.satCount, 2);
  EXPECT_EQ(db.sats[1].name, "Sat 3");
  EXPECT_EQ(db.tpTables[1].count(), 3);
  EXPECT_EQ(db.tpTables[2].count(), 0);
  db.recountTotals();
  EXPECT_EQ(db.totalTp, 5);
  EXPECT_EQ(db.totalSvc, 4);
}

TEST(ChannelDb, TransponderKeysInBothFormsAndSplitBack) {
  const TpRecord tp = makeTp("12750", "H", "27500", "1", "2");
  EXPECT_EQ(tpKeyShort(tp), "12750H27500");
  EXPECT_EQ(tpKeyLong(tp), "12750H27500N1T2");
  EXPECT_EQ(tpKeyShortPart("12750H27500N1T2"), "12750H27500");
  EXPECT_EQ(tpKeyShortPart("12750H27500"), "12750H27500");

  const TpRecord back = splitTpKey("11034V27500N318T200");
  EXPECT_EQ(back.frequency, "11034");
  EXPECT_EQ(back.polarization, "V");
  EXPECT_EQ(back.symbolRate, "27500");
  EXPECT_EQ(back.nid, "318");
  EXPECT_EQ(back.tid, "200");
  // Malformed keys give short fields, never a fault.
  for (const char* key : {"", "N", "T", "H", "12345", "TN", "1H2T3N4", "VVVV"}) {
    (void)splitTpKey(key);
  }
  EXPECT_EQ(splitTpKey("12750H27500").symbolRate, "27500");
}

}  // namespace velmora
