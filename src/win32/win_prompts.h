// Message boxes, the file dialog, modal sub-dialogs, the shell, the
// context menu and the loading worker, over the Win32 API.
#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "editor/port.h"
#include "win32/win.h"

namespace velmora::win32 {

// Posted to the main window by a finished worker; lParam is a heap
// std::function<void()> to run on the user-interface thread.
inline constexpr UINT WM_APP_RESULT = WM_APP + 2;

class WinPrompts final : public editor::Prompts {
 public:
  explicit WinPrompts(HWND owner) : owner_(owner) {}
  ~WinPrompts() override;

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
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  HWND owner_;
  std::vector<Worker> workers_;
};

// Runs the result a worker posted (WM_APP_RESULT).
void runPostedResult(LPARAM lParam);

}  // namespace velmora::win32
