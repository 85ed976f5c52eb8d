#include "win32/pane_theme.h"

// clang-format off
#include "win32/win.h"
#include <uxtheme.h>
#include <vssym32.h>
// clang-format on

#include "win32/control_util.h"

namespace velmora::win32 {

PaneTheme::~PaneTheme() {
  if (brush_ != nullptr) DeleteObject(brush_);
}

void PaneTheme::reset() {
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = nullptr;
  made_ = false;
  InvalidateRect(dialog_, nullptr, TRUE);
}

HBRUSH PaneTheme::brush() {
  if (made_) return brush_;
  made_ = true;
  if (tab_ == nullptr || !IsAppThemed() || !IsThemeActive()) return nullptr;
  RECT r{};
  GetClientRect(tab_, &r);
  if (r.right <= 0 || r.bottom <= 0) return nullptr;
  HTHEME theme = OpenThemeData(tab_, L"TAB");
  if (theme == nullptr) return nullptr;
  HDC screen = GetDC(tab_);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  ReleaseDC(tab_, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const bool drawn = SUCCEEDED(DrawThemeBackground(theme, dc, TABP_PANE, 0, &r, nullptr));
  SelectObject(dc, old);
  DeleteDC(dc);
  CloseThemeData(theme);
  if (drawn) brush_ = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);
  return brush_;
}

bool PaneTheme::onEraseBackground(HDC dc) {
  if (brush() == nullptr) return false;
  RECT client{};
  GetClientRect(dialog_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT pane{};
  GetWindowRect(tab_, &pane);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&pane), 2);
  const POINT corner{pane.left, pane.top};
  send(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
  // The brush's origin is in device pixels: a control that has the window
  // paint its background moves the origin of the window's coordinates.
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetBrushOrgEx(dc, origin.x + corner.x, origin.y + corner.y, nullptr);
  FillRect(dc, &pane, brush_);
  return true;
}

HBRUSH PaneTheme::ctlColor(HDC dc, HWND control) {
  if (brush() == nullptr) return nullptr;
  // Only what lies wholly on the pane; the brush's origin is the pane's
  // corner.
  RECT r{}, pane{}, inside{};
  GetWindowRect(control, &r);
  GetWindowRect(tab_, &pane);
  if (!IntersectRect(&inside, &r, &pane) || !EqualRect(&inside, &r)) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetBrushOrgEx(dc, pane.left - r.left, pane.top - r.top, nullptr);
  return brush_;
}

}  // namespace velmora::win32
