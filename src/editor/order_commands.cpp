// Ordering in the window: Sort (menu, toolbar, F8, a column header), Move
// (menu, F5) with its dialog, and dragging a row within its list to move
// it. Several picked rows move as one block, by Move and by a drag alike. A row let go anywhere but
// on its own list stays where it was: a drag never removes anything, that is for Remove and Delete.
// The order itself is worked out by the core (order/order.h); here are the window's rules: which
// list, which messages, what is refilled and what stays in view.
#include <algorithm>

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

}  // namespace

void EditorDialog::rewriteSatelliteCombos() { lists_.rewriteSatelliteCombos(); }

void EditorDialog::sortEntries() {
  order::sortTab(db, tabOf(curTab));
  if (curTab == TAB_SATELLITE) rewriteSatelliteCombos();
  relistCurrentTab();
  if (curTab != TAB_CHANNEL) ensureRowVisible(0);
}

void EditorDialog::moveEntry() {
  const int count = order::entryCount(db, tabOf(curTab), view_.listedSat);
  if (count == 0) {
    warn(text::NO_DATA);
    return;
  }
  // A click that hit no row, or a row no longer in the shown table, is no
  // pick: there is nothing to move.
  if (!view_.rowPicked || !clickedRowExists()) {
    warn(text::SELECT_A_LIST);
    return;
  }
  const std::vector<int> block = pickedBlock();
  MoveDialog dialog;
  dialog.entries = std::max(1, static_cast<int>(block.size()));
  if (prompts_.runModal(dialog) != ID_OK) return;
  // The entries stay picked where they went.
  if (block.size() > 1)
    moveBlockTo(block, dialog.position);
  else
    moveTo(dialog.position);
}

std::vector<int> EditorDialog::pickedBlock() const {
  if (picks_.empty() || picks_.tab() != curTab) return {};
  std::vector<int> rows = picks_.rows();
  if (rows.size() < 2) return {};
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (int r : rows)
    if (!rowInShownTable(r)) return {};
  return rows;
}

// Puts the block of rows `rows` so that its first entry stands at
// `position` (from 1), its others right after it; true when the order
// changed. The block must fit: its last entry at most at the list's end.
bool EditorDialog::moveBlockTo(const std::vector<int>& rows, int position) {
  const int count = order::entryCount(db, tabOf(curTab), view_.listedSat);
  // Compared with the last place the block can start at, so that a typed
  // position as large as an int refuses instead of wrapping round.
  if (position < 1 || position > count - static_cast<int>(rows.size()) + 1) {
    warn(text::NOT_AVAILABLE_POSITION);
    return false;
  }
  const int last = position + static_cast<int>(rows.size()) - 1;
  if (!moveBlockRows(rows, position)) return false;
  relistCurrentTab();
  ensureRowVisible(last - 1);
  ensureRowVisible(position - 1);
  showPickedRow_ = true;
  return true;
}

bool EditorDialog::moveBlockRows(const std::vector<int>& rows, int position) {
  const int to = position - 1;
  const bool together = rows.back() - rows.front() + 1 == static_cast<int>(rows.size());
  if (together && rows.front() == to) return false;
  if (!order::moveBlock(db, tabOf(curTab), view_.listedSat, rows, to)) return false;
  if (curTab == TAB_SATELLITE) rewriteSatelliteCombos();
  // The picks go with the block by its rows: equal entries (two satellites
  // of the same name and settings) cannot be told apart by their content.
  std::vector<int> picked;
  for (int r : picks_.rows()) {
    const auto at = std::lower_bound(rows.begin(), rows.end(), r);
    if (at != rows.end() && *at == r) picked.push_back(to + static_cast<int>(at - rows.begin()));
  }
  capturePick(ListsPresenter::listOfTab(curTab), picked);
  return true;
}

// Puts the picked entry of the current tab at `position` (from 1); true
// when the order changed.
bool EditorDialog::moveTo(int position) {
  const int count = order::entryCount(db, tabOf(curTab), view_.listedSat);
  if (position < 1 || position > count) {
    warn(text::NOT_AVAILABLE_POSITION);
    return false;
  }
  if (!clickedRowExists()) {
    warn(text::SELECT_A_LIST);
    return false;
  }
  const int from = curTab == TAB_SATELLITE     ? view_.pickedSatRow
                   : curTab == TAB_TRANSPONDER ? view_.pickedTpRow
                                               : view_.pickedSvcRow;
  if (!moveRow(from, position)) return false;
  relistCurrentTab();
  for (int i = 0; i < position; ++i) ensureRowVisible(i + 2);
  showPickedRow_ = true;
  return true;
}

// Puts entry `from` of the current tab's table at `position` (from 1) in
// the database and the SAT Name boxes; true when the order changed.
bool EditorDialog::moveRow(int from, int position) {
  const int to = position - 1;
  if (from == to) return false;
  order::moveEntry(db, tabOf(curTab), view_.listedSat, from, to);
  if (curTab == TAB_SATELLITE) rewriteSatelliteCombos();
  return true;
}

void EditorDialog::resetDrag() {
  if (drag_.active()) {
    controls_.dragShowInsertion(ListsPresenter::listOfTab(curTab), -1);
    controls_.dragEnd();
  }
  drag_.reset();
}

void EditorDialog::onDragBegin(int listId, int row) {
  if (loaderBusy || drag_.active() || listId != ListsPresenter::listOfTab(curTab)) return;
  if (row < 0 || row >= lists_.rowCount(listId)) return;
  // Pressed on one of several picked rows, the drag takes them all.
  std::vector<int> block = pickedBlock();
  if (std::find(block.begin(), block.end(), row) == block.end()) block.clear();
  drag_.begin(row, std::move(block));
  controls_.dragBegin(listId, row, DRAG_HOT_X, DRAG_HOT_Y);
}

void EditorDialog::onDragMove(int overList, int row) {
  if (!drag_.active()) return;
  const int list = ListsPresenter::listOfTab(curTab);
  controls_.dragShowInsertion(list, overList == list ? row : -1);
  // Off its list the row has nowhere to go: the pointer says so.
  controls_.dragShowNoDrop(overList != list);
}

void EditorDialog::onDragCancel() { resetDrag(); }

void EditorDialog::onDragRelease(int overList, int row) {
  if (!drag_.active()) return;
  // Let go on the panels, the tab strip or any other control: the row is
  // not dropped anywhere, and the drag ends as if abandoned. It is easy to
  // overshoot a list's edge; that must never cost the row.
  const int list = ListsPresenter::listOfTab(curTab);
  if (overList != list) {
    onDragCancel();
    return;
  }
  controls_.dragShowInsertion(list, -1);
  drag_.release(row);
  controls_.dragEnd();
  asStep([this] { dropOnList(); });
  resetDrag();
  settleView();
}

// The dragged entry comes to stand just before the row under the drop
// point, or at the end below the last row. What the user picked is found
// again afterwards.
void EditorDialog::dropOnList() {
  if (drag_.block().size() > 1) return dropBlockOnList();
  const int list = ListsPresenter::listOfTab(curTab);
  const int dragged = drag_.row();
  if (dragged < 0 || dragged >= lists_.rowCount(list)) return;
  const int position = RowDrag::dropPosition(dragged, drag_.dropRow());
  if (position == 0) return;

  const int count = order::entryCount(db, tabOf(curTab), view_.listedSat);
  bool moved = false;
  if (count == 0) {
    warn(text::NO_DATA);
  } else if (position > count) {
    warn(text::NOT_AVAILABLE_POSITION);
  } else if (!rowInShownTable(dragged)) {
    warn(text::SELECT_A_LIST);
  } else {
    moved = moveRow(dragged, position);
  }
  if (!moved) return;

  // The list moves the row itself, with its selection; the rows between
  // have changed places and are numbered afresh.
  lists_.moveRow(list, dragged, position - 1);
  showPickedRow_ = true;
}

// The dragged block comes to stand, together and in its order, just
// before the row under the drop point (counted with the block in place),
// or at the end below the last row.
void EditorDialog::dropBlockOnList() {
  const int list = ListsPresenter::listOfTab(curTab);
  const std::vector<int>& rows = drag_.block();
  const int position = RowDrag::blockDropPosition(rows, drag_.dropRow());
  if (position == 0) return;
  for (int r : rows) {
    if (!rowInShownTable(r)) {
      warn(text::SELECT_A_LIST);
      return;
    }
  }
  const int count = order::entryCount(db, tabOf(curTab), view_.listedSat);
  if (position + static_cast<int>(rows.size()) - 1 > count) {
    warn(text::NOT_AVAILABLE_POSITION);
    return;
  }
  if (!moveBlockRows(rows, position)) return;
  // The list moves the rows one by one, each with its selection, as long
  // as that is cheaper than reading the list afresh.
  const auto steps = order::blockMoveSteps(rows, position - 1);
  if (steps.size() <= 64) {
    for (const auto& [from, to] : steps) lists_.moveRow(list, from, to);
  } else {
    relistCurrentTab();
  }
  showPickedRow_ = true;
}

}  // namespace velmora::editor
