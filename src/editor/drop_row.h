// Where a dragged row would land, and how a list follows a drag that comes
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

// How far a list scrolls at each tick of the drag's timer while the
// pointer is at height y of the list's rows area, `height` pixels high (0
// is its top edge, negative above it): rows up (negative) or down, 0 for
// none. The list scrolls while the pointer is within `band` pixels of its
// top or bottom edge, inside the list or as far out beyond it: a row a tick
// at the band's inner side, a row more for each quarter band nearer the
// edge, 4 at the edge and up to 8 beyond it. In a list too low for two
// bands, each takes half of it.
inline int autoScrollStep(int y, int height, int band) {
  if (height <= 0) return 0;
  band = std::max(1, std::min(band, height / 2));
  const bool up = y < height / 2;
  // Pixels from the pointer to the edge it is nearer, negative beyond it.
  const int fromEdge = up ? y : height - 1 - y;
  if (fromEdge >= band || fromEdge < -band) return 0;
  const int depth = band - fromEdge;  // 1 at the band's inner side
  const int step = std::min(8, 1 + 4 * (depth - 1) / band);
  return up ? -step : step;
}

// The row to bring into view for a scroll of `step` rows (autoScrollStep)
// of a list of `rows` rows that shows `page` rows from `top`; -1: none.
inline int autoScrollRow(int step, int top, int page, int rows) {
  if (step == 0 || rows <= 0) return -1;
  return std::clamp(step < 0 ? top + step : top + std::max(page, 1) - 1 + step, 0, rows - 1);
}

}  // namespace velmora::editor
