#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "support/db_builders.h"
#include "texts.h"
#include "wdb/wdb_format.h"

namespace velmora::wdb {
using namespace velmora::test;

namespace {

std::vector<std::byte> image(ChannelDb db, Layout layout) {
  int counter = 0;
  WriteResult r = writeWdb(db, layout, FavouriteList{}, counter);
  EXPECT_TRUE(r.ok()) << r.failure.message;
  return r.bytes;
}

void put16(std::vector<std::byte>& b, std::size_t at, unsigned v) {
  b[at] = static_cast<std::byte>(v & 0xFF);
  b[at + 1] = static_cast<std::byte>(v >> 8);
}

ChannelDb sample() {
  ChannelDb db;
  SatRecord west = makeSat("Telstar 30W", "3300");
  west.diseqc = "D1.0";
  west.diseqcCommitted = "4";
  west.diseqcUncommitted = "16";
  west.switch12v = "On";
  db.appendSatellite(west);
  db.appendSatellite(makeSat("Single LNB", "0192"));
  db.sats[1].lnbFreq1 = "11300";
  db.sats[1].lnbFreq2 = "0";
  db.sats[1].tone22k = "On";
  db.tpTables[0].append(makeTp("11034", "V", "27500", "318", "200"));
  db.tpTables[1].append(makeTp("12750", "H", "30000"));
  db.tpTables[1].append(makeTp("10714", "H", "22000"));
  db.svcTables[0].append(makeSvc("Radio One", "11034V27500N318T200", "0", "101", "100", "7", 9));
  db.svcTables[1].append(makeSvc("", "10714H22000N0T0", "160", "80", "160", "1001", 4));
  return db;
}

}  // namespace

TEST(WdbReader, TypeOneRoundTripKeepsWhatTheFileStores) {
  const ReadResult r = readWdb(image(sample(), Layout::TypeI));
  ASSERT_TRUE(r.ok()) << r.failure.message;
  EXPECT_EQ(r.layout, Layout::TypeI);
  ASSERT_EQ(r.db.satCount, 2);
  EXPECT_EQ(r.db.totalTp, 3);
  EXPECT_EQ(r.db.totalSvc, 2);
  const SatRecord& west = r.db.sats[0];
  EXPECT_EQ(west.name, "Telstar 30W");
  EXPECT_EQ(west.sdxCode, "3300");
  EXPECT_EQ(west.diseqc, "D1.0");
  EXPECT_EQ(west.diseqcCommitted, "4");
  EXPECT_EQ(west.diseqcUncommitted, "16");
  EXPECT_EQ(west.switch12v, "On");
  EXPECT_EQ(west.lnbType, "Universal");
  EXPECT_EQ(west.tone22k, "Auto");
  EXPECT_EQ(r.db.sats[1].lnbType, "Single");
  EXPECT_EQ(r.db.sats[1].tone22k, "On");
  EXPECT_EQ(r.db.sats[1].sdxCode, "0192");

  const TpRecord& tp = r.db.tpTables[1][1];
  EXPECT_EQ(tp.frequency, "10714");
  EXPECT_EQ(tp.seqNo, "3");
  EXPECT_EQ(tp.nid, "0");  // not stored in the file
  const SvcRecord& radio = r.db.svcTables[0][0];
  EXPECT_EQ(radio.name, "Radio One");
  EXPECT_EQ(radio.serviceType, 9);
  EXPECT_EQ(radio.audioPid, "101");
  EXPECT_EQ(radio.tpKey, "11034V27500N0T0");
  EXPECT_EQ(radio.tpSeqNo, "");
  EXPECT_EQ(r.db.svcTables[1][0].tpKey, "10714H22000N0T0");
  EXPECT_EQ(r.db.svcTables[1][0].name, "");
}

TEST(WdbReader, TypeTwoRoundTripHasNoLongitudeAndFifteenCharacterNames) {
  ChannelDb db = sample();
  db.sats[1].name = "Sixteen chars ok";
  const ReadResult r = readWdb(image(db, Layout::TypeII));
  ASSERT_TRUE(r.ok()) << r.failure.message;
  EXPECT_EQ(r.layout, Layout::TypeII);
  ASSERT_EQ(r.db.satCount, 2);
  EXPECT_EQ(r.db.sats[0].sdxCode, "0000");
  EXPECT_EQ(r.db.sats[0].diseqcCommitted, "0");
  EXPECT_EQ(r.db.sats[1].name, "Sixteen chars o");
  EXPECT_EQ(r.db.svcTables[0][0].serviceType, 9);
  EXPECT_EQ(r.db.svcTables[1][0].tpKey, "10714H22000N0T0");
}

TEST(WdbReader, SavedLoadedSavedAgainIsByteIdentical) {
  for (Layout layout : {Layout::TypeI, Layout::TypeII}) {
    const auto first = image(sample(), layout);
    const ReadResult r = readWdb(first);
    ASSERT_TRUE(r.ok());
    const auto second = image(r.db, layout);
    const auto third = image(readWdb(second).db, layout);
    EXPECT_EQ(second, third);
  }
}

TEST(WdbReader, SixtyFourServicesInTypeTwoAreNotMistakenForTypeOne) {
  // With 64 services the final markers of both layouts share one offset.
  ChannelDb db = makeDb(1, 4, 64);
  const ReadResult r = readWdb(image(db, Layout::TypeII));
  ASSERT_TRUE(r.ok()) << r.failure.message;
  EXPECT_EQ(r.layout, Layout::TypeII);
  EXPECT_EQ(r.db.totalSvc, 64);
  EXPECT_EQ(r.db.sats[0].name, "Sat 1");
}

TEST(WdbReader, PlaceholdersAreDroppedUnlessTheyHoldTransponders) {
  ChannelDb db;
  db.appendSatellite(makeSat("MEWSAT"));
  db.appendSatellite(makeSat("Real"));
  db.appendSatellite(makeSat("NEWSAT 2"));
  db.tpTables[2].append(makeTp("11000", "H", "27500"));
  // The writer refuses a "NEW" name without transponders: it is put in
  // afterwards.
  auto typeI = image(db, Layout::TypeI);
  typeI[SAT_AREA + 2] = std::byte{'N'};
  const ReadResult r = readWdb(typeI);
  ASSERT_EQ(r.db.satCount, 2);
  EXPECT_EQ(r.db.sats[0].name, "Real");
  EXPECT_EQ(r.db.sats[1].name, "NEWSAT 2");
  EXPECT_EQ(r.db.tpTables[1].count(), 1);

  // The older layout stops at the first "NEW" name altogether. Our writer
  // refuses to write such a name in it, so the name is put in afterwards.
  db.sats[2].name = "MEWSAT 2";
  auto typeII = image(db, Layout::TypeII);
  typeII[SAT_AREA + 2] = std::byte{'N'};
  const ReadResult old = readWdb(typeII);
  EXPECT_EQ(old.db.satCount, 0);
  EXPECT_EQ(old.db.totalTp, 0);
}

TEST(WdbReader, HeaderLimitsAreCheckedInOrder) {
  auto b = image(sample(), Layout::TypeI);
  put16(b, 0, 65);
  put16(b, 2, 1601);
  // The window clears its database over the limits and keeps it for a file
  // that is no database: it tells them apart by the kind.
  const auto refusal = [&] {
    const ReadResult r = readWdb(b);
    return std::pair(r.failure.kind, r.failure.message);
  };
  EXPECT_EQ(refusal(), std::pair(FailureKind::OverLimits, std::string(text::MAX_SATS)));
  put16(b, 0, 64);
  EXPECT_EQ(refusal(), std::pair(FailureKind::OverLimits, std::string(text::MAX_TP)));
  put16(b, 2, 3);
  put16(b, 4, 6001);
  EXPECT_EQ(refusal(), std::pair(FailureKind::OverLimits, std::string(text::MAX_SVC)));
  put16(b, 4, 1);  // one service fewer than written: final marker misplaced
  EXPECT_EQ(refusal(), std::pair(FailureKind::NotAFormat, std::string(text::NOT_A_FORMAT)));
}

TEST(WdbReader, RecordsNamingMissingSatellitesOrTranspondersAreSkipped) {
  auto b = image(sample(), Layout::TypeI);
  const std::size_t tp0 = 2066, svc0 = 2066 + 36 + 8;
  b[tp0] = std::byte{200};     // there is no slot 200
  put16(b, svc0 + 32 + 2, 0);  // second service names transponder 0
  const ReadResult r = readWdb(b);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.db.tpTables[0].count(), 0);
  EXPECT_EQ(r.db.tpTables[1][0].seqNo, "2");  // positions do not shift
  EXPECT_EQ(r.db.totalSvc, 0);                // first service lost its transponder
}

TEST(WdbReader, TruncatedFilesAreRefusedAtEveryLength) {
  const auto full = image(sample(), Layout::TypeI);
  const std::size_t content = 2066 + 36 + 8 + 64 + 4;
  for (std::size_t n = 0; n < content + 6; ++n) {
    const ReadResult r = readWdb(std::span(full).first(n));
    ASSERT_FALSE(r.ok()) << n;
    ASSERT_EQ(r.db.satCount, 0);
  }
  EXPECT_TRUE(readWdb(std::span(full).first(content + 6)).ok());
  EXPECT_EQ(readWdb(std::vector<std::byte>{}).failure.message, text::NOT_A_FORMAT);
}

TEST(WdbReader, RandomDamageNeverBreaksTheReader) {
  std::mt19937 rng(20261207);
  const auto clean = image(makeDb(3, 5, 12), Layout::TypeI);
  const std::size_t content = 2074 + 12 * 15 + 32 * 36 + 10;
  for (int round = 0; round < 3000; ++round) {
    auto b = std::vector<std::byte>(clean.begin(), clean.begin() + content);
    for (int k = 0; k < 1 + round % 8; ++k)
      b[rng() % b.size()] = static_cast<std::byte>(rng() & 0xFF);
    const ReadResult r = readWdb(b);
    if (!r.ok()) continue;
    ASSERT_LE(r.db.satCount, MAX_SATS);
    ASSERT_LE(r.db.totalTp, MAX_TOTAL_TP);
  }
}

}  // namespace velmora::wdb
