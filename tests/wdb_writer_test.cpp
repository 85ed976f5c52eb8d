#include <gtest/gtest.h>

#include <cstring>

#include "support/db_builders.h"
#include "texts.h"
#include "wdb/wdb_format.h"

namespace velmora::wdb {
using namespace velmora::test;

namespace {

// One satellite at 30.0 W with one transponder and one TV service.
ChannelDb oneChannelDb() {
  ChannelDb db;
  SatRecord sat = makeSat("Hotbird-13E", "3300");
  sat.diseqc = "D1.1";
  sat.tone22k = "Auto";
  sat.switch12v = "Off";
  sat.lnbPower = "On";
  sat.diseqcCommitted = "2";
  sat.diseqcUncommitted = "5";
  db.appendSatellite(sat);
  db.tpTables[0].append(makeTp("12750", "H", "27500", "1", "2"));
  db.svcTables[0].append(makeSvc("News 1", "12750H27500N1T2", "160", "80", "160", "1001", 4));
  db.recountTotals();
  return db;
}

std::vector<std::uint8_t> hex(std::initializer_list<int> values) {
  return std::vector<std::uint8_t>(values.begin(), values.end());
}

std::vector<std::uint8_t> slice(const std::vector<std::byte>& b, std::size_t at, std::size_t n) {
  std::vector<std::uint8_t> out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(b.at(at + i));
  return out;
}

std::vector<std::uint8_t> nameField(const char* name) {
  std::vector<std::uint8_t> out(17, 0);
  out[0] = static_cast<std::uint8_t>(std::strlen(name));
  std::memcpy(out.data() + 1, name, std::strlen(name));
  return out;
}

std::vector<std::uint8_t> cat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

WriteResult write(ChannelDb& db, Layout layout, const FavouriteList& fav = {}) {
  int counter = 0;
  return writeWdb(db, layout, fav, counter);
}

}  // namespace

TEST(WdbWriter, TypeOneRecordsMatchTheReceiverLayoutByteForByte) {
  ChannelDb db = oneChannelDb();
  const FavouriteList fav{{"Hotbird", "NEW"}};
  const WriteResult r = write(db, Layout::TypeI, fav);
  ASSERT_TRUE(r.ok()) << r.failure.message;
  const auto& b = r.bytes;
  ASSERT_EQ(b.size(), 262144u);
  EXPECT_EQ(slice(b, 0, 10), hex({0x40, 0, 1, 0, 1, 0, 0x41, 0x41, 0x41, 0x41}));
  // West flag (64) + D1.1 (16) + tone (4) + LNB power (1); ports 2 + 8 x 5;
  // 30.0 W stored as 300.
  EXPECT_EQ(
      slice(b, 10, 32),
      cat(cat(hex({1}), nameField("Hotbird-13E")),
          hex({0x00, 0x97, 0x50, 0x00, 0x01, 0x06, 0x00, 0x00, 1, 0x55, 0x2A, 0, 0x03, 0x00})));
  // Placeholder slot 2, "NEW 1", favourite line 2.
  EXPECT_EQ(slice(b, 42, 32),
            cat(cat(hex({2}), nameField("NEW 1")),
                hex({0x01, 0x06, 0, 0, 0x00, 0x97, 0x50, 0, 2, 0x01, 0, 0, 0, 0})));
  EXPECT_EQ(slice(b, 10 + 63 * 32, 1), hex({64}));
  EXPECT_EQ(slice(b, 2058, 8), hex({5, 5, 5, 5, 0x41, 0x41, 0x41, 0x41}));
  EXPECT_EQ(slice(b, 2066, 12), hex({1, 0, 0x01, 0x27, 0x50, 0, 0x02, 0x75, 0, 0, 0, 0}));
  EXPECT_EQ(slice(b, 2078, 8), hex({5, 5, 5, 5, 0x41, 0x41, 0x41, 0x41}));
  EXPECT_EQ(
      slice(b, 2086, 32),
      cat(cat(hex({0xE9, 0x03, 1, 0, 0xFF, 0xFF, 0xA0, 0, 0x50, 0, 0xA0, 0}), nameField("News 1")),
          hex({4, 0, 0})));
  EXPECT_EQ(slice(b, 2118, 4), hex({5, 5, 5, 5}));
  EXPECT_EQ(slice(b, 2122, 8), hex({0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(WdbWriter, TypeTwoRecordsMatchTheOlderLayoutByteForByte) {
  ChannelDb db = oneChannelDb();
  const WriteResult r = write(db, Layout::TypeII);
  ASSERT_TRUE(r.ok()) << r.failure.message;
  const auto& b = r.bytes;
  ASSERT_EQ(b.size(), 131072u);
  // No west flag, no ports, no longitude in the older layout.
  EXPECT_EQ(slice(b, 10, 28), cat(cat(hex({1}), nameField("Hotbird-13E")),
                                  hex({0x00, 0x97, 0x50, 0x00, 0x01, 0x06, 0x00, 0x00, 1, 0x15})));
  EXPECT_EQ(slice(b, 38, 28), cat(cat(hex({2}), nameField("NEW 1")),
                                  hex({0x01, 0x06, 0, 0, 0x00, 0x97, 0x50, 0, 0, 0x01})));
  EXPECT_EQ(slice(b, 1802, 8), hex({5, 5, 5, 5, 0x41, 0x41, 0x41, 0x41}));
  EXPECT_EQ(slice(b, 1810, 12), hex({1, 0, 0x01, 0x27, 0x50, 0, 0x02, 0x75, 0, 0, 0, 0}));
  EXPECT_EQ(slice(b, 1830, 36), cat(cat(hex({0xE9, 0x03, 4, 0, 1, 0}), nameField("News 1")),
                                    hex({0, 0, 0, 0xFF, 0xFF, 0xA0, 0, 0x50, 0, 0xA0, 0, 0, 0})));
  EXPECT_EQ(slice(b, 1866, 10), hex({5, 5, 5, 5, 0, 0, 0, 0, 0, 0}));
}

TEST(WdbWriter, LongitudeEastAndWestAndLongNames) {
  ChannelDb db;
  db.appendSatellite(makeSat("Eighteen-hundred", "1800"));
  db.appendSatellite(makeSat("A name of twenty ch", "0192"));
  const WriteResult r = write(db, Layout::TypeI);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(slice(r.bytes, 10 + 27, 1)[0] & 0x40, 0);
  EXPECT_EQ(slice(r.bytes, 10 + 30, 2), hex({0x18, 0x00}));
  EXPECT_EQ(slice(r.bytes, 42 + 30, 2), hex({0x01, 0x92}));
  // Cut to 16 bytes with no terminating zero, in the file and the database.
  EXPECT_EQ(slice(r.bytes, 43, 1), hex({16}));
  EXPECT_EQ(slice(r.bytes, 44 + 15, 2), hex({'y', 0x00}));
  EXPECT_EQ(db.sats[1].name, "A name of twenty");
}

TEST(WdbWriter, NumbersTranspondersAcrossSatellitesAndLinksServices) {
  ChannelDb db;
  db.appendSatellite(makeSat("First"));
  db.appendSatellite(makeSat("Second"));
  for (const char* f : {"10700", "10800", "10900"}) db.tpTables[0].append(makeTp(f, "H", "27500"));
  db.tpTables[1].append(makeTp("11000", "V", "22000"));
  db.tpTables[1].append(makeTp("11100", "V", "22000"));
  db.svcTables[0].append(makeSvc("A", "10900H27500N5T6"));
  db.svcTables[1].append(makeSvc("B", "11100V22000"));  // short form links too
  db.svcTables[1].append(makeSvc("C", "99999V22000"));  // no transponder: keeps its number
  db.svcTables[1][1].tpSeqNo = "7";
  const WriteResult r = write(db, Layout::TypeI);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(db.tpTables[0][2].seqNo, "3");
  EXPECT_EQ(db.tpTables[1][0].seqNo, "4");
  EXPECT_EQ(db.svcTables[0][0].tpSeqNo, "3");
  EXPECT_EQ(db.svcTables[1][0].tpSeqNo, "5");
  EXPECT_EQ(db.svcTables[1][1].tpSeqNo, "7");
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(slice(r.bytes, 2066 + 12 * i, 1)[0], i < 3 ? 1 : 2) << "transponder " << i;
  EXPECT_EQ(slice(r.bytes, 2066 + 60 + 8 + 2, 2), hex({3, 0}));
}

TEST(WdbWriter, EqualTranspondersLinkToTheLastOne) {
  ChannelDb db;
  db.appendSatellite(makeSat("Twin"));
  db.tpTables[0].append(makeTp("12000", "H", "27500", "1", "1"));
  db.tpTables[0].append(makeTp("12000", "H", "27500", "2", "2"));
  db.svcTables[0].append(makeSvc("X", "12000H27500N1T1"));
  db.svcTables[0].append(makeSvc("Y", "12000H27500N2T2"));
  ASSERT_TRUE(write(db, Layout::TypeI).ok());
  EXPECT_EQ(db.svcTables[0][0].tpSeqNo, "2");
  EXPECT_EQ(db.svcTables[0][1].tpSeqNo, "2");
}

TEST(WdbWriter, RefusesWhatTheReceiverCouldNotLoadAndChangesNothing) {
  ChannelDb empty;
  EXPECT_EQ(write(empty, Layout::TypeI).failure.message, text::NO_DATA);

  ChannelDb full = fullDb(6001);
  const WriteResult over = write(full, Layout::TypeI);
  EXPECT_TRUE(over.bytes.empty());
  EXPECT_NE(over.failure.message.find("Current Number    : 6001"), std::string::npos);
  EXPECT_EQ(full.tpTables[0][0].seqNo, "");

  ChannelDb exact = fullDb(6000);
  const WriteResult ok = write(exact, Layout::TypeI);
  EXPECT_TRUE(ok.ok());
  EXPECT_EQ(ok.bytes.size(), 262144u);

  // 1600 transponders leave room for 3056 services in a 131072-byte file
  // with its six padding zeros.
  ChannelDb fits = fullDb(3056);
  EXPECT_TRUE(write(fits, Layout::TypeII).ok());
  ChannelDb tooBig = fullDb(3057);
  EXPECT_EQ(write(tooBig, Layout::TypeII).failure.message, text::TYPE2_OVERFLOW);
}

TEST(WdbWriter, EachLayoutRefusesANameItsReceiverWouldLose) {
  // The older receiver sees at most 15 characters, up to a zero byte; the
  // newer one 16, and drops a NEW satellite only without transponders.
  const struct {
    std::string name;
    bool refused, refusedI;
  } cases[] = {
      {"NEWS 24", true, true},
      {"Hotbird NEW", true, true},
      {"ABCDEFGHIJKLNEW", true, true},
      {"ABCDEFGHIJKLMNEW", false, true},
      {"ABCDEFGHIJKLMNOPNEW", false, false},
      {std::string("AB\0NEW", 6), false, false},
      {"New Sat", false, false},
  };
  for (const auto& c : cases) {
    ChannelDb db;
    db.appendSatellite(makeSat("Astra"));
    db.appendSatellite(makeSat(c.name));
    db.appendSatellite(makeSat("NEW again"));
    db.tpTables[2].append(makeTp("11778", "V", "27500"));
    const WriteResult r = write(db, Layout::TypeII);
    const std::string first = c.refused ? c.name : "NEW again";
    EXPECT_EQ(r.failure.message,
              "The satellite name \"" + first +
                  "\" contains NEW.\n\nA Type II receiver stops reading satellites at "
                  "such a name.\nRename the satellite to save a Type II file.")
        << c.name;
    EXPECT_TRUE(r.bytes.empty());
    EXPECT_EQ(write(db, Layout::TypeI).failure.message,
              c.refusedI ? "The satellite name \"" + c.name +
                               "\" contains NEW and has no transponders.\n\nThe receiver takes "
                               "such a satellite for an unused slot and drops it.\nRename the "
                               "satellite or add a transponder to save it."
                         : "")
        << c.name;
    db.tpTables[1].append(makeTp("12750", "H", "27500"));
    EXPECT_TRUE(write(db, Layout::TypeI).ok()) << c.name;
  }
}

TEST(WdbWriter, SatelliteCodesRestartForEveryFile) {
  ChannelDb db;
  db.appendSatellite(makeSat("Nilesat 101"));
  db.appendSatellite(makeSat("Hotbird"));
  int counter = 99;
  const FavouriteList fav;
  const auto first = writeWdb(db, Layout::TypeI, fav, counter);
  const auto second = writeWdb(db, Layout::TypeI, fav, counter);
  EXPECT_EQ(slice(first.bytes, 10 + 26, 1), hex({27}));
  EXPECT_EQ(slice(first.bytes, 42 + 26, 1), hex({1}));
  EXPECT_EQ(first.bytes, second.bytes);
  EXPECT_EQ(counter, 27);

  ChannelDb many;
  for (int i = 0; i < 64; ++i) many.appendSatellite(makeSat("Unknown " + std::to_string(i)));
  const auto all = writeWdb(many, Layout::TypeI, fav, counter);
  EXPECT_EQ(slice(all.bytes, 10 + 63 * 32 + 26, 1), hex({90}));
}

}  // namespace velmora::wdb
