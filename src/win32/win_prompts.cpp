#include "win32/win_prompts.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "layout.h"
#include "resource_ids.h"
#include "texts.h"
#include "win32/caption_fit.h"
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
thread_local bool questionBoxGuarded = false;

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

// Watches for the box as it is made: every box shows its whole caption,
// and a question gets the guard above.
LRESULT CALLBACK questionHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && !questionBoxFound) {
    auto* w = reinterpret_cast<HWND>(wParam);
    wchar_t name[16] = {};
    if (GetClassNameW(w, name, 16) > 0 && std::wstring_view(name) == DIALOG_CLASS) {
      questionBoxFound = true;
      fitCaptionWhenShown(w);
      if (questionBoxGuarded) SetWindowSubclass(w, &questionBoxProc, 1, 0);
    }
  }
  return CallNextHookEx(questionHook, code, wParam, lParam);
}

// MessageBoxW, its caption whole, with the guard above for a Yes/No box.
int messageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT type) {
  questionBoxGuarded = (type & MB_TYPEMASK) == MB_YESNO;
  questionBoxFound = false;
  questionHook = SetWindowsHookExW(WH_CBT, &questionHookProc, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), type);
  if (questionHook != nullptr) {
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

namespace {

// The file types as the dialog takes them: each name and pattern ended by
// a NUL, the list by two.
std::wstring dialogFilters(std::string_view filter) {
  std::wstring filters = widen(filter);
  std::replace(filters.begin(), filters.end(), L'|', L'\0');
  filters.push_back(L'\0');
  return filters;
}

// Runs the open or save dialog over `buffer`, which holds what it hands
// back; false when cancelled.
bool runFileDialog(HWND owner, bool save, const std::wstring& filters, std::wstring& buffer,
                   DWORD flags) {
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size() - 1);
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | flags;
  needCom();
  const auto run = fileDialog(save);
  return run != nullptr && run(&ofn);
}

}  // namespace

// The standard file dialog: the user may pick a file or type a new name,
// and the editor asks its own question before replacing a file.
std::optional<std::string> WinPrompts::chooseFile(editor::FilePurpose purpose,
                                                  std::string_view filter) {
  std::wstring file(32768, L'\0');
  if (!runFileDialog(owner_, purpose == editor::FilePurpose::Save, dialogFilters(filter), file, 0))
    return std::nullopt;
  file.resize(wcsnlen(file.c_str(), file.size()));
  if (file.empty()) return std::nullopt;
  return utf8FromWide(file);
}

// Several files: the dialog hands back the folder and then each name, each
// ended by a NUL, the list by two; a single file comes as one whole path.
std::vector<std::string> WinPrompts::chooseFiles(std::string_view filter) {
  std::wstring buffer(65536, L'\0');
  std::vector<std::string> chosen;
  if (!runFileDialog(owner_, false, dialogFilters(filter), buffer,
                     OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT))
    return chosen;
  std::vector<std::wstring> parts;
  for (std::size_t at = 0; at < buffer.size() && buffer[at] != L'\0';) {
    const std::size_t end = wcsnlen(buffer.c_str() + at, buffer.size() - at);
    parts.emplace_back(buffer.c_str() + at, end);
    at += end + 1;
  }
  if (parts.size() == 1) {
    chosen.push_back(utf8FromWide(parts.front()));
  } else {
    std::wstring folder = parts.front();
    if (!folder.empty() && folder.back() != L'\\') folder.push_back(L'\\');
    for (std::size_t i = 1; i < parts.size(); ++i)
      chosen.push_back(utf8FromWide(folder + parts[i]));
  }
  return chosen;
}

namespace {

// The Save As dialog's hook: a file type chosen is explained, and a name
// confirmed is checked by the editor; a refusal keeps the dialog open.
UINT_PTR CALLBACK saveAsHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return 0;
  const auto* note = reinterpret_cast<const OFNOTIFYW*>(lParam);
  const auto& request = *reinterpret_cast<const editor::SaveAsRequest*>(note->lpOFN->lCustData);
  const int type = static_cast<int>(note->lpOFN->nFilterIndex) - 1;
  HWND dialog = GetParent(hook);
  const std::wstring caption = wideFromUtf8(text::APP_NAME);
  switch (note->hdr.code) {
    case CDN_TYPECHANGE: {
      const std::string about = request.aboutType ? request.aboutType(type) : std::string();
      if (!about.empty())
        MessageBoxW(dialog, wideFromUtf8(about).c_str(), caption.c_str(),
                    MB_OK | MB_ICONINFORMATION);
      return 0;
    }
    case CDN_FILEOK: {
      const std::string refusal =
          request.check ? request.check(utf8FromWide(note->lpOFN->lpstrFile), type) : std::string();
      if (refusal.empty()) return 0;
      MessageBoxW(dialog, wideFromUtf8(refusal).c_str(), caption.c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
      SetWindowLongPtrW(hook, DWLP_MSGRESULT, 1);
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace

// Save As: the system's dialog with the layouts as its file types, started
// at the database's file, with a hook that asks the editor.
std::optional<editor::SaveAsChoice> WinPrompts::chooseSaveAs(const editor::SaveAsRequest& request) {
  std::wstring filters;
  for (const std::string& type : request.types)
    filters += wideFromUtf8(type) + L'\0' + L"*.wdb" + L'\0';
  filters.push_back(L'\0');
  std::wstring file(32768, L'\0');
  const std::wstring initial = wideFromUtf8(request.initialPath);
  std::wstring folder;
  if (!initial.empty() && initial.size() < file.size()) {
    std::copy(initial.begin(), initial.end(), file.begin());
    const std::size_t slash = initial.find_last_of(L"\\/");
    if (slash != std::wstring::npos) folder = initial.substr(0, slash);
  }
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(request.chosenType + 1);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = L"Save As";
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
              OFN_ENABLEHOOK | OFN_ENABLESIZING;
  ofn.lpfnHook = &saveAsHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(&request);
  needCom();
  const auto run = fileDialog(true);
  if (run == nullptr || !run(&ofn)) return std::nullopt;
  file.resize(wcsnlen(file.c_str(), file.size()));
  if (file.empty()) return std::nullopt;
  return editor::SaveAsChoice{utf8FromWide(file), static_cast<int>(ofn.nFilterIndex) - 1};
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

// Plain text goes on the clipboard as UTF-16 with CR LF line ends, ended
// by a zero; the clipboard owns the memory once SetClipboardData took it.
void WinPrompts::setClipboardText(const std::string& utf8) {
  std::wstring text;
  for (const wchar_t c : wideFromUtf8(utf8)) {
    if (c == L'\n') text += L'\r';
    text += c;
  }
  if (!OpenClipboard(owner_)) return;
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* target = GlobalLock(memory)) {
      std::memcpy(target, text.c_str(), bytes);
      GlobalUnlock(memory);
      if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    } else {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
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
