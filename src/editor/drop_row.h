// Where a dragged row would land, and how a list follows a drag that rests
// near its edges. Each adapter measures its own list (the row at a height,
// the rows in view); the rules that turn the measures into rows are the
// same in every toolkit and live here.
#pragma once

#include <algorithm>

namespace velmora::editor {

// The row a dragged row comes to stand just before when dropped at height
// y of the list's rows area (0 is its top edge, below the column headers),
// counted with the dragged row still in place: the boundary between two
// rows nearest the pointer. The pointer on the upper half of a row puts it
// just before that row, on the lower half just after it; below the last
// row it goes to the end (`rows`, the row count); above the rows area, just
// before the first row in view (`top`). `rowAt(y)` is the list's row at
// height y, whether or not it is scrolled into view, or -1 where there is
// none; every row is `rowHeight` pixels high.
template <class RowAt>
int dropRowAt(int y, int rowHeight, int top, int rows, const RowAt& rowAt) {
  const int half = std::max(1, rowHeight / 2);
  if (y + half < 0) return top;
  const int hit = rowAt(y + half);
  return hit < 0 ? rows : hit;
}

// The row to scroll into view while the pointer rests on row `hit` (-1:
// on no row) of a list of `rows` rows that shows `page` rows from `top`:
// on the last row in view the list moves down one row, on the first row in
// view up one row, as long as there are rows beyond. -1: no scrolling.
inline int edgeScrollRow(int hit, int top, int page, int rows) {
  if (hit < 0) return -1;
  if (top + page == hit + 1 && hit + 1 < rows) return hit + 1;
  if (top == hit && hit >= 1) return hit - 1;
  return -1;
}

}  // namespace velmora::editor
