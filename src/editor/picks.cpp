// What the user picked, kept by the entries themselves rather than by row
// numbers: after a sort, a move, a drag, an undo or any refill the pick is
// found again where its entry went, or forgotten when the entry is gone.
// The same holds for the satellite the information panel and the
// Transponder and Channel tabs show. Also the window's title and the
// saved state, worked out again after every event.
#include <algorithm>
#include <filesystem>

#include "db/path_text.h"
#include "editor/editor_dialog.h"
#include "layout.h"
#include "resource_ids.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

}  // namespace

std::string EditorDialog::entryKey(int tab, int row) const {
  if (tab == TAB_SATELLITE) return Picks::keyOf(db.sats[at(row)]);
  if (tab == TAB_TRANSPONDER) return Picks::keyOf(db.tpTables[at(view_.listedSat)][row]);
  return Picks::keyOf(db.svcTables[at(view_.listedSat)][row]);
}

// Rows of the shown tab's table: the satellites, or the transponders or
// channels of the satellite the tab shows.
int EditorDialog::rowsOnTab(int tab) const {
  if (tab == TAB_SATELLITE) return db.satCount;
  if (view_.listedSat < 0 || view_.listedSat >= db.satCount) return 0;
  return tab == TAB_TRANSPONDER ? db.tpTables[at(view_.listedSat)].count()
                                : db.svcTables[at(view_.listedSat)].count();
}

int& EditorDialog::pickedRow(int tab) {
  return tab == TAB_SATELLITE     ? view_.pickedSatRow
         : tab == TAB_TRANSPONDER ? view_.pickedTpRow
                                  : view_.pickedSvcRow;
}

void EditorDialog::capturePick(int listId, const std::vector<int>& rows) {
  const int tab = ListsPresenter::tabOfList(listId);
  picks_.capture(tab, rows, rowsOnTab(tab), [this, tab](int row) { return entryKey(tab, row); });
  view_.pickedSatRow = view_.pickedTpRow = view_.pickedSvcRow = -1;
  view_.rowPicked = !picks_.empty();
  if (!picks_.empty()) pickedRow(tab) = picks_.frontRow();
}

// Nothing picked, and no row of the shown list looks picked.
void EditorDialog::clearPick() {
  picks_.clear();
  view_.rowPicked = false;
  view_.pickedSatRow = view_.pickedTpRow = view_.pickedSvcRow = -1;
  const int list = ListsPresenter::listOfTab(curTab);
  if (!controls_.listSelectedRows(list).empty()) controls_.listSelectRows(list, {});
}

void EditorDialog::recapturePick() {
  const int tab = picks_.tab();
  picks_.recapture(rowsOnTab(tab), [this, tab](int row) { return entryKey(tab, row); });
}

// Finds each picked entry again in the shown table: first where it was,
// else the same entry nearest to where it was. When the entry the panel
// shows is gone, the whole pick goes and the panel is emptied.
void EditorDialog::followPicks() {
  if (picks_.empty() || picks_.tab() != curTab) {
    if (view_.rowPicked || !picks_.empty()) {
      clearPick();
      clearEditPanel();
    }
    view_.pickedSatRow = view_.pickedTpRow = view_.pickedSvcRow = -1;
    return;
  }
  const Picks::Followed followed =
      picks_.follow(rowsOnTab(curTab), [this](int row) { return entryKey(curTab, row); });
  if (followed.lost) {
    clearPick();
    clearEditPanel();
    return;
  }
  view_.pickedSatRow = view_.pickedTpRow = view_.pickedSvcRow = -1;
  pickedRow(curTab) = picks_.frontRow();
  view_.rowPicked = true;

  const int list = ListsPresenter::listOfTab(curTab);
  const std::vector<int> rows = picks_.rows();
  std::vector<int> shown = controls_.listSelectedRows(list);
  std::vector<int> wanted = rows;
  std::sort(shown.begin(), shown.end());
  std::sort(wanted.begin(), wanted.end());
  // After a command changed the list the picked row is given again, which
  // makes it the list's current row too, and brought into view: the
  // keyboard goes on from the row the user sees picked.
  const bool show = showPickedRow_;
  if (shown != wanted || show) controls_.listSelectRows(list, rows);
  if (followed.moved || show) controls_.listEnsureVisible(list, picks_.frontRow());
}

// The satellite the information panel names (and the Transponder and
// Channel tabs show) is followed the same way; when it is gone, the one
// now in its place is shown.
void EditorDialog::followShownSatellite() {
  if (db.satCount <= 0) {
    view_.shownSat = 0;
    shownSatKey_.clear();
    return;
  }
  int s = std::clamp(view_.shownSat, 0, db.satCount - 1);
  if (!shownSatKey_.empty() &&
      (view_.shownSat != s || entryKey(TAB_SATELLITE, s) != shownSatKey_)) {
    int best = -1;
    for (int r = 0; r < db.satCount; ++r)
      if (entryKey(TAB_SATELLITE, r) == shownSatKey_ &&
          (best < 0 || std::abs(r - view_.shownSat) < std::abs(best - view_.shownSat)))
        best = r;
    if (best >= 0) s = best;
  }
  view_.shownSat = s;
  shownSatKey_ = entryKey(TAB_SATELLITE, s);
}

void EditorDialog::showSatellite(int s) {
  view_.shownSat = s;
  shownSatKey_ = s >= 0 && s < db.satCount ? entryKey(TAB_SATELLITE, s) : std::string();
}

// After every event: the shown satellite and the pick found again, the
// Transponder and Channel tabs on the shown satellite, the information
// panel, the saved state, the title, the Undo and Redo items and the
// button Enter presses.
void EditorDialog::settleView() {
  if (loaderBusy) return;
  followShownSatellite();
  if (curTab != TAB_SATELLITE && db.satCount > 0 && view_.listedSat != view_.shownSat) {
    clearPick();
    refillTab(curTab);
  }
  followPicks();
  showPickedRow_ = false;
  if (db.satCount > 0) {
    refreshInfoPanel(view_.shownSat);
  } else {
    for (int id : {IDC_SEL_SAT, IDC_SEL_CH, IDC_SEL_TP, IDC_TOTAL_TP, IDC_TOTAL_CH})
      controls_.setText(id, ".");
  }
  updateUndoItems();
  updateClipboardItems();
  updateTitle();
  showEnterButton();
}

int EditorDialog::enterButton() const {
  return view_.rowPicked && clickedRowExists() ? IDC_CHANGE : IDC_ADD;
}

void EditorDialog::showEnterButton() {
  const int button = enterButton();
  if (button == shownDefault_) return;
  shownDefault_ = button;
  controls_.setDefaultButton(button);
}

// The database as it is now is the one in the file (or the empty one).
void EditorDialog::markSavedState() {
  savedContent_ = db;
  savedLayout_ = wdbLayout;
}

bool EditorDialog::isSaved() const {
  return wdbLayout == savedLayout_ && sameContent(db, savedContent_);
}

void EditorDialog::updateTitle() {
  std::string title(editorDialog().caption);
  if (!shownFile_.empty()) {
    title += " - " + utf8FromPath(pathFromUtf8(shownFile_).filename());
  }
  const bool modified = hasUnsavedWork();
  if (title == shownTitle_ && modified == shownModified_) return;
  shownTitle_ = title;
  shownModified_ = modified;
  controls_.setWindowTitle(title, modified);
}

// The panel's fields empty and its choices as at start-up.
void EditorDialog::clearEditPanel() { panel_.clear(); }

}  // namespace velmora::editor
