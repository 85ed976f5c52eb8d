#include "win32/shell.h"

#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

namespace velmora::win32 {

namespace {

HMODULE library(const wchar_t* name) { return LoadLibraryW(name); }

template <typename Fn>
Fn function(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HMODULE shell32() {
  static HMODULE module = library(L"shell32.dll");
  return module;
}

HMODULE ole32() {
  static HMODULE module = library(L"ole32.dll");
  return module;
}

bool comStarted = false;

}  // namespace

void needCom() {
  static const bool tried = [] {
    using Init = HRESULT(WINAPI*)(LPVOID);
    if (const auto init = function<Init>(ole32(), "OleInitialize"))
      comStarted = SUCCEEDED(init(nullptr));
    return true;
  }();
  (void)tried;
}

void endCom() {
  if (!comStarted) return;
  using Uninit = void(WINAPI*)();
  if (const auto uninit = function<Uninit>(ole32(), "OleUninitialize")) uninit();
  comStarted = false;
}

bool shellOpen(HWND owner, const std::wstring& target) {
  needCom();
  using Execute = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  const auto execute = function<Execute>(shell32(), "ShellExecuteW");
  if (execute == nullptr) return false;
  const auto result = reinterpret_cast<INT_PTR>(
      execute(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

// The session names the folder in APPDATA; the shell is asked only when
// that is missing.
std::wstring roamingAppData() {
  std::wstring folder(32768, L'\0');
  const DWORD n =
      GetEnvironmentVariableW(L"APPDATA", folder.data(), static_cast<DWORD>(folder.size()));
  if (n > 0 && n < folder.size()) {
    folder.resize(n);
    return folder;
  }
  folder.clear();
  using Known = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
  using Free = void(WINAPI*)(LPVOID);
  const auto known = function<Known>(shell32(), "SHGetKnownFolderPath");
  const auto free = function<Free>(ole32(), "CoTaskMemFree");
  PWSTR path = nullptr;
  if (known != nullptr &&
      SUCCEEDED(known(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path)) && path != nullptr)
    folder = path;
  if (free != nullptr) free(path);
  return folder;
}

std::vector<std::wstring> droppedFiles(HDROP drop) {
  std::vector<std::wstring> files;
  using Query = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
  using Finish = void(WINAPI*)(HDROP);
  const auto query = function<Query>(shell32(), "DragQueryFileW");
  const auto finish = function<Finish>(shell32(), "DragFinish");
  if (query != nullptr) {
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      std::wstring name(query(drop, i, nullptr, 0) + 1, L'\0');
      name.resize(query(drop, i, name.data(), static_cast<UINT>(name.size())));
      files.push_back(std::move(name));
    }
  }
  if (finish != nullptr) finish(drop);
  return files;
}

}  // namespace velmora::win32
