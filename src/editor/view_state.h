// What the window shows of the database and what the user picked in it:
// kept beside the database, never in it.
#pragma once

namespace velmora::editor {

struct ViewState {
  // The satellite whose tables the Transponder and Channel lists hold; the
  // satellite count (or beyond) while they hold none.
  int listedSat = 0;
  // The satellite the information panel names and the Transponder and
  // Channel tabs show.
  int shownSat = 0;
  // The row of each list the edit panel shows, -1 for none; rowPicked
  // while the shown list has one.
  int pickedSatRow = -1;
  int pickedTpRow = -1;
  int pickedSvcRow = -1;
  bool rowPicked = false;
};

}  // namespace velmora::editor
