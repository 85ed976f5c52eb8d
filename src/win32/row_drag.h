// Dragging a row of a list view to another place: the image of the row
// follows the pointer over the whole screen, a line across the list shows
// where it would land, and the window holds the mouse until the release.
// The editor decides what the drag does; this reports the row the pointer
// points between, scrolls the list while the pointer rests at its edges,
// and draws what the editor shows.
#pragma once

#include <utility>
#include <vector>

#include "editor/port.h"
#include "win32/win.h"

namespace velmora::win32 {

class ListView;

// The timer that reports the pointer again while a dragged row's list
// scrolls under it.
inline constexpr UINT_PTR DRAG_TIMER = 0x7E11;

class RowDrag {
 public:
  // `lists`: the window's list views by id; `tab`: its tab strip, if any.
  RowDrag(HWND dialog, std::vector<std::pair<int, ListView*>> lists, HWND tab)
      : dialog_(dialog), lists_(std::move(lists)), tab_(tab) {}
  RowDrag(const RowDrag&) = delete;
  RowDrag& operator=(const RowDrag&) = delete;

  void setEvents(editor::ControlEvents* events) { events_ = events; }
  void setDpi(int dpi) { dpi_ = dpi; }
  bool active() const { return images_ != nullptr; }

  // Row `row` of list `id` begins to move, its image held at (hotX, hotY)
  // logical pixels.
  void begin(int id, int row, int hotX, int hotY);
  void end();
  // The drag abandoned (Esc, a release outside the window, the mouse taken
  // away, the window left): the events hear it, then the image and the
  // capture go, whether or not the logic ended the drag itself.
  void cancel();
  // The window's WM_MOUSEMOVE, WM_LBUTTONUP and drag timer; false when no
  // row is dragged.
  bool onPointer(bool released);
  // The drop line above row `row` of list `id` (-1: none).
  void showInsertion(int id, int row);
  // The forbidden sign as the pointer, or the arrow again.
  void showNoDrop(bool noDrop);
  // List `id` has painted its rows: the drop line goes over them.
  void onListPainted(int id, HWND list) const;

 private:
  ListView* listView(int id) const;
  HWND listWindow(int id) const;
  bool onWindow(POINT screen) const;
  // Scrolls the dragged row's list while the pointer (screen) is near its
  // top or bottom edge, not over `overList`, the tab strip; the drag timer
  // runs while it does.
  void autoScroll(POINT at, int overList);
  // How often a list scrolls while the pointer stays near its edge.
  static constexpr UINT AUTO_SCROLL_MS = 50;
  RECT insertionLine(HWND list) const;

  HWND dialog_;
  std::vector<std::pair<int, ListView*>> lists_;
  HWND tab_;
  editor::ControlEvents* events_ = nullptr;
  int dpi_ = 96;
  // The image of the row being dragged, which follows the pointer, and the
  // line across list insertList_ above row insertRow_ where it would land.
  HIMAGELIST images_ = nullptr;
  // The list the dragged row belongs to, which scrolls under the pointer.
  int dragList_ = 0;
  int insertList_ = 0;
  int insertRow_ = -1;
  bool noDrop_ = false;
  bool scrolling_ = false;
};

}  // namespace velmora::win32
