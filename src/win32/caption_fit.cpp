#include "win32/caption_fit.h"

#include <algorithm>
#include <string>

#include "win32/dpi.h"

namespace velmora::win32 {

namespace {

// The width the title bar's text takes, in the caption font of the
// window's scaling.
int captionTextWidth(HWND box, int dpi) {
  std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  caption.resize(static_cast<std::size_t>(
      GetWindowTextW(box, caption.data(), static_cast<int>(caption.size()))));
  if (caption.empty()) return 0;
  const NONCLIENTMETRICSW metrics = nonClientMetrics(dpi);
  HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32W(dc, caption.data(), static_cast<int>(caption.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  if (font != nullptr) DeleteObject(font);
  return size.cx;
}

BOOL CALLBACK addButton(HWND child, LPARAM span) {
  wchar_t name[16] = {};
  if (GetClassNameW(child, name, 16) == 0 || lstrcmpiW(name, L"Button") != 0) return TRUE;
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  RECT& all = *reinterpret_cast<RECT*>(span);
  all.left = std::min(all.left, r.left);
  all.right = std::max(all.right, r.right);
  return TRUE;
}

struct Shift {
  HWND box;
  int by;
};

BOOL CALLBACK shiftButton(HWND child, LPARAM shift) {
  wchar_t name[16] = {};
  if (GetClassNameW(child, name, 16) == 0 || lstrcmpiW(name, L"Button") != 0) return TRUE;
  const Shift& s = *reinterpret_cast<const Shift*>(shift);
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, s.box, reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(child, nullptr, r.left + s.by, r.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

// The box is as wide as its text and buttons. The caption needs its own
// width, the frame's edges, and room for the title bar's icon and close
// box and a margin: the box grows about its centre by what is missing.
// The icon and text keep their place at the left; the buttons keep theirs
// in the row, centred or at the right as the system put them.
void fitCaption(HWND box) {
  const int dpi = windowDpi(box);
  RECT window{}, client{};
  GetWindowRect(box, &window);
  GetClientRect(box, &client);
  const int width = window.right - window.left;
  const int frame = width - client.right;
  const int titleBar = metricForDpi(SM_CXSMICON, dpi) + 3 * metricForDpi(SM_CXSIZE, dpi);
  const int needed = captionTextWidth(box, dpi) + frame + titleBar;
  if (needed <= width) return;

  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int w = std::min<int>(needed, work.right - work.left);
  const int extra = w - width;
  if (extra <= 0) return;

  RECT buttons{client.right, 0, 0, 0};
  EnumChildWindows(box, &addButton, reinterpret_cast<LPARAM>(&buttons));
  if (buttons.right > buttons.left) {
    const int leftGap = buttons.left, rightGap = client.right - buttons.right;
    // Centred when both gaps are alike (within a button's margin), else
    // kept at the right edge.
    const int slack = metricForDpi(SM_CXSIZE, dpi);
    Shift shift{box, rightGap + slack < leftGap ? extra : extra / 2};
    EnumChildWindows(box, &shiftButton, reinterpret_cast<LPARAM>(&shift));
  }
  const int x = std::clamp<int>(window.left - extra / 2, work.left, work.right - w);
  SetWindowPos(box, nullptr, x, window.top, w, window.bottom - window.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(box, nullptr, TRUE);
}

LRESULT CALLBACK captionFitProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR) {
  if (message == WM_INITDIALOG) {
    // The box lays out its text and buttons here; it is widened after.
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    fitCaption(box);
    return result;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(box, &captionFitProc, id);
  return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void fitCaptionWhenShown(HWND box) { SetWindowSubclass(box, &captionFitProc, 2, 0); }

}  // namespace velmora::win32
