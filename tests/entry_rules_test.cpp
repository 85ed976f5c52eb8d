// The edit panel's entry rules, without a window: random input against the
// properties the receiver needs.
#include "editor/entry_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <tuple>

#include "db/longitude_suffix.h"
#include "texts.h"

namespace velmora::editor::rules {

TEST(EntryRules, ANewSatellitesNameFitsEndsWithItsPositionAndIsStable) {
  std::mt19937 rng(7);
  for (int i = 0; i < 5000; ++i) {
    const int tenths = static_cast<int>(rng() % 3600);
    std::string typed(rng() % 24, 'x');
    for (char& ch : typed) ch = static_cast<char>(' ' + rng() % 95);
    if (rng() % 3 == 0) typed += longitudeSuffix(tenths);
    const std::string name = newSatelliteName(typed, tenths).name;
    ASSERT_LE(name.size(), SAT_NAME_LEN) << typed;
    const std::optional<LongitudeSuffix> suffix = findLongitudeSuffix(name);
    ASSERT_TRUE(suffix && suffix->tenths == tenths) << typed;
    const NewSatelliteName again = newSatelliteName(name, tenths);
    ASSERT_EQ(again.name, name) << typed;
    ASSERT_FALSE(again.cut) << typed;
  }
  EXPECT_EQ(longitudeSuffix(192), "-19.2E");
  EXPECT_EQ(longitudeSuffix(3550), "-5W");
}

TEST(EntryRules, ANameEndingInItsOwnPositionKeepsItAndACutIsTold) {
  // typed, position, stored, cut
  const std::tuple<const char*, int, const char*, bool> cases[] = {
      {"Astra 19.2E", 192, "Astra 19.2E", false},
      {"Astra-19.2E", 192, "Astra-19.2E", false},
      {"Astra 19.2\260E", 192, "Astra 19.2\260E", false},
      {"Thor 0.8 W", 3592, "Thor 0.8 W", false},
      {"Astra 19.2E", 130, "Astra 19.2E-13E", false},
      {"Intelsat 20", 685, "Intelsat 2-68.5E", true},
      {"ABCDEFGHIJ (19.2E)", 192, "ABCDEFGHIJ-19.2E", false},
      {"ABCDEFGHIJK 19.2E", 192, "ABCDEFGHIJ-19.2E", true}};
  for (const auto& [typed, tenths, stored, cut] : cases) {
    const NewSatelliteName n = newSatelliteName(typed, tenths);
    EXPECT_EQ(std::tuple(n.name, n.cut), std::tuple(std::string(stored), cut)) << typed;
  }
}

TEST(EntryRules, PositionsAreFourDigitsBelow360Degrees) {
  for (int v = 0; v < 10000; ++v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04d", v);
    EXPECT_EQ(longitudeTenths(text), v < 3600 ? std::optional<int>(v) : std::nullopt);
  }
  for (const char* text : {"", "192", "01920", "-192", "19.2", " 192"})
    EXPECT_EQ(longitudeTenths(text), std::nullopt) << text;
}

TEST(EntryRules, AChannelIsRefusedOncePerNumberOutsideSixteenBits) {
  std::mt19937 rng(11);
  for (int i = 0; i < 2000; ++i) {
    std::string numbers[4];
    std::vector<std::string_view> expected;
    const std::string_view refusals[] = {text::INVALID_VPID, text::INVALID_APID, text::INVALID_PPID,
                                         text::INVALID_SID};
    for (int f = 0; f < 4; ++f) {
      const long long v = static_cast<long long>(rng() % 131072);
      numbers[f] = std::to_string(v) + (rng() % 2 ? "99" : "");
      if (std::stoll(numbers[f].substr(0, NUMBER_LEN)) > MAX_U16) expected.push_back(refusals[f]);
    }
    const int scrambled = static_cast<int>(rng() % 2);
    const CheckedService c =
        checkedService({"Name", numbers[0], numbers[1], numbers[2], numbers[3], scrambled});
    ASSERT_EQ(c.refusals, expected);
    ASSERT_EQ(c.service.has_value(), expected.empty());
    if (c.service) {
      ASSERT_EQ(c.service->serviceType % 2, scrambled);
    }
  }
}

}  // namespace velmora::editor::rules
