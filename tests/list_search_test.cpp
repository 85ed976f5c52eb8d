// Where typing in a list looks for a row, against random lists.
#include "editor/list_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace velmora::editor {
namespace {

// The row found is one that matches, and every row passed over on the way
// (from the start on, then from the top when wrapping) is one that does not;
// nothing found means no row on that way matches.
TEST(ListSearch, FindsTheFirstMatchingRowFromTheStartRoundTheTop) {
  std::mt19937 random(23);
  for (int run = 0; run < 2000; ++run) {
    const int rows = static_cast<int>(random() % 9);
    std::vector<bool> matching(static_cast<std::size_t>(rows));
    for (std::size_t r = 0; r < matching.size(); ++r) matching[r] = random() % 4 == 0;
    const int start = static_cast<int>(random() % 13) - 2;
    const bool wrap = random() % 2 == 0;
    const int found = findRowFrom(rows, start, wrap, [&](int r) {
      EXPECT_TRUE(r >= 0 && r < rows);
      return matching[static_cast<std::size_t>(r)];
    });
    const int from = start >= 0 && start < rows ? start : 0;
    std::vector<int> way;
    for (int r = from; r < rows; ++r) way.push_back(r);
    for (int r = 0; wrap && r < from; ++r) way.push_back(r);
    bool passed = true;
    for (const int r : way) {
      if (r == found) break;
      passed = passed && !matching[static_cast<std::size_t>(r)];
    }
    EXPECT_TRUE(passed) << "a matching row was passed over";
    if (found >= 0)
      EXPECT_TRUE(matching[static_cast<std::size_t>(found)] &&
                  std::find(way.begin(), way.end(), found) != way.end());
    else
      EXPECT_TRUE(std::none_of(way.begin(), way.end(),
                               [&](int r) { return matching[static_cast<std::size_t>(r)]; }));
  }
  EXPECT_EQ(nameColumn(1), 0);
  EXPECT_EQ(nameColumn(5), 1);
}

}  // namespace
}  // namespace velmora::editor
