#include "win32/tips.h"

#include <algorithm>
#include <utility>

// clang-format off
#include "win32/win.h"
#include <uxtheme.h>
// clang-format on

#include "layout.h"
#include "win32/control_util.h"
#include "win32/dpi.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

// The widest a tip grows before its text wraps, at 96 DPI.
constexpr int TIP_WIDTH = 400;
// The room between a control and its tip, at 96 DPI.
constexpr int TIP_GAP = 4;

HWND makeTips(HWND owner) {
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

}  // namespace

Tips::~Tips() {
  for (const auto& [id, tip] : tips_)
    RemoveWindowSubclass(tip.control, &Tips::controlProc, static_cast<UINT_PTR>(id));
  if (blueTips_ != nullptr) DestroyWindow(blueTips_);
  if (plainTips_ != nullptr) DestroyWindow(plainTips_);
}

HWND Tips::windowFor(int id) {
  HWND& tips = blue_.count(id) != 0 ? blueTips_ : plainTips_;
  if (tips == nullptr) {
    const bool blue = &tips == &blueTips_;
    tips = makeTips(dialog_);
    // Long tips wrap rather than run across the screen.
    SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, toDpi(TIP_WIDTH, dpi_));
    if (blue) {
      // A tip drawn in the visual style takes the style's colours and
      // ignores its own: the blue ones are drawn plain.
      SetWindowTheme(tips, L"", L"");
      SendMessageW(tips, TTM_SETTIPBKCOLOR, colour(res::TIP_BACKGROUND), 0);
      SendMessageW(tips, TTM_SETTIPTEXTCOLOR, colour(res::TIP_TEXT), 0);
    }
  }
  return tips;
}

// A tip is placed by the program rather than at the pointer: beside its
// control, where it covers neither the control nor (for a field, whose
// tip goes to its side) the fields above and below it, and always inside
// the monitor's work area. The control tells when the pointer rests on
// it and when it leaves.
void Tips::set(int id, HWND control, bool field, std::string_view text) {
  if (control == nullptr) return;
  HWND tips = windowFor(id);
  std::wstring wide = wideFromUtf8(text);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  info.hwnd = dialog_;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = wide.data();
  const bool had = tips_.count(id) != 0;
  if (text.empty()) {
    if (shown_ == id) hide();
    if (had) {
      SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
      RemoveWindowSubclass(control, &Tips::controlProc, static_cast<UINT_PTR>(id));
    }
    tips_.erase(id);
    return;
  }
  SendMessageW(tips, had ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (!had) {
    SetWindowSubclass(control, &Tips::controlProc, static_cast<UINT_PTR>(id),
                      reinterpret_cast<DWORD_PTR>(this));
  }
  tips_[id] = Tip{control, field, std::move(wide)};
  // A tip in view shows its new text in its new size.
  if (shown_ == id) show(id);
}

void Tips::onDpiChanged(int dpi) {
  dpi_ = dpi;
  hide();
  for (HWND tips : {blueTips_, plainTips_})
    if (tips != nullptr) send(tips, TTM_SETMAXTIPWIDTH, 0, toDpi(TIP_WIDTH, dpi_));
}

LRESULT CALLBACK Tips::controlProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self) {
  auto& tips = *reinterpret_cast<Tips*>(self);
  const int control = static_cast<int>(id);
  switch (message) {
    case WM_MOUSEMOVE:
      if (tips.shown_ != control) {
        // A tip that has gone (its time up, a click) comes again only
        // after the pointer has left.
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE | (tips.done_ == control ? 0 : TME_HOVER);
        track.hwndTrack = w;
        track.dwHoverTime =
            static_cast<DWORD>(send(tips.windowFor(control), TTM_GETDELAYTIME, TTDT_INITIAL));
        TrackMouseEvent(&track);
      }
      break;
    case WM_MOUSEHOVER:
      tips.show(control);
      break;
    case WM_MOUSELEAVE:
      if (tips.shown_ == control) tips.hide();
      if (tips.done_ == control) tips.done_ = 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      tips.done_ = control;
      if (tips.shown_ == control) tips.hide();
      break;
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SHOWWINDOW:
      if (tips.shown_ == control) tips.hide();
      break;
    case WM_TIMER:
      if (wParam != TIP_TIMER) break;
      if (tips.shown_ == control) {
        tips.done_ = control;
        tips.hide();
      }
      return 0;
    case WM_NCDESTROY:
      if (tips.shown_ == control) tips.hide();
      RemoveWindowSubclass(w, &Tips::controlProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

void Tips::show(int id) {
  const auto it = tips_.find(id);
  if (it == tips_.end() || !IsWindowVisible(it->second.control)) return;
  HWND w = it->second.control;
  const bool field = it->second.field;
  if (shown_ != 0 && shown_ != id) hide();
  HWND tips = windowFor(id);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = dialog_;
  info.uId = reinterpret_cast<UINT_PTR>(w);
  const auto size =
      static_cast<DWORD>(send(tips, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&info)));
  RECT at = place(w, SIZE{LOWORD(size), HIWORD(size)}, field);
  send(tips, TTM_TRACKPOSITION, 0, MAKELPARAM(at.left, at.top));
  send(tips, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
  // The size the tip has taken on screen is the one to place (some
  // systems measure the bubble before the text's font is chosen).
  RECT shown{};
  if (GetWindowRect(tips, &shown) && (shown.right - shown.left != at.right - at.left ||
                                      shown.bottom - shown.top != at.bottom - at.top)) {
    at = place(w, SIZE{shown.right - shown.left, shown.bottom - shown.top}, field);
    send(tips, TTM_TRACKPOSITION, 0, MAKELPARAM(at.left, at.top));
  }
  shown_ = id;
  // As long as a tip shown at the pointer would stay.
  const auto stay = static_cast<UINT>(send(tips, TTM_GETDELAYTIME, TTDT_AUTOPOP));
  SetTimer(w, TIP_TIMER, stay > 0 ? stay : 5000, nullptr);
}

void Tips::hide() {
  const int id = std::exchange(shown_, 0);
  const auto it = tips_.find(id);
  if (id == 0 || it == tips_.end()) return;
  HWND w = it->second.control;
  KillTimer(w, TIP_TIMER);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = dialog_;
  info.uId = reinterpret_cast<UINT_PTR>(w);
  send(windowFor(id), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
}

// The first of the places beside the control that lies wholly in the work
// area of the control's monitor: for a field its right, then its left,
// then below and above; for anything else below, above, right, left. When
// none fits, the first is moved into the work area.
RECT Tips::place(HWND control, SIZE tip, bool field) const {
  RECT c{};
  GetWindowRect(control, &c);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(control, MONITOR_DEFAULTTONEAREST), &monitor))
    work = monitor.rcWork;
  const int gap = toDpi(TIP_GAP, dpi_);
  const int middle = (c.top + c.bottom - tip.cy) / 2;
  const POINT right{c.right + gap, middle}, left{c.left - gap - tip.cx, middle};
  const POINT below{c.left, c.bottom + gap}, above{c.left, c.top - gap - tip.cy};
  const POINT sideFirst[] = {right, left, below, above};
  const POINT downFirst[] = {below, above, right, left};
  const POINT* order = field ? sideFirst : downFirst;
  auto rect = [&](POINT at) { return RECT{at.x, at.y, at.x + tip.cx, at.y + tip.cy}; };
  for (int i = 0; i < 4; ++i) {
    const RECT r = rect(order[i]);
    if (r.left >= work.left && r.top >= work.top && r.right <= work.right &&
        r.bottom <= work.bottom)
      return r;
  }
  POINT at = order[0];
  at.x = std::max<LONG>(work.left, std::min<LONG>(at.x, work.right - tip.cx));
  at.y = std::max<LONG>(work.top, std::min<LONG>(at.y, work.bottom - tip.cy));
  return rect(at);
}

}  // namespace velmora::win32
