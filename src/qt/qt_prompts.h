// Message boxes, the file dialog, sub-dialogs, the desktop's "open" and
// background work, for the editor logic.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

#include "editor/port.h"

class QThread;

namespace velmora::qt {

class QtControls;

// "Name|*.a;*.b|Name|*.c||" as Qt's "Name (*.a *.b);;Name (*.c)".
QString qtFileFilter(std::string_view filter);

class QtPrompts : public editor::Prompts {
 public:
  // Dialogs open over `parent`.
  explicit QtPrompts(QWidget* parent);
  // The context menu's items take their state (greyed, hidden, checked,
  // text) from the window's own menu items.
  void followMenus(const QtControls* controls) { menus_ = controls; }
  // Waits for background work still running.
  ~QtPrompts() override;

  // Questions
  editor::Answer message(std::string_view text, std::string_view caption, editor::Buttons buttons,
                         editor::Icon icon) override;
  std::vector<std::string> chooseFiles(std::string_view filter) override;
  std::optional<std::string> chooseFile(editor::FilePurpose purpose,
                                        std::string_view filter) override;
  std::optional<editor::SaveAsChoice> chooseSaveAs(const editor::SaveAsRequest& request) override;
  int runModal(editor::SubDialog& dialog) override;
  int contextMenu(int popupIndex) override;
  // Settings
  std::string setting(std::string_view key) override;
  void setSetting(std::string_view key, std::string_view value) override;
  // BackgroundWork
  void runInBackground(std::function<std::function<void()>()> work) override;
  // Shell
  bool shellOpen(std::string_view target) override;
  void showHelp(std::string_view file) override;
  void setClipboardText(const std::string& utf8) override;

 private:
  QPointer<QWidget> parent_;
  QPointer<QWidget> help_;
  const QtControls* menus_ = nullptr;
  std::vector<QPointer<QThread>> threads_;
};

}  // namespace velmora::qt
