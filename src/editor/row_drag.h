// Dragging a list row: the drag's state from the press on a row to the
// release or the abandon, and where a released row goes. No window here;
// the editor tells the window what to draw.
#pragma once

namespace velmora::editor {

class RowDrag {
 public:
  struct Point {
    int x = 0, y = 0;
  };

  bool active() const { return active_; }
  // The list row the drag began on.
  int row() const { return row_; }
  // Where the pointer was last seen, in the list's rows area.
  Point point() const { return point_; }
  bool droppedOnList() const { return droppedOnList_; }

  void begin(int row) {
    *this = RowDrag{};
    active_ = true;
    row_ = row;
  }
  void moveTo(Point p) { point_ = p; }
  // The button released at `p`, on the dragged row's list or elsewhere.
  void release(Point p, bool onList) {
    active_ = false;
    point_ = p;
    droppedOnList_ = onList;
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
  Point point_;
  bool droppedOnList_ = false;
};

}  // namespace velmora::editor
