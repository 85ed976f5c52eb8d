// The port's rules held by the native Windows window: the main window as
// Velmora.exe builds it (its template, manifest and controls), worked with
// the messages that mouse and keyboard send.
// clang-format off
#include "win32/editor_window.h"  // the Windows headers, before <windowsx.h>
#include <windowsx.h>
#include "conformance/port_conformance.h"
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <string>

#include "win32/wide.h"

namespace velmora::test {
namespace {

class WinHarness {
 public:
  explicit WinHarness(EventLog& log) : sink_(log) {
    static const bool initialised = [] {
      INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                 ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
      return InitCommonControlsEx(&init) != FALSE;
    }();
    EXPECT_TRUE(initialised);
    if (!window_.ok()) {
      // Under Wine: no X display to make windows on.
      std::fprintf(stderr, "velmora_port_conformance_win32: the window could not be made\n");
      std::exit(1);
    }
    window_.controls().setEvents(&sink_);
    ShowWindow(window_.hwnd(), SW_SHOW);
    UpdateWindow(window_.hwnd());
    settle();
  }
  ~WinHarness() {
    ReleaseCapture();
    settle();
  }
  win32::WinControls& controls() { return window_.controls(); }
  // What the control knows of its rows, and a cell's text as it asks for it.
  int rowCount(int list) {
    settle();
    return static_cast<int>(SendMessageW(listWindow(list), LVM_GETITEMCOUNT, 0, 0));
  }
  std::string cell(int list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 255;
    SendMessageW(listWindow(list), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return win32::narrow(text);
  }

  void click(int list, int row) {
    const LPARAM at = centre(list, row);
    PostMessageW(listWindow(list), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(listWindow(list), WM_LBUTTONUP, 0, at);
  }
  void beginDrag(int list, int row) {
    const LPARAM at = centre(list, row);
    HWND w = listWindow(list);
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    for (int step = 1; step <= 4; ++step)
      PostMessageW(w, WM_MOUSEMOVE, MK_LBUTTON,
                   MAKELPARAM(GET_X_LPARAM(at), GET_Y_LPARAM(at) + 5 * step));
    settle();
  }
  void pressEsc() {
    HWND focus = GetFocus();
    PostMessageW(focus != nullptr ? focus : window_.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  }
  // Another window takes the mouse.
  void loseCapture() { ReleaseCapture(); }
  bool dragShown() { return window_.controls().dragging(); }
  int currentRow(int list) {
    return static_cast<int>(
        SendMessageW(listWindow(list), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  }
  bool noDropShown() { return GetCursor() == LoadCursorW(nullptr, IDC_NO); }
  // The dialog manager's default id, and the button's own border.
  bool drawnAsDefault(int id) {
    const LRESULT def = SendMessageW(window_.controls().dialog(), DM_GETDEFID, 0, 0);
    const LONG style = GetWindowLongW(window_.controls().item(id), GWL_STYLE);
    return LOWORD(def) == id && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  }
  std::string statusText() {
    HWND bar = window_.controls().statusBar();
    std::wstring text(static_cast<std::size_t>(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0))),
                      L'\0');
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    return win32::utf8FromWide(text.c_str());
  }
  int windowWidth() {
    RECT r{};
    GetWindowRect(window_.hwnd(), &r);
    return r.right - r.left;
  }
  // The window's own message loop, up to what is queued now.
  void settle() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (window_.preTranslate(msg) || IsDialogMessageW(window_.controls().dialog(), &msg))
        continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

 private:
  HWND listWindow(int list) { return window_.controls().item(list); }
  // The middle of a row's second cell, in the list's client pixels.
  LPARAM centre(int list, int row) {
    settle();
    RECT r{};
    r.top = 1;
    r.left = LVIR_BOUNDS;
    SendMessageW(listWindow(list), LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&r));
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  win32::EditorWindow window_;
  Recorder<editor::ControlEvents> sink_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, PortConformance, WinHarness);

}  // namespace velmora::test
