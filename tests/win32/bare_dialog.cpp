// The yardstick for Velmora.exe's start-up: a bare Win32 dialog of about
// the main window's size, built from an in-memory template by the same
// compiler and flags, with nothing behind it.
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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  std::vector<std::uint16_t> t;
  const DWORD style =
      DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  t.insert(t.end(), {1, 0xFFFF, 0, 0, 0, 0, static_cast<std::uint16_t>(style & 0xFFFF),
                     static_cast<std::uint16_t>(style >> 16), 0, 0, 0, 443, 305, 0, 0});
  add(t, L"Bare dialog");
  t.insert(t.end(), {8, FW_NORMAL, 0});
  add(t, L"Verdana");
  if (t.size() % 2 != 0) t.push_back(0);
  HWND dialog = CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                           nullptr, proc, 0);
  if (dialog == nullptr) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
