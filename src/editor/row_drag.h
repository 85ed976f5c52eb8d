// Dragging a list row: the drag's state from the press on a row to the
// release or the abandon, and where a released row goes. No window here;
// the editor tells the window what to draw.
#pragma once

#include <utility>
#include <vector>

namespace velmora::editor {

class RowDrag {
 public:
  bool active() const { return active_; }
  // The list row the drag began on.
  int row() const { return row_; }
  // The rows that move with it, ascending: the picked rows when it is one
  // of them, else just that row.
  const std::vector<int>& block() const { return block_; }
  // Where a row dropped on its list lands: the row it comes to stand just
  // before, counted with the dragged row in place (the row count: the end).
  int dropRow() const { return dropRow_; }

  void begin(int row, std::vector<int> block = {}) {
    *this = RowDrag{};
    active_ = true;
    row_ = row;
    block_ = block.empty() ? std::vector<int>{row} : std::move(block);
  }
  // The button released on the dragged row's list before row `dropRow`.
  // A release anywhere else is no drop: the drag is reset instead.
  void release(int dropRow) {
    active_ = false;
    dropRow_ = dropRow;
  }
  void reset() { *this = RowDrag{}; }

  // The position (from 1) row `dragged` moves to when dropped just before
  // row `before` (counted with the dragged row still in place; the row
  // count for the end), or 0 when dropped just before or after itself,
  // where it stays.
  static int dropPosition(int dragged, int before) {
    if (before == dragged || before == dragged + 1) return 0;
    // A row dropped below itself leaves a gap above the drop point.
    return dragged > before ? before + 1 : before;
  }

  // The same for a block of rows (`rows` ascending): the position (from 1)
  // its first row moves to, the block kept together in its order, when
  // dropped just before row `before`; 0 when that leaves every row where it
  // is (a block of neighbours dropped inside itself or at either edge).
  static int blockDropPosition(const std::vector<int>& rows, int before) {
    if (rows.empty()) return 0;
    int above = 0;
    for (int r : rows) above += r < before ? 1 : 0;
    const int first = before - above;
    const bool together = rows.back() - rows.front() + 1 == static_cast<int>(rows.size());
    return together && first == rows.front() ? 0 : first + 1;
  }

 private:
  bool active_ = false;
  int row_ = -1;
  int dropRow_ = -1;
  std::vector<int> block_;
};

}  // namespace velmora::editor
