// The real Qt prompts, except that questions and file dialogs are answered
// from a script and nothing is handed to the desktop, so that a program can
// drive the editor's window without anyone at the screen.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "qt/qt_prompts.h"

namespace velmora::qt {

class ScriptedPrompts final : public QtPrompts {
 public:
  using QtPrompts::QtPrompts;

  // Questions
  std::deque<editor::Answer> answers;            // empty: Ok, or No
  std::deque<std::optional<std::string>> files;  // empty: cancelled
  std::vector<std::string> messages;
  std::vector<int> contextMenus;

  editor::Answer message(std::string_view text, std::string_view, editor::Buttons buttons,
                         editor::Icon) override {
    messages.emplace_back(text);
    if (answers.empty())
      return buttons == editor::Buttons::Ok ? editor::Answer::Ok : editor::Answer::No;
    const editor::Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> chooseFile(editor::FilePurpose, std::string_view) override {
    if (files.empty()) return std::nullopt;
    std::optional<std::string> file = files.front();
    files.pop_front();
    return file;
  }
  std::optional<editor::SaveAsChoice> chooseSaveAs(const editor::SaveAsRequest& request) override {
    std::optional<std::string> file = chooseFile(editor::FilePurpose::Save, "");
    if (!file) return std::nullopt;
    return editor::SaveAsChoice{*file, request.chosenType};
  }
  int contextMenu(int popupIndex) override {
    contextMenus.push_back(popupIndex);
    return 0;
  }

  // Settings stay in memory: a test never touches the user's own.
  std::map<std::string, std::string, std::less<>> settings;
  std::string setting(std::string_view key) override {
    const auto it = settings.find(key);
    return it == settings.end() ? std::string() : it->second;
  }
  void setSetting(std::string_view key, std::string_view value) override {
    settings[std::string(key)] = std::string(value);
  }

  // Shell: what the desktop was asked to open.
  std::vector<std::string> opened;
  bool shellOpen(std::string_view target) override {
    opened.emplace_back(target);
    return true;
  }
};

}  // namespace velmora::qt
