// The main window: menu bar and toolbar above a pane that holds the
// controls of the editor's template. It decides nothing itself: menu items, toolbar buttons, keys,
// clicks, tab and combo choices and close requests all go to EditorDialog.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "win32/win.h"
#include "win32/win_controls.h"

namespace velmora::editor {
class EditorDialog;
}

namespace velmora::win32 {

class EditorWindow final : public editor::ControlEvents {
 public:
  // Creates the window, hidden, with its menu, toolbar and tips. ok() is
  // false when the toolbar could not be made.
  EditorWindow();
  ~EditorWindow() override;
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  bool ok() const { return hwnd_ != nullptr && toolBar_ != nullptr; }
  HWND hwnd() const { return hwnd_; }
  WinControls& controls() { return *controls_; }

  // From now on every event goes to `editor`.
  void attach(editor::EditorDialog& editor);
  // Shows the window and runs it until the editor ends it; its result.
  int run();
  // Files to open as Open would, once the window shows.
  void openOnShow(std::vector<std::string> files) { openOnShow_ = std::move(files); }

  // The message loop's first look at a message: keys reach the editor
  // (and during a drag, Esc ends it) before any control sees them. True
  // when the message goes no further.
  bool preTranslate(MSG& msg);

  // ControlEvents.
  void command(int id) override;
  void tabChanged(int id) override;
  void listClick(int id, const std::vector<int>& rows) override;
  void listRightClick(int id) override;
  void columnClick(int id) override;
  void comboChanged(int id) override;
  void dragBegin(int id, int row) override;
  void dragMove(int overList, int row) override;
  void dragRelease(int overList, int row) override;
  void dragCancel() override;

 private:
  static INT_PTR CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool buildToolBar();
  void placePane(bool centre);
  void layoutFrame();
  void layoutPane();
  void setIcons();
  void dpiChanged(int dpi, const RECT& suggested);
  void addSystemMenuItem();
  bool toolTipText(NMHDR& header);
  INT_PTR queryEndSession();

  // The frame, and the pane of controls in it.
  HWND hwnd_ = nullptr;
  HWND pane_ = nullptr;
  HWND border_ = nullptr;
  HWND toolBar_ = nullptr;
  HWND statusBar_ = nullptr;
  // The frame's size when the pane has its template's size: the least the
  // user may size the window to.
  SIZE minimumFrame_{};
  HMENU menu_ = nullptr;
  std::unique_ptr<WinControls> controls_;
  editor::EditorDialog* editor_ = nullptr;
  std::wstring tipText_;
  bool ended_ = false;
  std::vector<std::string> openOnShow_;
  int result_ = 0;
};

}  // namespace velmora::win32
