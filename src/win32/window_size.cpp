// The main window's size and place: the pane and its controls follow the
// frame as the user sizes or maximizes it, and the frame's place on the
// desktop is read and set for the editor, which keeps it between runs.
#include <algorithm>

#include "layout.h"
#include "win32/editor_window.h"
#include "win32/win_controls.h"

namespace velmora::win32 {

namespace {

HWND frameOf(HWND pane) { return GetAncestor(pane, GA_ROOT); }

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcWork;
    reinterpret_cast<std::vector<editor::ScreenArea>*>(areas)->push_back(
        {r.left, r.top, r.right - r.left, r.bottom - r.top});
  }
  return TRUE;
}

}  // namespace

editor::WindowPlace WinControls::windowPlace() const {
  HWND frame = frameOf(dialog_);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (frame == nullptr || !GetWindowPlacement(frame, &placement)) return {};
  RECT r = placement.rcNormalPosition;
  // The normal rectangle is in work-area coordinates: it moves by where
  // the work area of the window's monitor starts (a task bar at the top or
  // left).
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
    OffsetRect(&r, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top, placement.showCmd == SW_SHOWMAXIMIZED};
}

std::vector<editor::ScreenArea> WinControls::screenAreas() const {
  std::vector<editor::ScreenArea> areas;
  EnumDisplayMonitors(nullptr, nullptr, &addWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

void WinControls::setWindowPlace(const editor::WindowPlace& place) {
  HWND frame = frameOf(dialog_);
  if (frame == nullptr) return;
  const int w = std::max<int>(place.width, minimumFrame_.cx);
  const int h = std::max<int>(place.height, minimumFrame_.cy);
  SetWindowPos(frame, nullptr, place.x, place.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  // Before the window first shows, it shows so; after, it maximizes now.
  if (IsWindowVisible(frame)) {
    ShowWindow(frame, place.maximized ? SW_MAXIMIZE : SW_RESTORE);
  } else {
    showMaximized_ = place.maximized;
  }
}

// The toolbar at the top, the border under it, the status bar at the
// bottom, the pane in between taking what is left.
void EditorWindow::layoutFrame() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
  if (statusBar_ != nullptr) SendMessageW(statusBar_, WM_SIZE, 0, 0);
  RECT bar{}, status{};
  GetWindowRect(toolBar_, &bar);
  if (statusBar_ != nullptr) GetWindowRect(statusBar_, &status);
  const int border = 2;
  const int down = bar.bottom - bar.top + border;
  const int paneH = std::max(0L, client.bottom - down - (status.bottom - status.top));
  SetWindowPos(border_, nullptr, 0, down - border, client.right, border,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(pane_, nullptr, 0, down, client.right, paneH, SWP_NOZORDER | SWP_NOACTIVATE);
  layoutPane();
}

// Each control where the shared layout puts it for the pane's size now,
// from its template rectangle at the pane's scaling now.
void EditorWindow::layoutPane() {
  const res::DialogDef& def = res::editorDialog();
  RECT pane{};
  GetClientRect(pane_, &pane);
  RECT least{0, 0, def.w, def.h};
  MapDialogRect(pane_, &least);
  const int extraW = pane.right - least.right, extraH = pane.bottom - least.bottom;
  HDWP moves = BeginDeferWindowPos(static_cast<int>(def.controls.size()));
  for (const res::ControlDef& c : def.controls) {
    if (c.neverShown || moves == nullptr) continue;
    HWND control = GetDlgItem(pane_, c.id);
    if (control == nullptr) continue;
    RECT r{c.x, c.y, c.x + c.w, c.y + c.h};
    MapDialogRect(pane_, &r);
    const res::PixelRect g = res::grownEditorRect(
        c.id, {r.left, r.top, r.right - r.left, r.bottom - r.top}, extraW, extraH);
    // A drop-down combo's height in the template is that of its list:
    // combos only move, so it keeps the one it has.
    const bool combo =
        c.kind == res::ControlKind::ComboList || c.kind == res::ControlKind::ComboEdit;
    moves = DeferWindowPos(moves, control, nullptr, g.x, g.y, g.w, g.h,
                           SWP_NOZORDER | SWP_NOACTIVATE | (combo ? SWP_NOSIZE : 0));
  }
  if (moves != nullptr) EndDeferWindowPos(moves);
  // Group boxes and the tab's pane draw their frames again at the new
  // sizes; the themed backdrop of the tab's page is made afresh for its
  // size, not tiled from the old one.
  if (controls_ != nullptr) controls_->onThemeChanged();
  InvalidateRect(pane_, nullptr, TRUE);
}

}  // namespace velmora::win32
