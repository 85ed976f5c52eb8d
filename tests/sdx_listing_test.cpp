#include <gtest/gtest.h>

#include "sdx/listing.h"
#include "support/db_builders.h"
#include "support/sdx_records.h"

namespace velmora {
namespace {

using namespace velmora::test;
using Strings = std::vector<std::string>;

std::optional<SvcRecord> parse(SdxChanges changes, bool skipFeedTest = true) {
  return parseSdxRecord(sdxRecord(changes), skipFeedTest);
}

TEST(SdxRecords, LongLinesSplitAndLineEndsNeverReachAField) {
  const std::string a(200, 'a'), b(128, 'b');
  EXPECT_EQ(splitSdxRecords(bytesOf(a + "\n")), (Strings{a.substr(0, 128), a.substr(128)}));
  EXPECT_EQ(splitSdxRecords(bytesOf(b + "\nz")), (Strings{b, "", "z"}));
  // CR LF is one line end, even as the 128th character; a lone CR stays.
  EXPECT_EQ(splitSdxRecords(bytesOf(b.substr(1) + "\r\nx\ry\r\n")), (Strings{b.substr(1), "x\ry"}));
  EXPECT_EQ(splitSdxRecords(bytesOf(std::string("ab\0cd\nef", 8))), (Strings{"ab", "ef"}));
  EXPECT_TRUE(splitSdxRecords({}).empty());
}

TEST(SdxRecords, ShortRecordsAreReadOnlyAsFarAsTheyGo) {
  EXPECT_EQ(readSdxSatHeader("SATCODX103Astra").name, "Astra");
  EXPECT_EQ(readSdxSatHeader("SATCODX103Astra").sdxCode, "");
  const std::string full = sdxRecord();
  for (std::size_t len : {0, 30, 42}) EXPECT_FALSE(parseSdxRecord(full.substr(0, len), true));
  // Cut after the polarisation: every later column is empty, reads as 0,
  // and an empty CA column means scrambled.
  const auto cut = parseSdxRecord(full.substr(0, 43), true);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->tpKey, "11034V0N0T0");
  EXPECT_EQ(cut->serviceType, 9);
}

TEST(SdxRecords, SkippedRecords) {
  for (SdxChanges c : std::initializer_list<SdxChanges>{{{FORMAT, "MPG4"}},
                                                        {{FORMAT, "mpg2"}},
                                                        {{FREQ, "_____"}},
                                                        {{RATE, "_____"}},
                                                        {{POL, "L"}},
                                                        {{POL, "R"}},
                                                        {{AUDIO, "____"}},
                                                        {{VIDEO, "____"}, {PCR, "____"}}}) {
    EXPECT_FALSE(parse(c)) << c.begin()->first << " " << c.begin()->second;
  }
}

TEST(SdxRecords, FieldsPolarisationPidsAndServiceType) {
  const auto tv = parse({{SID, "_____"}});
  EXPECT_EQ(tv->videoPid + "/" + tv->audioPid + "/" + tv->pcrPid + "/" + tv->serviceId,
            "160/80/161/0");
  EXPECT_EQ(tv->tpKey, "11034V27500N318T200");
  EXPECT_EQ(tv->name, "CNN INTL          ");  // 18 characters, blanks kept
  for (auto [code, pol] : std::initializer_list<std::pair<const char*, char>>{
           {"0", 'V'}, {"3", 'V'}, {"V", 'V'}, {"1", 'H'}, {"2", 'H'}, {"H", 'H'}}) {
    EXPECT_EQ(parse({{POL, code}})->tpKey[5], pol) << code;
  }
  const auto radio = parse({{VIDEO, "____"}, {AUDIO, "0101"}, {PCR, "0100"}});
  EXPECT_EQ(radio->videoPid + "/" + radio->audioPid + "/" + radio->pcrPid, "0/101/100");
  EXPECT_EQ(parse({{VIDEO, "0200"}, {PCR, "____"}})->pcrPid, "200");

  struct Case {
    SdxChanges changes;
    int type;
  };
  for (const Case& c : std::initializer_list<Case>{{{{CA, "Frei"}}, 4},
                                                   {{{CA, "Irde"}}, 5},
                                                   {{{CA, "frei"}}, 5},
                                                   {{{VIDEO, "____"}}, 8},
                                                   {{{VIDEO, "____"}, {CA, "LCKD"}}, 9},
                                                   {{{VIDEO, "0000"}}, 8},
                                                   {{{VIDEO, "0000"}, {CA, "Irde"}}, 9}}) {
    EXPECT_EQ(parse(c.changes)->serviceType, c.type) << c.changes.begin()->second;
  }
}

TEST(SdxRecords, ChannelNameAndFeedTestRule) {
  EXPECT_EQ(parse({{NAME1, "BBC_Worl"}, {NAME2, "d News"}})->name, "BBC");
  EXPECT_EQ(parse({{NAME1, "ABCDEFGH"}, {NAME2, "IJKLMNOPTEST"}})->name, "ABCDEFGHIJKLMNOPTE");
  EXPECT_TRUE(parse({{NAME1, "feeD TeS"}, {NAME2, "t"}}));
  for (SdxChanges c : std::initializer_list<SdxChanges>{{{NAME1, "SKY FEED"}},
                                                        {{NAME1, "TEST CAR"}, {NAME2, "D SPORTS"}},
                                                        {{NAME1, "Sport 1 "}, {NAME2, "Feed"}},
                                                        {{NAME1, "a_test"}}}) {
    EXPECT_FALSE(parse(c, true)) << c.begin()->second;
    EXPECT_TRUE(parse(c, false)) << c.begin()->second;
  }
}

TEST(SdxFile, HeaderFromFirstLineAndChannelsInFileOrderUpToCapacity) {
  std::string file = sdxRecord({{SAT, "Astra 19.2E"}, {FORMAT, "MPG4"}, {CODE, "0192"}}) + "\n";
  file += sdxRecord() + "\r\n" + sdxRecord({{POL, "H"}});
  SvcTable table;
  const SdxSatHeader h = readSdxFile(bytesOf(file), table, true);
  EXPECT_EQ(h.name, "Astra 19.2E     ");
  EXPECT_EQ(h.sdxCode, "0192");
  ASSERT_EQ(table.count(), 2);
  EXPECT_EQ(table[1].tpKey, "11034H27500N318T200");

  for (int i = 0; i < TABLE_ROWS; ++i) file += "\n" + sdxRecord();
  SvcTable full;
  readSdxFile(bytesOf(file), full, true);
  EXPECT_EQ(full.count(), TABLE_ROWS);
}

TEST(SdxTransponders, OnePerFrequencyPolarisationAndRateInOrderOfFirstUse) {
  SvcTable svcs;
  for (const char* key : {"11034V27500N318T200", "12000H27500N1T2", "11034V27500N1T1",
                          "11034H27500N5T5", "12000H27500N9T9"}) {
    svcs.append(makeSvc("x", key));
  }
  TpTable tps;
  deriveTransponders(svcs, tps);
  ASSERT_EQ(tps.count(), 3);
  EXPECT_EQ(tps[0], makeTp("11034", "V", "27500", "318", "200"));
  EXPECT_EQ(tps[1], makeTp("12000", "H", "27500", "1", "2"));
  EXPECT_EQ(tps[2], makeTp("11034", "H", "27500", "5", "5"));
}

}  // namespace
}  // namespace velmora
