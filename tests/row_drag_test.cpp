// Where a dropped row goes: the position RowDrag works out puts the row
// just before the row the pointer showed, for every row and drop point;
// and a pointer held near a list's edge scrolls it to that end.
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
// brings a row wholly into view, with the pointer held at one height: in
// either edge band, inside the list or beyond it, the list reaches that
// end; between the bands it stays. Nearer the edge it never goes slower.
TEST(RowDrag, APointerNearAnEdgeScrollsToThatEndOfTheListFasterNearerTheEdge) {
  constexpr int ROW = 10, BAND = 2 * ROW;
  for (int page : {1, 3, 8}) {
    const int height = page * ROW;
    for (int y = height / 2 - 1, last = 0; y >= -BAND - 2; --y) {  // to the top edge and past it
      const int up = -autoScrollStep(y, height, BAND);
      ASSERT_TRUE(y < -std::min(BAND, height / 2) ? up == 0 : up >= last) << page << ", " << y;
      last = up;
    }
    for (int rows : {1, page, page + 1, 5000}) {
      for (int y = -BAND - 1; y <= height + BAND; y += 3) {
        const int step = autoScrollStep(y, height, BAND);
        EXPECT_EQ(step, -autoScrollStep(height - 1 - y, height, BAND)) << "the bands mirror";
        const int end = std::max(0, rows - page);  // the last top a list can have
        for (int start : {0, std::min(rows / 2, end), end}) {
          int top = start;
          for (int to = 0, ticks = 0; ticks <= rows && to >= 0; ++ticks) {
            to = autoScrollRow(step, top, page, rows);
            top = to < 0 ? top : std::clamp(top, to - page + 1, to);
          }
          EXPECT_EQ(top, step < 0   ? 0
                         : step > 0 ? end
                                    : start)
              << rows << " rows, " << page << " in view from " << start << ", y " << y;
        }
      }
    }
  }
}

}  // namespace velmora::editor
