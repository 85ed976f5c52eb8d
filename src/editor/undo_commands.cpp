// Undo and redo in the window: every command that may change the
// database's content is run as one step, and an undone step shows the
// window as it was then.
#include <algorithm>

#include "editor/editor_dialog.h"
#include "resource_ids.h"

namespace velmora::editor {

using namespace velmora::res;

void EditorDialog::asStep(const std::function<void()>& change) {
  history_.begin(db, fileState());
  change();
  history_.commit(db, fileState());
}

void EditorDialog::undoStep() {
  FileState file = fileState();
  if (history_.undo(db, file)) {
    applyFileState(file);
    showRestoredContent();
    showPickedRow_ = true;
    // What the line said of the step is no longer so.
    controls_.setStatusText("");
  }
}

void EditorDialog::redoStep() {
  FileState file = fileState();
  if (history_.redo(db, file)) {
    applyFileState(file);
    showRestoredContent();
    showPickedRow_ = true;
    controls_.setStatusText("");
  }
}

// The layout the database is saved in and the File line come back with
// the content.
void EditorDialog::applyFileState(const FileState& state) {
  wdbLayout = state.layout;
  if (state.file.empty()) {
    controls_.setText(IDC_FILE, ".");
    controls_.setToolTip(IDC_FILE, "");
    shownFile_.clear();
  } else {
    filePath = state.file;
    showFileLine(state.file);
  }
}

// The lists written again; the picks and the shown satellite are found
// again where their entries now are (settleView after the command).
void EditorDialog::showRestoredContent() {
  const std::string shownBefore = shownSatKey_;
  followShownSatellite();
  rewriteSatelliteCombos();
  if (db.satCount == 0) {
    clearPick();
    clearEditPanel();
    for (int list : {IDC_SAT_LIST, IDC_TP_LIST, IDC_SVC_LIST}) lists_.clear(list);
    bringUpList(curTab);
    return;
  }
  if (curTab == TAB_SATELLITE) {
    relistCurrentTab();
  } else {
    // The tab shows the same satellite's table as before, when it is
    // still there, and its pick is found again in it.
    if (shownSatKey_ != shownBefore) {
      clearPick();
      clearEditPanel();
    }
    refillTab(curTab);
  }
}

void EditorDialog::updateUndoItems() {
  controls_.menuEnable(ID_EDIT_UNDO, history_.canUndo());
  controls_.menuEnable(ID_EDIT_REDO, history_.canRedo());
}

}  // namespace velmora::editor
