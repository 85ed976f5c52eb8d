#include <gtest/gtest.h>

#include "wdb/sat_code.h"
#include "wdb/wdb_format.h"

namespace velmora::wdb {

using Bytes = std::array<std::uint8_t, 4>;

TEST(PackedDecimal, PacksFourAndFiveDigitValues) {
  EXPECT_EQ(packDecimal("9750"), (Bytes{0x00, 0x97, 0x50, 0x00}));
  EXPECT_EQ(packDecimal("10600"), (Bytes{0x01, 0x06, 0x00, 0x00}));
  EXPECT_EQ(packDecimal("27500"), (Bytes{0x02, 0x75, 0x00, 0x00}));
  EXPECT_EQ(packDecimal("1000"), (Bytes{0x00, 0x10, 0x00, 0x00}));
  EXPECT_EQ(packDecimal("99999"), (Bytes{0x09, 0x99, 0x99, 0x00}));
}

TEST(PackedDecimal, OutOfRangeAndNonNumericTextPackAsZero) {
  for (const char* text : {"999", "100000", "abc", "", "-9750"})
    EXPECT_EQ(packDecimal(text), (Bytes{0, 0, 0, 0})) << text;
}

TEST(PackedDecimal, PacksTheValueNotTheRawCharacters) {
  EXPECT_EQ(packDecimal(" 9750"), packDecimal("9750"));
  EXPECT_EQ(packDecimal("09750"), packDecimal("9750"));
  EXPECT_EQ(packDecimal("11034.5"), packDecimal("11034"));
}

TEST(PackedDecimal, ReadsBackAsTheReceiverDoes) {
  EXPECT_EQ(unpackDecimal(Bytes{0x01, 0x06, 0x00, 0x00}), "10600");
  EXPECT_EQ(unpackDecimal(Bytes{0x00, 0x97, 0x50, 0x99}), "9750");  // hundredths ignored
  EXPECT_EQ(unpackByte(0x47), 47);
  EXPECT_EQ(unpackByte(0xA5), 0);
  EXPECT_EQ(unpackByte(0x5A), 5);
  EXPECT_EQ(unpackDecimal(Bytes{0x01, 0xA5, 0x00, 0x00}), "10000");
  for (int v = 1000; v <= 99999; v += 7) {
    const std::string text = std::to_string(v);
    ASSERT_EQ(unpackDecimal(packDecimal(text)), text);
  }
}

TEST(SatelliteCode, BuiltInNamesThenARunningCounter) {
  int counter = 26;
  EXPECT_EQ(satelliteCode("Hotbird 13E", counter), 1);
  EXPECT_EQ(satelliteCode("Hotbird-13E", counter), 1);
  EXPECT_EQ(satelliteCode("Astra 1KR", counter), 2);
  EXPECT_EQ(satelliteCode("Astra 1 / Astra 2", counter), 2);
  EXPECT_EQ(satelliteCode("Thor 5", counter), 26);
  EXPECT_EQ(counter, 26);
  EXPECT_EQ(satelliteCode("hotbird", counter), 27);  // case matters
  EXPECT_EQ(satelliteCode("Nilesat 101", counter), 28);
  counter = 26 + 255;
  EXPECT_EQ(satelliteCode("Far away", counter), 26);  // low byte of 282
}

}  // namespace velmora::wdb
