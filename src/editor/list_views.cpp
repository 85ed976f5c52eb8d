// The three list views (satellites, transponders of one satellite, channels
// of one satellite), refilling them per tab, clicks on their rows, and the
// information panel.

#include "db/text_number.h"
#include "editor/editor_dialog.h"
#include "layout.h"
#include "resource_ids.h"

namespace velmora::editor {

using namespace velmora::res;

void EditorDialog::bringUpList(int tab) {
  curTab = tab;
  lists_.bringUp(tab);
}

void EditorDialog::refillSatelliteTab() {
  bringUpList(TAB_SATELLITE);
  lists_.clear(IDC_SAT_LIST);
  view_.pickedSatRow = -1;
  lists_.listSatellites();
  // The Transponder and Channel lists are filled afresh when next shown.
  view_.listedSat = db.satCount;
  for (int i = 0; i < view_.shownSat; ++i) ensureRowVisible(i + 2);
}

void EditorDialog::refillTransponderTab() {
  bringUpList(TAB_TRANSPONDER);
  view_.listedSat = view_.shownSat;
  controls_.comboSelect(IDC_TP_SAT, view_.shownSat);
  lists_.clear(IDC_TP_LIST);
  view_.pickedTpRow = -1;
  lists_.listTransponders(view_.listedSat);
}

void EditorDialog::refillChannelTab() {
  bringUpList(TAB_CHANNEL);
  view_.listedSat = view_.shownSat;
  controls_.comboSelect(IDC_SVC_SAT, view_.shownSat);
  lists_.clear(IDC_SVC_LIST);
  view_.pickedSvcRow = -1;
  lists_.listChannels(view_.listedSat);
}

void EditorDialog::refillTab(int tab) {
  if (tab == TAB_SATELLITE)
    refillSatelliteTab();
  else if (tab == TAB_TRANSPONDER)
    refillTransponderTab();
  else
    refillChannelTab();
}

void EditorDialog::refreshInfoPanel(int s) {
  const std::size_t i = satelliteSlot(s);
  controls_.setText(IDC_SEL_SAT, db.sats[i].name);
  controls_.setText(IDC_SEL_TP, decimalText(db.tpTables[i].count()));
  controls_.setText(IDC_SEL_CH, decimalText(db.svcTables[i].count()));
  db.recountTotals();
  controls_.setText(IDC_TOTAL_TP, decimalText(db.totalTp));
  controls_.setText(IDC_TOTAL_CH, decimalText(db.totalSvc));
}

void EditorDialog::resetInfoPanel() {
  for (int id : {IDC_FILE, IDC_SEL_SAT, IDC_SEL_CH, IDC_SEL_TP, IDC_TOTAL_TP, IDC_TOTAL_CH})
    controls_.setText(id, ".");
  controls_.setToolTip(IDC_FILE, "");
  shownFile_.clear();
}

void EditorDialog::clearEditFields() { panel_.clearFields(); }

void EditorDialog::ensureRowVisible(int r) {
  const int list = ListsPresenter::listOfTab(curTab);
  if (list == 0 || r < 0 || r >= lists_.rowCount(list)) return;
  controls_.listEnsureVisible(list, r);
}

// A click, or any other change of a list's selection by the user: the
// selected entries become the pick, the first of them fills the panel.
void EditorDialog::onListClick(int listId, const std::vector<int>& rows) {
  if (loaderBusy || drag_.active()) return;
  if (listId != ListsPresenter::listOfTab(curTab)) return;
  pickRows(listId, rows);
  settleView();
}

void EditorDialog::pickRows(int listId, const std::vector<int>& rows) {
  const bool had = view_.rowPicked;
  capturePick(listId, rows);
  if (picks_.empty()) {
    // A click beside the rows picks nothing; the panel no longer shows
    // what was picked before.
    if (had) clearEditPanel();
    return;
  }
  const int row = picks_.frontRow();
  switch (listId) {
    case IDC_SAT_LIST:
      panel_.showSatellite(db.sats[satelliteSlot(row)]);
      showSatellite(row);
      break;
    case IDC_TP_LIST:
      panel_.showTransponder(db.tpTables[satelliteSlot(view_.listedSat)][row]);
      break;
    default:
      panel_.showChannel(db.svcTables[satelliteSlot(view_.listedSat)][row]);
      break;
  }
}

void EditorDialog::onListRightClick(int listId) {
  if (loaderBusy) return;
  onListClick(listId, controls_.listSelectedRows(listId));
  if (const int command = prompts_.contextMenu(EDIT_POPUP)) onCommand(command);
}

void EditorDialog::onColumnClick(int /*listId*/) { runCommand(ID_EDIT_SORT); }

void EditorDialog::chooseSatellite(int comboId, int s) {
  if (s < 0 || s >= MAX_SATS) return;
  showSatellite(s);
  // What was picked belongs to the satellite shown before.
  clearPick();
  clearEditPanel();
  refreshInfoPanel(s);
  // The list already holding this satellite's table stays as it is.
  if (s == view_.listedSat) return;
  view_.listedSat = s;
  if (comboId == IDC_TP_SAT) {
    lists_.clear(IDC_TP_LIST);
    lists_.listTransponders(s);
  } else {
    lists_.clear(IDC_SVC_LIST);
    lists_.listChannels(s);
  }
}

void EditorDialog::onComboChanged(int comboId) {
  if (comboId == IDC_WEB_LINK) {
    openWebLink();
    return;
  }
  if (loaderBusy) return;
  const int index = controls_.comboSelection(comboId);
  if (comboId == IDC_TP_SAT || comboId == IDC_SVC_SAT) {
    if (drag_.active()) return;
    chooseSatellite(comboId, index);
    settleView();
    return;
  }
  panel_.onComboChanged(comboId, index);
}

}  // namespace velmora::editor
