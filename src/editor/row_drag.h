// Dragging a list row: the drag's state from the press on a row to the
// release or the abandon, and where a released row goes. No window here;
// the editor tells the window what to draw.
#pragma once

namespace velmora::editor {

class RowDrag {
 public:
  bool active() const { return active_; }
  // The list row the drag began on.
  int row() const { return row_; }
  // Where a row dropped on its list lands: the row it comes to stand just
  // before, counted with the dragged row in place (the row count: the end).
  int dropRow() const { return dropRow_; }

  void begin(int row) {
    *this = RowDrag{};
    active_ = true;
    row_ = row;
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

 private:
  bool active_ = false;
  int row_ = -1;
  int dropRow_ = -1;
};

}  // namespace velmora::editor
