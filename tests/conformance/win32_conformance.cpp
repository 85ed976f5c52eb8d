// The port's rules held by the native Windows window: the main window as
// Velmora.exe builds it (its template, manifest and controls), worked with
// the messages that mouse and keyboard send.
// clang-format off
#include "win32/editor_window.h"  // the Windows headers, before <windowsx.h>
#include <windowsx.h>
#include <commdlg.h>
#include "conformance/port_conformance.h"
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "win32/wide.h"
#include "win32/win_prompts.h"

namespace velmora::test {
namespace {

// A user at the system's Save As dialog, acting on a timer while the
// dialog runs its own loop: the file type chosen in its box (cmb1), the
// name typed in its name box (cmb13, or edt1 in older dialogs), OK
// pressed; a message box that comes up answered with OK.
struct SaveAsUser {
  const std::vector<SaveAsStep>* steps = nullptr;
  std::size_t next = 0;
  SaveAsSeen seen;
};
SaveAsUser* saveAsUser = nullptr;

// The dialogs the user sees over the window: a message box before the
// file dialog it came from.
BOOL CALLBACK findPopup(HWND w, LPARAM out) {
  wchar_t name[16] = {};
  GetClassNameW(w, name, 16);
  if (!IsWindowVisible(w) || GetWindow(w, GW_OWNER) == nullptr || std::wstring(name) != L"#32770")
    return TRUE;
  HWND& found = *reinterpret_cast<HWND*>(out);
  if (found == nullptr || GetDlgItem(w, 0x470) == nullptr) found = w;
  return TRUE;
}

void CALLBACK actAtSaveAs(HWND, UINT, UINT_PTR, DWORD) {
  SaveAsUser& user = *saveAsUser;
  // The topmost popup of the thread: a message box, or the dialog itself.
  HWND popup = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findPopup, reinterpret_cast<LPARAM>(&popup));
  if (popup == nullptr) return;
  HWND types = GetDlgItem(popup, 0x470);
  if (types == nullptr) {
    PostMessageW(popup, WM_COMMAND, IDOK, 0);
    return;
  }
  HWND name = GetDlgItem(popup, 0x47c);
  if (name == nullptr) name = GetDlgItem(popup, 0x480);
  if (user.seen.shownType < 0) {
    wchar_t text[MAX_PATH] = {};
    GetWindowTextW(name, text, MAX_PATH);
    user.seen.shownName = win32::utf8FromWide(text);
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(popup, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    user.seen.shownFolder = win32::utf8FromWide(folder);
    user.seen.shownType = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
  }
  // One thing a tick, posted: a box it brings up is answered on the next.
  if (user.next == user.steps->size()) {
    PostMessageW(popup, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  const SaveAsStep& step = (*user.steps)[user.next];
  if (SendMessageW(types, CB_GETCURSEL, 0, 0) != step.type) {
    SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(step.type), 0);
    PostMessageW(popup, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(types));
    return;
  }
  ++user.next;
  SetWindowTextW(name, win32::wideFromUtf8(step.path).c_str());
  PostMessageW(popup, WM_COMMAND, IDOK, 0);
}

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
  static constexpr bool drivesSaveAs = false;
  SaveAsSeen saveAs(const editor::SaveAsRequest& request, const std::vector<SaveAsStep>& steps) {
    SaveAsUser user;
    user.steps = &steps;
    saveAsUser = &user;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &actAtSaveAs);
    win32::WinPrompts prompts(window_.hwnd());
    user.seen.choice = prompts.chooseSaveAs(request);
    KillTimer(nullptr, timer);
    saveAsUser = nullptr;
    return user.seen;
  }
  void setClipboardText(const std::string& utf8) {
    win32::WinPrompts(window_.hwnd()).setClipboardText(utf8);
  }
  // CF_UNICODETEXT as a program pasting it reads it: up to its zero, and
  // no further than the memory the clipboard holds.
  std::string clipboardText() {
    if (!OpenClipboard(window_.hwnd())) return "(the clipboard could not be opened)";
    std::wstring text = L"(no CF_UNICODETEXT)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
        text.assign(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    return win32::utf8FromWide(text);
  }
  static constexpr const char* clipboardLineEnd = "\r\n";
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
  static constexpr bool hasHeaders = true;
  void fitColumn(int list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(listWindow(list), LVM_GETHEADER, 0, 0));
    RECT item{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.right - 1, (item.top + item.bottom) / 2);
    PostMessageW(header, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(header, WM_LBUTTONUP, 0, at);
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

// Maximized, the window's title bar and status bar lie in the work area:
// only the sizing border goes past its edges.
TEST(Win32Window, MaximizedShowsItsTitleBarAndStatusBar) {
  win32::EditorWindow window;
  ASSERT_TRUE(window.ok());
  ShowWindow(window.hwnd(), SW_MAXIMIZE);
  RECT frame{}, client{}, status{};
  GetWindowRect(window.hwnd(), &frame);
  GetClientRect(window.hwnd(), &client);
  GetWindowRect(window.controls().statusBar(), &status);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window.hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
  const int border = (frame.right - frame.left - client.right) / 2;
  EXPECT_GE(frame.top + border, monitor.rcWork.top);
  EXPECT_LE(status.bottom, monitor.rcWork.bottom);
}

// A message box whose caption is much longer than its text is wide enough
// for the caption in the title bar's font, beside its close box.
RECT shownBox{};
void CALLBACK measureAndClose(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findPopup, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr) return;
  GetWindowRect(box, &shownBox);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}
TEST(Win32Window, MessageBoxShowsItsWholeCaption) {
  win32::EditorWindow window;
  ASSERT_TRUE(window.ok());
  const std::wstring caption = L"A caption a good deal longer than the text under it";
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE text{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);

  shownBox = RECT{};
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &measureAndClose);
  win32::WinPrompts(window.hwnd())
      .message("OK?", win32::utf8FromWide(caption), editor::Buttons::Ok, editor::Icon::Information);
  KillTimer(nullptr, timer);
  EXPECT_GE(shownBox.right - shownBox.left, text.cx + GetSystemMetrics(SM_CXSIZE));
}

}  // namespace velmora::test
