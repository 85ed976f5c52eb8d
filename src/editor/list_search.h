// Typing in a list finds a row by its name: the rows of the editor's lists
// hold their number in the first column and their name in the second. The
// toolkits bring the typed text and the comparison; where to look and in
// what order is decided here, once.
#pragma once

namespace velmora::editor {

// The column that typing searches, in a list of `columns` columns: the
// name's, or the only one.
constexpr int nameColumn(int columns) { return columns > 1 ? 1 : 0; }

// The first row from `start` (0 when out of range) on for which
// `matches(row)` holds, going round from the top again when `wrap`; -1
// when none does.
template <class Matches>
int findRowFrom(int rows, int start, bool wrap, Matches&& matches) {
  if (rows <= 0) return -1;
  if (start < 0 || start >= rows) start = 0;
  for (int i = 0; i < rows; ++i) {
    int r = start + i;
    if (r >= rows) {
      if (!wrap) break;
      r -= rows;
    }
    if (matches(r)) return r;
  }
  return -1;
}

}  // namespace velmora::editor
