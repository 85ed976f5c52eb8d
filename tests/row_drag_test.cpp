// Where a dropped row goes: the position RowDrag works out puts the row
// just before the row the pointer showed, for every row and drop point;
// and a pointer resting at a list's edge scrolls it a row at a time.
#include "editor/row_drag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "editor/drop_row.h"

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

// A list of `rows` rows showing `page` from `top`, scrolled as a list
// brings a row wholly into view; the pointer rests on the first row in
// view, the last, or one between, for as many ticks as it takes. (With
// one row in view, that row is the last: the list scrolls down.)
TEST(RowDrag, APointerRestingOnAnEdgeRowScrollsToTheEndOfTheListOneRowATick) {
  for (int rows = 1; rows <= 14; ++rows) {
    for (int page = 2; page <= 6; ++page) {
      for (int start = 0; start < rows; ++start) {
        for (int edge : {-1, 0, 1}) {  // the first row in view, one between, the last
          if (edge == 0 && page < 3) continue;
          SCOPED_TRACE(std::to_string(rows) + " rows, " + std::to_string(page) + " in view from " +
                       std::to_string(start) + ", edge " + std::to_string(edge));
          int top = start, ticks = 0;
          for (; ticks <= rows; ++ticks) {
            const int hit = edge < 0 ? top : edge == 0 ? top + 1 : top + page - 1;
            const int to = edgeScrollRow(hit < rows ? hit : -1, top, page, rows);
            if (to < 0) break;
            ASSERT_EQ(to, hit + edge) << "a row beyond the edge row";
            if (to < top) top = to;
            if (to >= top + page) top = to - page + 1;
          }
          const bool full = start + page <= rows;
          const int expected = edge < 0 ? start : edge > 0 && full ? rows - page - start : 0;
          EXPECT_EQ(ticks, expected);
        }
      }
    }
  }
}

}  // namespace velmora::editor
