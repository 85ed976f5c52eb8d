#include "win32/win_prompts.h"

#include <commdlg.h>

#include <algorithm>

#include "layout.h"
#include "resource_ids.h"
#include "texts.h"
#include "win32/menus.h"
#include "win32/shell.h"
#include "win32/sub_dialog.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

// A Yes/No question is answered with Yes or No only. Windows gives such a
// box no Cancel and ignores Esc, but not every system does: while the
// question is up, the box (a dialog of the system's dialog class) refuses
// Esc, its close box, Alt+F4 and WM_CLOSE.
constexpr wchar_t DIALOG_CLASS[] = L"#32770";
thread_local HHOOK questionHook = nullptr;
thread_local bool questionBoxFound = false;

LRESULT CALLBACK questionBoxProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) return 0;
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case WM_CLOSE:
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, &questionBoxProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

LRESULT CALLBACK questionHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && !questionBoxFound) {
    auto* w = reinterpret_cast<HWND>(wParam);
    wchar_t name[16] = {};
    if (GetClassNameW(w, name, 16) > 0 && std::wstring_view(name) == DIALOG_CLASS) {
      questionBoxFound = true;
      SetWindowSubclass(w, &questionBoxProc, 1, 0);
    }
  }
  return CallNextHookEx(questionHook, code, wParam, lParam);
}

// MessageBoxW with the guard above for a Yes/No box.
int messageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT type) {
  const bool question = (type & MB_TYPEMASK) == MB_YESNO;
  if (question) {
    questionBoxFound = false;
    questionHook = SetWindowsHookExW(WH_CBT, &questionHookProc, nullptr, GetCurrentThreadId());
  }
  const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), type);
  if (question && questionHook != nullptr) {
    UnhookWindowsHookEx(questionHook);
    questionHook = nullptr;
  }
  return answer;
}

}  // namespace

// The user's settings: an ini file in the user's roaming application data
// folder, "Velmora\Velmora.ini", kept in UTF-16 so that a path in any
// script survives. Nothing is made until a setting is written. A value's
// line breaks travel as '|', which no Windows path holds.
namespace {

std::wstring settingsFolder() {
  const std::wstring folder = roamingAppData();
  return folder.empty() ? folder : folder + L"\\Velmora";
}

std::wstring settingsFile(const std::wstring& folder) {
  return folder.empty() ? folder : folder + L"\\Velmora.ini";
}

// The profile functions keep a file in the encoding they find: one that
// begins with the UTF-16 byte-order mark stays Unicode. The folder and
// that file are made here, before the first write; the file of an earlier
// version, written in the ANSI code page, is carried over.
bool prepareSettingsFile(const std::wstring& folder, const std::wstring& file) {
  if (folder.empty()) return false;
  CreateDirectoryW(folder.c_str(), nullptr);
  std::string old;
  HANDLE in = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in != INVALID_HANDLE_VALUE) {
    LARGE_INTEGER size{};
    if (GetFileSizeEx(in, &size) && size.QuadPart < (1 << 20)) {
      old.resize(static_cast<std::size_t>(size.QuadPart));
      DWORD read = 0;
      if (!ReadFile(in, old.data(), static_cast<DWORD>(old.size()), &read, nullptr)) read = 0;
      old.resize(read);
    }
    CloseHandle(in);
    if (old.starts_with("\xFF\xFE")) return true;
  }
  std::wstring text(1, L'\xFEFF');
  const int n =
      MultiByteToWideChar(CP_ACP, 0, old.data(), static_cast<int>(old.size()), nullptr, 0);
  if (n > 0) {
    text.resize(1 + static_cast<std::size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, old.data(), static_cast<int>(old.size()), text.data() + 1, n);
  }
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  const bool ok = WriteFile(out, text.data(), bytes, &written, nullptr) && written == bytes;
  CloseHandle(out);
  return ok;
}

}  // namespace

std::string WinPrompts::setting(std::string_view key) {
  const std::wstring file = settingsFile(settingsFolder());
  if (file.empty()) return {};
  std::wstring value(32768, L'\0');
  const DWORD n = GetPrivateProfileStringW(L"Velmora", wideFromUtf8(key).c_str(), L"", value.data(),
                                           static_cast<DWORD>(value.size()), file.c_str());
  value.resize(n);
  // A setting is UTF-8 text, as paths are above the system.
  std::string text = utf8FromWide(value);
  std::replace(text.begin(), text.end(), '|', '\n');
  return text;
}

void WinPrompts::setSetting(std::string_view key, std::string_view value) {
  const std::wstring folder = settingsFolder();
  const std::wstring file = settingsFile(folder);
  if (!prepareSettingsFile(folder, file)) return;
  std::string text(value);
  std::replace(text.begin(), text.end(), '\n', '|');
  WritePrivateProfileStringW(L"Velmora", wideFromUtf8(key).c_str(), wideFromUtf8(text).c_str(),
                             file.c_str());
}

WinPrompts::~WinPrompts() {
  for (Worker& worker : workers_) {
    if (worker.thread.joinable()) worker.thread.join();
  }
}

editor::Answer WinPrompts::message(std::string_view text, std::string_view caption,
                                   editor::Buttons buttons, editor::Icon icon) {
  UINT type = MB_OK;
  switch (buttons) {
    case editor::Buttons::Ok:
      type = MB_OK;
      break;
    case editor::Buttons::YesNo:
      type = MB_YESNO;
      break;
    case editor::Buttons::YesNoDefaultNo:
      type = MB_YESNO | MB_DEFBUTTON2;
      break;
    case editor::Buttons::YesNoCancel:
      type = MB_YESNOCANCEL;
      break;
  }
  switch (icon) {
    case editor::Icon::Exclamation:
      type |= MB_ICONEXCLAMATION;
      break;
    case editor::Icon::Information:
      type |= MB_ICONINFORMATION;
      break;
    case editor::Icon::Question:
      type |= MB_ICONQUESTION;
      break;
  }
  const std::wstring title = wideFromUtf8(caption.empty() ? text::APP_NAME : caption);
  switch (messageBox(owner_, wideFromUtf8(text), title, type)) {
    case IDYES:
      return editor::Answer::Yes;
    case IDNO:
      return editor::Answer::No;
    case IDCANCEL:
      return buttons == editor::Buttons::Ok ? editor::Answer::Ok : editor::Answer::Cancel;
    default:
      return buttons == editor::Buttons::Ok            ? editor::Answer::Ok
             : buttons == editor::Buttons::YesNoCancel ? editor::Answer::Cancel
                                                       : editor::Answer::No;
  }
}

namespace {

// The file dialogs' library is loaded when a file is first chosen, not
// with the program: most starts never need it.
using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
FileDialogFn fileDialog(bool save) {
  static HMODULE library = LoadLibraryW(L"comdlg32.dll");
  if (library == nullptr) return nullptr;
  return reinterpret_cast<FileDialogFn>(reinterpret_cast<void*>(
      GetProcAddress(library, save ? "GetSaveFileNameW" : "GetOpenFileNameW")));
}

}  // namespace

// The standard file dialog: the user may pick a file or type a new name,
// and the editor asks its own question before replacing a file.
std::optional<std::string> WinPrompts::chooseFile(editor::FilePurpose purpose,
                                                  std::string_view filter) {
  std::wstring filters = widen(filter);
  std::replace(filters.begin(), filters.end(), L'|', L'\0');
  filters.push_back(L'\0');
  std::wstring file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  const bool save = purpose == editor::FilePurpose::Save;
  needCom();
  const auto run = fileDialog(save);
  if (run == nullptr || !run(&ofn)) return std::nullopt;
  file.resize(wcsnlen(file.c_str(), file.size()));
  if (file.empty()) return std::nullopt;
  return utf8FromWide(file);
}

int WinPrompts::runModal(editor::SubDialog& dialog) { return runSubDialog(owner_, dialog); }

bool WinPrompts::shellOpen(std::string_view target) {
  return win32::shellOpen(owner_, wideFromUtf8(target));
}

// The guide is an HTML file next to the program; the default browser
// shows it. Nothing happens when it is missing.
void WinPrompts::showHelp(std::string_view file) {
  const std::wstring path = wideFromUtf8(file);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
  win32::shellOpen(owner_, path);
}

int WinPrompts::contextMenu(int popupIndex) {
  const auto popups = res::mainMenu();
  if (popupIndex < 0 || static_cast<std::size_t>(popupIndex) >= popups.size()) return 0;
  HMENU menu = buildPopup(popups[static_cast<std::size_t>(popupIndex)]);
  // Its items as the window's menu bar has them: greyed, checked, or not
  // there at all.
  if (HMENU bar = GetMenu(owner_)) {
    for (int at = GetMenuItemCount(menu) - 1; at >= 0; --at) {
      const UINT id = GetMenuItemID(menu, at);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;
      const UINT state = GetMenuState(bar, id, MF_BYCOMMAND);
      if (state == static_cast<UINT>(-1)) {
        DeleteMenu(menu, static_cast<UINT>(at), MF_BYPOSITION);
        continue;
      }
      EnableMenuItem(
          menu, id,
          MF_BYCOMMAND | ((state & (MF_GRAYED | MF_DISABLED)) != 0 ? MF_GRAYED : MF_ENABLED));
      CheckMenuItem(menu, id,
                    MF_BYCOMMAND | ((state & MF_CHECKED) != 0 ? MF_CHECKED : MF_UNCHECKED));
    }
  }
  POINT at{};
  GetCursorPos(&at);
  const BOOL chosen = TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                       at.y, owner_, nullptr);
  DestroyMenu(menu);
  return static_cast<int>(chosen);
}

void WinPrompts::runInBackground(std::function<std::function<void()>()> work) {
  // Workers that have finished are joined as new ones start.
  std::erase_if(workers_, [](Worker& worker) {
    if (!worker.done->load()) return false;
    worker.thread.join();
    return true;
  });
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread thread([work = std::move(work), owner = owner_, done] {
    std::function<void()> then = work();
    if (then) {
      auto* posted = new std::function<void()>(std::move(then));
      if (!PostMessageW(owner, WM_APP_RESULT, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
    }
    done->store(true);
  });
  workers_.push_back({std::move(thread), std::move(done)});
}

void runPostedResult(LPARAM lParam) {
  const std::unique_ptr<std::function<void()>> then(
      reinterpret_cast<std::function<void()>*>(lParam));
  if (then && *then) (*then)();
}

}  // namespace velmora::win32
