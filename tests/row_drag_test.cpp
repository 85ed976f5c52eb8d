// Where a dropped row goes: the position RowDrag works out puts the row
// just before the row the pointer showed, for every row and drop point.
#include "editor/row_drag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace velmora::editor {

TEST(RowDrag, ADroppedRowLandsJustBeforeTheRowUnderThePointer) {
  for (int n = 1; n <= 7; ++n) {
    std::vector<int> rows(static_cast<std::size_t>(n));
    std::iota(rows.begin(), rows.end(), 0);
    for (int dragged = 0; dragged < n; ++dragged) {
      for (int before = 0; before <= n; ++before) {
        // The list as the user sees it after the drop.
        std::vector<int> seen = rows;
        seen.erase(seen.begin() + dragged);
        const auto at = before == n ? seen.end() : std::find(seen.begin(), seen.end(), before);
        seen.insert(at == seen.end() && before != n ? seen.begin() + dragged : at, dragged);
        // The move the editor makes.
        std::vector<int> moved = rows;
        const int position = RowDrag::dropPosition(dragged, before);
        if (position != 0) {
          moved.erase(moved.begin() + dragged);
          moved.insert(moved.begin() + (position - 1), dragged);
        }
        ASSERT_EQ(moved, seen) << n << " rows, " << dragged << " before " << before;
      }
    }
  }
}

}  // namespace velmora::editor
