// The Find dialog: a text and "Find next", which looks for the next row of
// the shown list that holds the text. The dialog only asks; the window
// does the looking through `findNext`, which tells whether a row was
// found. "All satellites" ends it with IDC_FIND_ALL_SATS: the window then
// looks for the text in every satellite.
#pragma once

#include <functional>
#include <string>

#include "editor/port.h"
#include "resource_ids.h"

namespace velmora::editor {

class FindDialog : public SubDialog {
 public:
  FindDialog(Questions& prompts, std::string start,
             std::function<bool(const std::string&)> findNext)
      : text(std::move(start)), prompts_(prompts), findNext_(std::move(findNext)) {}

  int dialogId() const override { return res::IDD_FIND; }
  void onInit(Controls& c) override;
  bool onCommand(Controls& c, int commandId) override;

  // The text as last searched for; the window offers it again next time.
  std::string text;

 private:
  Questions& prompts_;
  std::function<bool(const std::string&)> findNext_;
};

}  // namespace velmora::editor
