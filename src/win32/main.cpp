// Velmora.exe: the editor's application object. It runs the main window
// until the editor ends it, and the program ends with it.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor_dialog.h"
#include "win32/editor_window.h"
#include "win32/shell.h"
#include "win32/wide.h"
#include "win32/win.h"
#include "win32/win_prompts.h"

namespace {

// The folder of the program's own file: the user guide and the favourite
// folder lie there.
std::filesystem::path programDir() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return std::filesystem::path(path).parent_path();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_BAR_CLASSES | ICC_WIN95_CLASSES |
                                                     ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  velmora::win32::EditorWindow window;
  if (!window.ok()) return 1;
  velmora::win32::WinPrompts prompts(window.hwnd());
  velmora::editor::EditorEnv env;
  env.programDir = programDir();
  velmora::editor::EditorDialog editor(window.controls(), prompts, env);
  window.attach(editor);
  editor.initDialog();
  // "Velmora.exe FILE": what a file association or a double click runs.
  // The C runtime has split the command line already; a name relative to
  // the folder the program started in is made whole before anything else
  // can change that folder.
  std::vector<std::string> files;
  for (int i = 1; __wargv != nullptr && i < __argc; ++i) {
    std::wstring whole(32768, L'\0');
    const DWORD n =
        GetFullPathNameW(__wargv[i], static_cast<DWORD>(whole.size()), whole.data(), nullptr);
    whole.resize(n > 0 && n < whole.size() ? n : 0);
    files.push_back(velmora::win32::utf8FromWide(whole.empty() ? __wargv[i] : whole));
  }
  if (!files.empty()) window.openOnShow(std::move(files));
  window.run();
  // COM, when a file dialog or the shell needed it.
  velmora::win32::endCom();
  return 0;
}
