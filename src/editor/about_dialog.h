// The About box: the program icon, its name and the maker's notice, closed
// by OK, Enter, Esc or the close box.
#pragma once

#include "editor/port.h"
#include "resource_ids.h"

namespace velmora::editor {

class AboutDialog : public SubDialog {
 public:
  int dialogId() const override { return res::IDD_ABOUTBOX; }
  void onInit(Controls&) override {}
  bool onCommand(Controls&, int commandId) override {
    if (commandId != res::ID_OK && commandId != res::ID_CANCEL) return false;
    result = commandId;
    return true;
  }
};

}  // namespace velmora::editor
