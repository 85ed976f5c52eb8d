// The Move dialog: asks for the position, counted from 1, that the picked
// entry (or the first of several picked entries) is to take. It only reads the number; the Move
// command checks it.
//
// Its buttons are not the usual OK and Cancel commands: OK is 1140 and
// Cancel 1069. Enter (ID_OK) accepts as OK does, unless the Cancel button
// has the focus; Esc (ID_CANCEL) cancels.
#pragma once

#include "editor/port.h"
#include "resource_ids.h"

namespace velmora::editor {

class MoveDialog : public SubDialog {
 public:
  int dialogId() const override { return res::IDD_MOVE; }
  void onInit(Controls& c) override;
  bool onCommand(Controls& c, int commandId) override;

  // The number of entries to move, set before the dialog runs: with more
  // than one the dialog says how many.
  int entries = 1;
  // The typed position: the leading digits of the text, 0 without any.
  int position = 0;
};

}  // namespace velmora::editor
