// Velmora.exe: the editor's application object. It runs the main window
// until the editor ends it, and the program ends with it.

#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor_dialog.h"
#include "win32/editor_window.h"
#include "win32/shell.h"
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
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) files.push_back(velmora::win32::pathBytes(argv[i]));
    LocalFree(argv);
    if (!files.empty()) window.openOnShow(std::move(files));
  }
  window.run();
  // COM, when a file dialog or the shell needed it.
  velmora::win32::endCom();
  return 0;
}
