#include "win32/row_drag.h"

#include <algorithm>
#include <utility>

#include "editor/drop_row.h"
#include "resource_ids.h"
#include "win32/control_util.h"
#include "win32/dpi.h"
#include "win32/list_view.h"

namespace velmora::win32 {

ListView* RowDrag::listView(int id) const {
  for (const auto& [listId, l] : lists_)
    if (listId == id) return l;
  return nullptr;
}

HWND RowDrag::listWindow(int id) const {
  const ListView* l = listView(id);
  return l != nullptr ? l->hwnd() : nullptr;
}

void RowDrag::begin(int id, int row, int hotX, int hotY) {
  end();
  HWND w = listWindow(id);
  if (w == nullptr || row < 0) return;
  POINT origin{};
  images_ = reinterpret_cast<HIMAGELIST>(
      send(w, LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&origin)));
  if (images_ == nullptr) return;
  dragList_ = id;
  ImageList_BeginDrag(images_, 0, toDpi(hotX, dpi_), toDpi(hotY, dpi_));
  POINT at{};
  GetCursorPos(&at);
  // The image is drawn on the screen, over every window.
  ImageList_DragEnter(nullptr, at.x, at.y);
  SetCapture(dialog_);
}

void RowDrag::end() {
  showInsertion(insertList_, -1);
  if (images_ == nullptr) return;
  KillTimer(dialog_, DRAG_TIMER);
  scrolling_ = false;
  ImageList_DragLeave(nullptr);
  ImageList_EndDrag();
  ImageList_Destroy(std::exchange(images_, nullptr));
  if (GetCapture() == dialog_) ReleaseCapture();
  if (std::exchange(noDrop_, false)) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

// The window holds the mouse while a row is dragged, so no WM_SETCURSOR
// comes to set the pointer back: it stays as set here until the drag ends.
void RowDrag::showNoDrop(bool noDrop) {
  if (images_ == nullptr) return;
  noDrop_ = noDrop;
  SetCursor(LoadCursorW(nullptr, noDrop ? IDC_NO : IDC_ARROW));
}

void RowDrag::cancel() {
  if (images_ == nullptr) return;
  if (events_ != nullptr) events_->dragCancel();
  end();
}

bool RowDrag::onPointer(bool released) {
  if (images_ == nullptr) return false;
  POINT at{};
  GetCursorPos(&at);
  ImageList_DragMove(at.x, at.y);
  // A release anywhere but on this window (another program's window, the
  // desktop) abandons the drag.
  if (released && !onWindow(at)) {
    cancel();
    return true;
  }
  // The list under the pointer: its rows, its headers or its scroll bars.
  int overList = 0;
  POINT inList = at;
  for (const auto& [id, l] : lists_) {
    HWND w = l->hwnd();
    RECT r{};
    if (!IsWindowVisible(w) || !GetWindowRect(w, &r) || !PtInRect(&r, at)) continue;
    overList = id;
    ScreenToClient(w, &inList);
    // Heights count from the top of the rows, below the column headers.
    RECT header{};
    if (HWND h = reinterpret_cast<HWND>(send(w, LVM_GETHEADER));
        h != nullptr && IsWindowVisible(h) && GetWindowRect(h, &header))
      inList.y -= header.bottom - header.top;
    break;
  }
  // The strip of the tab control's titles; below it lies its pane, which
  // is the window for a drop.
  if (overList == 0 && tab_ != nullptr) {
    RECT r{};
    if (IsWindowVisible(tab_) && GetWindowRect(tab_, &r) && PtInRect(&r, at)) {
      RECT pane = r;
      send(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
      if (at.y < pane.top) overList = res::IDC_TAB;
    }
  }
  if (events_ == nullptr) return true;
  // Heights in the editor's logical pixels, as the list measures its rows.
  const int y = fromDpi(inList.y, dpi_);
  ListView* over = listView(overList);
  const int row = over == nullptr
                      ? -1
                      : editor::dropRowAt(y, over->rowHeight(), over->topRow(), over->rowCount(),
                                          [over](int height) { return over->rowAt(height); });
  if (released) {
    events_->dragRelease(overList, row);
    return true;
  }
  // Off any list, the dragged row's list may still scroll (the pointer
  // just above or below it).
  HWND w = over != nullptr ? over->hwnd() : listWindow(dragList_);
  const LRESULT top = send(w, LVM_GETTOPINDEX);
  events_->dragMove(overList, row);
  if (images_ != nullptr) autoScroll(at, overList);
  // A list that scrolled moved the image's pixels with its rows: it is
  // painted afresh with the image hidden, so that the image leaves no trace.
  if (w == nullptr || images_ == nullptr) return true;
  const bool scrolled = send(w, LVM_GETTOPINDEX) != top;
  if (scrolled || GetUpdateRect(w, nullptr, FALSE)) {
    ImageList_DragShowNolock(FALSE);
    if (scrolled) InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    ImageList_DragShowNolock(TRUE);
  }
  return true;
}

// Near the top or bottom edge of the dragged row's list, above or below
// it, the list scrolls, and the drag timer keeps it scrolling while the
// pointer stays; over the tab strip the pointer is on a drop target
// instead.
void RowDrag::autoScroll(POINT at, int overList) {
  ListView* l = listView(dragList_);
  int step = 0;
  if (l != nullptr && overList != res::IDC_TAB && IsWindowVisible(l->hwnd())) {
    HWND w = l->hwnd();
    RECT rows{};
    GetClientRect(w, &rows);
    if (HWND h = reinterpret_cast<HWND>(send(w, LVM_GETHEADER));
        h != nullptr && IsWindowVisible(h)) {
      RECT header{};
      GetWindowRect(h, &header);
      rows.top += header.bottom - header.top;
    }
    POINT inList = at;
    ScreenToClient(w, &inList);
    if (inList.x >= rows.left && inList.x < rows.right)
      step = editor::autoScrollStep(fromDpi(inList.y - rows.top, dpi_),
                                    fromDpi(rows.bottom - rows.top, dpi_), 2 * l->rowHeight());
    const int scrollTo = editor::autoScrollRow(step, l->topRow(), l->rowsPerPage(), l->rowCount());
    if (scrollTo >= 0) l->ensureVisible(scrollTo);
  }
  if (step == 0) {
    if (std::exchange(scrolling_, false)) KillTimer(dialog_, DRAG_TIMER);
  } else if (!std::exchange(scrolling_, true)) {
    SetTimer(dialog_, DRAG_TIMER, AUTO_SCROLL_MS, nullptr);
  }
}

bool RowDrag::onWindow(POINT at) const {
  // The whole window, whose controls may lie on a pane of their own.
  HWND window = GetAncestor(dialog_, GA_ROOT);
  RECT frame{};
  if (!GetWindowRect(window, &frame) || !PtInRect(&frame, at)) return false;
  HWND under = WindowFromPoint(at);
  if (under == nullptr) return false;
  HWND root = GetAncestor(under, GA_ROOT);
  return root == window || GetWindow(root, GW_OWNER) == window;
}

// The drop line: two pixels across the list at the top edge of the row
// it stands above, or the bottom edge of the last row.
RECT RowDrag::insertionLine(HWND list) const {
  RECT line{};
  const int rows = static_cast<int>(send(list, LVM_GETITEMCOUNT));
  if (insertRow_ < 0 || insertRow_ > rows) return line;
  RECT client{};
  GetClientRect(list, &client);
  int top = 0;
  if (HWND h = reinterpret_cast<HWND>(send(list, LVM_GETHEADER));
      h != nullptr && IsWindowVisible(h)) {
    RECT header{};
    GetWindowRect(h, &header);
    top = header.bottom - header.top;
  }
  int y = top;
  if (rows > 0) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    const int row = std::min(insertRow_, rows - 1);
    if (!send(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)))
      return line;
    y = insertRow_ < rows ? r.top : r.bottom;
  }
  if (y < top || y > client.bottom) return line;
  return RECT{client.left, std::max(top, y - 1), client.right, y + 1};
}

void RowDrag::onListPainted(int id, HWND list) const {
  if (insertList_ != id) return;
  const RECT line = insertionLine(list);
  if (IsRectEmpty(&line)) return;
  HDC dc = GetDC(list);
  if (dc == nullptr) return;
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(send(list, LVM_GETTEXTCOLOR)));
  FillRect(dc, &line, brush);
  DeleteObject(brush);
  ReleaseDC(list, dc);
}

void RowDrag::showInsertion(int id, int row) {
  HWND w = listWindow(id);
  if (w == nullptr || row < 0) {
    id = 0;
    row = -1;
  }
  if (id == insertList_ && row == insertRow_) return;
  // The lists are painted with the drag image hidden, so that it leaves no
  // trace.
  if (images_ != nullptr) ImageList_DragShowNolock(FALSE);
  // The old line is painted over by the rows under it; the new one is
  // drawn after the rows it crosses.
  auto repaint = [](HWND list, RECT line) {
    if (list == nullptr || IsRectEmpty(&line)) return;
    InflateRect(&line, 0, 2);
    InvalidateRect(list, &line, TRUE);
    UpdateWindow(list);
  };
  HWND old = listWindow(insertList_);
  const RECT oldLine = old != nullptr ? insertionLine(old) : RECT{};
  insertList_ = id;
  insertRow_ = row;
  repaint(old, oldLine);
  if (w != nullptr) repaint(w, insertionLine(w));
  if (images_ != nullptr) ImageList_DragShowNolock(TRUE);
}

}  // namespace velmora::win32
