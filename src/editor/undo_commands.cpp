// Undo and redo in the window: every command that may change the
// database's content is run as one step, and an undone step shows the
// window as it was then.
#include <algorithm>

#include "editor/editor_dialog.h"
#include "resource_ids.h"

namespace velmora::editor {

using namespace velmora::res;

void EditorDialog::asStep(Handler handler) {
  history_.begin(db);
  (this->*handler)();
  history_.commit(db);
  // The database now holds what is in the file (a save, or nothing
  // changed since one): undo comes back to this state as saved.
  if (db.savedFlag == 1) history_.markSaved();
  updateUndoItems();
}

void EditorDialog::undoStep() {
  if (history_.undo(db)) showRestoredContent();
  updateUndoItems();
}

void EditorDialog::redoStep() {
  if (history_.redo(db)) showRestoredContent();
  updateUndoItems();
}

void EditorDialog::showRestoredContent() {
  db.savedFlag = history_.atSavedState() ? 1 : 0;
  // Rows picked before belong to lists that are written again.
  db.rowPicked = 0;
  db.selSatRow = db.selTpRow = db.selSvcRow = -1;
  db.selSat = std::clamp(db.selSat, 0, std::max(db.satCount - 1, 0));
  for (int combo : {IDC_TP_SAT, IDC_SVC_SAT}) {
    controls_.comboClear(combo);
    for (int s = 0; s < db.satCount; ++s)
      controls_.comboInsert(combo, s, db.sats[static_cast<std::size_t>(s)].name);
  }
  refillTab(curTab);
  if (db.satCount > 0) {
    refreshInfoPanel(db.selSat);
    return;
  }
  // Back to no satellite at all: the panel as after New, but the File line
  // still names the file last opened or saved.
  const std::string file = controls_.text(IDC_FILE);
  const std::string tip = controls_.toolTip(IDC_FILE);
  resetInfoPanel();
  controls_.setText(IDC_FILE, file);
  controls_.setToolTip(IDC_FILE, tip);
}

void EditorDialog::updateUndoItems() {
  controls_.menuEnable(ID_EDIT_UNDO, history_.canUndo());
  controls_.menuEnable(ID_EDIT_REDO, history_.canRedo());
}

}  // namespace velmora::editor
