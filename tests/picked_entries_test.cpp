// Picks follow their entries: after any reordering of a table of distinct
// entries each picked entry is found on its new row; a lost first entry
// loses the pick.
#include "editor/picked_entries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace velmora::editor {

TEST(Picks, PickedEntriesFollowAnyReorderingAndGoWithTheirEntries) {
  std::mt19937 rng(5);
  for (int i = 0; i < 3000; ++i) {
    const int n = 1 + static_cast<int>(rng() % 12);
    std::vector<std::string> table;
    for (int r = 0; r < n; ++r) table.push_back("entry " + std::to_string(r));
    std::vector<int> picked;
    for (int r = 0; r < n; ++r)
      if (rng() % 3 == 0) picked.push_back(r);
    if (picked.empty()) continue;
    std::shuffle(picked.begin(), picked.end(), rng);
    Picks picks;
    picks.capture(2, picked, n, [&](int r) { return table[static_cast<std::size_t>(r)]; });

    std::vector<std::string> after = table;
    std::shuffle(after.begin(), after.end(), rng);
    const bool dropFirst = rng() % 4 == 0;
    if (dropFirst) after.erase(std::find(after.begin(), after.end(), table[picked[0]]));
    const int count = static_cast<int>(after.size());
    const Picks::Followed f =
        picks.follow(count, [&](int r) { return after[static_cast<std::size_t>(r)]; });

    ASSERT_EQ(f.lost, dropFirst);
    ASSERT_EQ(picks.empty(), dropFirst);
    if (dropFirst) continue;
    const std::vector<int> rows = picks.rows();
    ASSERT_EQ(rows.size(), picked.size());
    for (std::size_t k = 0; k < rows.size(); ++k)
      ASSERT_EQ(after[static_cast<std::size_t>(rows[k])], table[picked[k]]);
    ASSERT_EQ(f.moved, rows[0] != picked[0]);
  }
}

}  // namespace velmora::editor
