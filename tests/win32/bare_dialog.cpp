// The yardstick for Velmora.exe's start-up: a bare Win32 dialog of about
// the main window's size, built from an in-memory template by the same
// compiler and flags, with what any such program starts with and nothing
// behind it: the same manifest (so the same common controls), a menu bar
// of four menus and a toolbar of four buttons with their images.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdint>
#include <vector>

namespace {

void add(std::vector<std::uint16_t>& t, const wchar_t* s) {
  do t.push_back(static_cast<std::uint16_t>(*s));
  while (*s++ != 0);
}

INT_PTR CALLBACK proc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) {
    DestroyWindow(hwnd);
    PostQuitMessage(0);
    return TRUE;
  }
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

// Four menus of a few items each, as a program's menu bar has.
HMENU menuBar() {
  HMENU bar = CreateMenu();
  for (const wchar_t* title : {L"&File", L"&Edit", L"&Option", L"&About"}) {
    HMENU popup = CreatePopupMenu();
    for (UINT id = 1; id <= 6; ++id) AppendMenuW(popup, MF_STRING, 100 + id, L"Item");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
  }
  return bar;
}

// Four buttons with the images bound into the program, at the top.
void toolBar(HWND dialog, HINSTANCE instance) {
  HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0,
                             0, 0, 0, dialog, nullptr, instance, nullptr);
  HIMAGELIST images = ImageList_LoadImageW(instance, MAKEINTRESOURCEW(132), 18, 0, RGB(255, 0, 255),
                                           IMAGE_BITMAP, LR_CREATEDIBSECTION);
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  TBBUTTON buttons[4] = {};
  for (int i = 0; i < 4; ++i) {
    buttons[i].iBitmap = i;
    buttons[i].idCommand = 200 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON;
  }
  SendMessageW(bar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(bar, TB_AUTOSIZE, 0, 0);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  std::vector<std::uint16_t> t;
  const DWORD style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  t.insert(t.end(), {1, 0xFFFF, 0, 0, 0, 0, static_cast<std::uint16_t>(style & 0xFFFF),
                     static_cast<std::uint16_t>(style >> 16), 0, 0, 0, 443, 305, 0, 0});
  add(t, L"Bare dialog");
  t.insert(t.end(), {8, FW_NORMAL, 0});
  add(t, L"Verdana");
  if (t.size() % 2 != 0) t.push_back(0);
  HWND dialog = CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                           nullptr, proc, 0);
  if (dialog == nullptr) return 1;
  SetMenu(dialog, menuBar());
  toolBar(dialog, instance);
  ShowWindow(dialog, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
