// Find in every satellite: the dialog, and showing the hit chosen.
#include "editor/find_all_dialog.h"

#include "db/text_number.h"
#include "editor/editor_dialog.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

constexpr int kColumnWidths[] = {110, 110, 130, 50};

}  // namespace

void FindAllDialog::onInit(Controls& c) {
  for (std::size_t i = 0; i < std::size(match::FOUND_COLUMNS); ++i)
    c.listAddColumn(IDC_FIND_ALL_LIST, match::FOUND_COLUMNS[i], kColumnWidths[i]);
  c.listSetSource(IDC_FIND_ALL_LIST, this);
  c.setText(IDC_FIND_ALL_TEXT, text);
  c.selectAllText(IDC_FIND_ALL_TEXT);
  search(c);
}

// The hits of the text now typed; the first is selected, so that Enter
// goes to it at once.
void FindAllDialog::search(Controls& c) {
  hits_ = match::findAll(db_, text);
  c.listRowsChanged(IDC_FIND_ALL_LIST, ListChange::reset());
  if (!hits_.empty()) {
    c.listSelectRows(IDC_FIND_ALL_LIST, {0});
    c.listEnsureVisible(IDC_FIND_ALL_LIST, 0);
  }
  c.setText(IDC_FIND_ALL_COUNT,
            hits_.empty() ? std::string(text.empty() ? "" : text::NOT_FOUND)
                          : decimalText(static_cast<std::int64_t>(hits_.size())) + " found");
}

std::string FindAllDialog::cell(int row, int column) const {
  if (row < 0 || row >= rowCount()) return {};
  return match::foundCell(db_, hits_[static_cast<std::size_t>(row)], column);
}

bool FindAllDialog::onCommand(Controls& c, int commandId) {
  switch (commandId) {
    case IDC_FIND_ALL_TEXT:
      text = c.text(IDC_FIND_ALL_TEXT);
      search(c);
      return false;
    case ID_OK: {
      // Enter on Close closes, as on any button.
      if (c.focusedControl() == ID_CANCEL) return end(c, ID_CANCEL);
      const std::vector<int> rows = c.listSelectedRows(IDC_FIND_ALL_LIST);
      if (rows.empty() || rows.front() >= rowCount()) return false;
      chosen = hits_[static_cast<std::size_t>(rows.front())];
      return end(c, ID_OK);
    }
    case ID_CANCEL:
      return end(c, ID_CANCEL);
    default:
      return false;
  }
}

bool FindAllDialog::end(Controls& c, int endResult) {
  c.listSetSource(IDC_FIND_ALL_LIST, nullptr);
  result = endResult;
  return true;
}

void EditorDialog::findEverywhere() { findEverywhere(lastFind_); }

void EditorDialog::findEverywhere(const std::string& start) {
  FindAllDialog dialog(db, start);
  prompts_.runModal(dialog);
  lastFind_ = dialog.text;
  if (dialog.chosen) showFound(*dialog.chosen);
}

// The hit's satellite on the Channel tab (the Transponder tab for a
// transponder), its row picked as by a click and brought into view.
void EditorDialog::showFound(const match::Found& found) {
  if (loaderBusy || found.sat < 0 || found.sat >= db.satCount) return;
  const int tab = found.svc >= 0 ? TAB_CHANNEL : TAB_TRANSPONDER;
  const int row = found.svc >= 0 ? found.svc : found.tp;
  const std::size_t s = satelliteSlot(found.sat);
  const int rows = tab == TAB_CHANNEL ? db.svcTables[s].count() : db.tpTables[s].count();
  if (row < 0 || row >= rows) return;
  showSatellite(found.sat);
  clearPick();
  clearEditPanel();
  if (controls_.tabSelection(IDC_TAB) != tab - 1) controls_.tabSelect(IDC_TAB, tab - 1);
  showTabFields(tab);
  refillTab(tab);
  refreshInfoPanel(found.sat);
  const int list = ListsPresenter::listOfTab(tab);
  controls_.listSelectRows(list, {row});
  controls_.listEnsureVisible(list, row);
  pickRows(list, {row});
}

}  // namespace velmora::editor
