#include "db/text_number.h"

#include <gtest/gtest.h>

namespace velmora {

TEST(TextNumber, LeadingDigitsAfterBlanksAndSign) {
  EXPECT_EQ(leadingValue("9750"), 9750);
  EXPECT_EQ(leadingValue("  42abc"), 42);
  EXPECT_EQ(leadingValue("-12"), -12);
  EXPECT_EQ(leadingValue("+7"), 7);
  EXPECT_EQ(leadingValue("01234"), 1234);
  EXPECT_EQ(leadingValue("_____"), 0);
  EXPECT_EQ(leadingValue(""), 0);
  EXPECT_EQ(leadingValue("12.5"), 12);
  EXPECT_EQ(normalisedNumber("01234"), "1234");
  EXPECT_EQ(normalisedNumber("_____"), "0");
}

TEST(TextNumber, HugeDigitRunsDoNotOverflow) {
  EXPECT_GT(leadingValue("99999999999999999999999999999999"), 0);
  EXPECT_LT(leadingValue("-99999999999999999999999999999999"), 0);
}

TEST(TextNumber, SixteenBitFieldsKeepTheLowBits) {
  EXPECT_EQ(leadingU16("65535"), 65535);
  EXPECT_EQ(leadingU16("65536"), 0);
  EXPECT_EQ(leadingU16("70000"), 70000 - 65536);
  EXPECT_EQ(leadingU16("-1"), 65535);
}

TEST(TextNumber, LnbTypeFromTheTwoOscillators) {
  EXPECT_EQ(lnbTypeFor("0", "0"), "Universal");
  EXPECT_EQ(lnbTypeFor("", ""), "Universal");
  EXPECT_EQ(lnbTypeFor("5150", "0"), "Single");
  EXPECT_EQ(lnbTypeFor("5150", "5750"), "OCS");
  EXPECT_EQ(lnbTypeFor("10600", "9750"), "Universal");
  EXPECT_EQ(lnbTypeFor("9750", "10600"), "Universal");
  EXPECT_EQ(lnbTypeFor("11300", ""), "Single");
  EXPECT_EQ(lnbTypeFor("6000", "1"), "OCS");
  EXPECT_EQ(lnbTypeFor("6001", "1"), "Universal");
}

}  // namespace velmora
