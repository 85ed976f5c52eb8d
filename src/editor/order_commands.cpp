// Ordering in the window: Sort (menu, toolbar, F8, a column header), Move
// (menu, F5) with its dialog, and dragging a row within its list to move
// it, or out of the list to remove the picked rows. The order itself is
// worked out by the core (order/order.h); here are the window's rules:
// which list, which messages, what is refilled and what stays in view.
#include <algorithm>
#include <cstdio>

#include "editor/editor_dialog.h"
#include "editor/move_dialog.h"
#include "order/order.h"
#include "resource_ids.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

// Where the drag image is held: 100 pixels in, halfway down the row.
constexpr int DRAG_HOT_X = 100;
constexpr int DRAG_HOT_Y = 8;
// A drop lands before the row 10 pixels below the pointer, so that the
// pointer's tip on the lower half of a row means "after this row".
constexpr int DROP_BELOW = 10;

order::Tab tabOf(int tab) {
  switch (tab) {
    case TAB_SATELLITE:
      return order::Tab::Satellites;
    case TAB_TRANSPONDER:
      return order::Tab::Transponders;
    default:
      return order::Tab::Channels;
  }
}

int listOf(int tab) {
  switch (tab) {
    case TAB_SATELLITE:
      return IDC_SAT_LIST;
    case TAB_TRANSPONDER:
      return IDC_TP_LIST;
    default:
      return IDC_SVC_LIST;
  }
}

// The "No." column as the lists fill it.
std::string rowNumber(int tab, int row) {
  char buf[16];
  std::snprintf(buf, sizeof buf, tab == TAB_SATELLITE ? "%2d" : "%3d", row + 1);
  return buf;
}

}  // namespace

void EditorDialog::rewriteSatelliteCombos() {
  for (int combo : {IDC_TP_SAT, IDC_SVC_SAT}) {
    controls_.comboClear(combo);
    for (int s = 0; s < db.satCount; ++s)
      controls_.comboInsert(combo, s, db.sats[static_cast<std::size_t>(s)].name);
  }
}

void EditorDialog::sortEntries() {
  order::sortTab(db, tabOf(curTab));
  if (curTab == TAB_SATELLITE) rewriteSatelliteCombos();
  db.savedFlag = 0;
  relistCurrentTab();
  if (curTab == TAB_SATELLITE) db.curSat = db.satCount;
  if (curTab != TAB_CHANNEL) ensureRowVisible(0);
}

void EditorDialog::moveEntry() {
  const int count = order::entryCount(db, tabOf(curTab), db.curSat);
  if (count == 0) {
    warn(text::NO_DATA);
    db.rowPicked = 0;
    return;
  }
  // A click that hit no row, or a row no longer in the shown table, is no
  // pick: there is nothing to move.
  if (db.rowPicked != 1 || !clickedRowExists()) {
    warn(text::SELECT_A_LIST);
    return;
  }
  MoveDialog dialog;
  if (prompts_.runModal(dialog) != IDOK) return;
  moveTo(dialog.position);
  db.rowPicked = 0;
}

// Puts the picked entry of the current tab at `position` (from 1); true
// when the order changed.
bool EditorDialog::moveTo(int position) {
  const order::Tab tab = tabOf(curTab);
  const int count = order::entryCount(db, tab, db.curSat);
  if (position < 1 || position > count) {
    warn(text::NOT_AVAILABLE_POSITION);
    return false;
  }
  if (!clickedRowExists()) {
    warn(text::SELECT_A_LIST);
    return false;
  }
  const int from = curTab == TAB_SATELLITE     ? db.selSatRow
                   : curTab == TAB_TRANSPONDER ? db.selTpRow
                                               : db.selSvcRow;
  const int to = position - 1;
  if (from == to) return false;
  order::moveEntry(db, tab, db.curSat, from, to);
  if (curTab == TAB_SATELLITE) rewriteSatelliteCombos();

  // A drop moves the row in the list itself.
  if (!dropMove) {
    const int list = listOf(curTab);
    controls_.listDeleteAll(list);
    if (curTab == TAB_SATELLITE) {
      for (int s = 0; s < db.satCount; ++s) {
        db.curSat = s;
        insertSatRow();
        refreshInfoPanel(s);
      }
    } else {
      relistCurrentTab();
    }
    for (int i = 0; i < position; ++i) ensureRowVisible(i + 2);
  }
  db.savedFlag = 0;
  return true;
}

void EditorDialog::resetDrag() {
  if (dragging) controls_.dragEnd();
  dragging = 0;
  dragRow = -1;
  dropRow = -1;
  dragPoint = {};
  dropMove = 0;
}

void EditorDialog::onDragBegin(int listId, int row) {
  if (loaderBusy || dragging || listId != listOf(curTab)) return;
  if (row < 0 || row >= controls_.listRowCount(listId)) return;
  dragRow = row;
  dropRow = -1;
  dragging = 1;
  controls_.dragBegin(listId, row, DRAG_HOT_X, DRAG_HOT_Y);
}

void EditorDialog::onDragMove(int overList, int x, int y) {
  if (!dragging) return;
  dragPoint = {x, y};
  // Resting on the last row in view scrolls the list down one row, on the
  // first row in view up one row.
  const int list = listOf(curTab);
  if (overList != list) return;
  const int hit = controls_.listRowAt(list, y);
  if (hit < 0) return;
  const int top = controls_.listTopRow(list);
  const int page = controls_.listRowsPerPage(list);
  if (top + page == hit + 1 && hit + 1 < controls_.listRowCount(list)) {
    controls_.listEnsureVisible(list, hit + 1);
  } else if (top == hit && hit >= 1) {
    controls_.listEnsureVisible(list, hit - 1);
  }
}

void EditorDialog::onDragCancel() { resetDrag(); }

void EditorDialog::onDragRelease(int overList, int x, int y) {
  if (!dragging) return;
  dragging = 0;
  controls_.dragEnd();
  dragPoint = {x, y};
  droppedOnList_ = overList == listOf(curTab);
  asStep([this] { finishDrop(); });
}

// What a released drag does to the database, as one command.
void EditorDialog::finishDrop() {
  if (droppedOnList_) {
    dropOnList();
    return;
  }
  // Dropped anywhere else: the picked rows are removed, as Remove does,
  // without asking for a click first; the dragged row counts as picked.
  db.rowPicked = 1;
  (curTab == TAB_SATELLITE     ? db.selSatRow
   : curTab == TAB_TRANSPONDER ? db.selTpRow
                               : db.selSvcRow) = dragRow;
  if (order::entryCount(db, tabOf(curTab), db.curSat) > 0) removeEntry();
}

// The dragged entry comes to stand just before the row under the drop
// point, or at the end below the last row.
void EditorDialog::dropOnList() {
  const int list = listOf(curTab);
  const int rows = controls_.listRowCount(list);
  if (dragRow < 0 || dragRow >= rows) return;
  const int hit = controls_.listRowAt(list, dragPoint.y + DROP_BELOW);
  dropRow = hit < 0 ? rows : hit;

  // The target position, counted in the list with the dragged row still in
  // it: a row dropped below itself leaves a gap above the drop point.
  dropRow = dragRow >= dropRow ? dropRow + 1 : dropRow;
  dropMove = 1;
  db.rowPicked = 1;
  (curTab == TAB_SATELLITE     ? db.selSatRow
   : curTab == TAB_TRANSPONDER ? db.selTpRow
                               : db.selSvcRow) = dragRow;
  const int count = order::entryCount(db, tabOf(curTab), db.curSat);
  const bool moved = count > 0 && moveTo(dropRow);
  if (count == 0) warn(text::NO_DATA);
  db.rowPicked = 0;
  dropMove = 0;
  if (!moved) return;

  const int to = dropRow - 1;
  controls_.listMoveRow(list, dragRow, to);
  // The rows between have changed places: number them afresh.
  for (int r = std::min(dragRow, to); r <= std::max(dragRow, to); ++r)
    controls_.listSetCell(list, r, 0, rowNumber(curTab, r));
}

}  // namespace velmora::editor
