#include "editor/add_channel_dialog.h"

#include <cstdio>

#include "db/western_text.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

constexpr int kCaptions[] = {IDC_ACH_CAP_NUM, IDC_ACH_CAP_FREQ, IDC_ACH_CAP_POL, IDC_ACH_CAP_SR};

struct Column {
  const char* header;
  int width;
};
// Each column as wide as its caption needs (the window widens a column to
// show its caption whole): the cells are shorter, and the four fit side by
// side in the list, its scroll bar beside them, with none across.
constexpr Column kColumns[] = {
    {"No.", 30}, {"Frequency", 64}, {"Polarization", 72}, {"Symbol Rate", 72}};

}  // namespace

bool refusedName(Questions& prompts, const Controls& controls, int id) {
  const std::optional<char32_t> ch = controls.foreignChar(id);
  if (!ch) return false;
  const std::string message = std::string(text::TYPED_NOT_WESTERN) + codePointName(*ch) +
                              std::string(text::NOT_WESTERN_CHARACTER);
  prompts.message(message, "", Buttons::Ok, Icon::Exclamation);
  return true;
}

AddChannelDialog::AddChannelDialog(Questions& prompts, const TpTable& transponders,
                                   ChannelFields start)
    : prompts_(prompts), transponders_(transponders), start_(std::move(start)) {}

void AddChannelDialog::onInit(Controls& c) {
  listBoxMode = 0;
  c.setVisible(IDC_ACH_TP_LIST, true);
  c.setVisible(IDC_ACH_TP_LINES, false);
  for (int id : kCaptions) c.setVisible(id, false);

  c.setText(IDC_ACH_NAME, start_.chName);
  c.setText(IDC_ACH_VPID, start_.vPid);
  c.setText(IDC_ACH_APID, start_.aPid);
  c.setText(IDC_ACH_PPID, start_.pPid);
  c.setText(IDC_ACH_SID, start_.sid);
  c.comboClear(IDC_ACH_SCRAMBLED);
  c.comboInsert(IDC_ACH_SCRAMBLED, -1, "No");
  c.comboInsert(IDC_ACH_SCRAMBLED, -1, "Yes");
  c.comboSelect(IDC_ACH_SCRAMBLED, start_.scrambled);
  scrambledSel = start_.scrambled;
  scrambledChoice = 0;

  for (const Column& col : kColumns) c.listAddColumn(IDC_ACH_TP_LIST, col.header, col.width);
  c.listSetSource(IDC_ACH_TP_LIST, &rows_);
  c.listRowsChanged(IDC_ACH_TP_LIST, ListChange::reset());
  rowChosen = 0;
}

int AddChannelDialog::TpRows::rowCount() const { return table.count(); }

// The list view's row: number, frequency, polarization, symbol rate.
std::string AddChannelDialog::TpRows::cell(int row, int column) const {
  if (row < 0 || row >= table.count()) return {};
  const TpRecord& tp = table[row];
  switch (column) {
    case 0:
      return std::to_string(row + 1);
    case 1:
      return tp.frequency;
    case 2:
      return tp.polarization;
    case 3:
      return tp.symbolRate;
    default:
      return {};
  }
}

std::string AddChannelDialog::listBoxLine(int r, const TpRecord& tp) {
  // Blanks set the fields under the four caption buttons; numbers below 100
  // take one more leading blank.
  const int n = r + 1;
  char number[16];
  std::snprintf(number, sizeof number, n < 100 ? " %3d" : "%3d", n);
  return std::string(number) + "              " + tp.frequency + "            " + "     " +
         tp.polarization + "      " + "            " + tp.symbolRate;
}

void AddChannelDialog::toggleLists(Controls& c) {
  // The list box is filled afresh each time it is shown and empty while
  // hidden.
  c.comboClear(IDC_ACH_TP_LINES);
  if (listBoxMode == 0) {
    c.setVisible(IDC_ACH_TP_LIST, false);
    c.setVisible(IDC_ACH_TP_LINES, true);
    for (int id : kCaptions) c.setVisible(id, true);
    for (int r = 0; r < transponders_.count(); ++r)
      c.comboInsert(IDC_ACH_TP_LINES, -1, listBoxLine(r, transponders_[r]));
    listBoxMode = 1;
  } else {
    c.setVisible(IDC_ACH_TP_LIST, true);
    c.setVisible(IDC_ACH_TP_LINES, false);
    for (int id : kCaptions) c.setVisible(id, false);
    listBoxMode = 0;
  }
}

bool AddChannelDialog::accept(Controls& c) {
  if (chosenTpRow == -1 || rowChosen != 1) {
    prompts_.message(text::SELECT_A_TP, "", Buttons::Ok, Icon::Exclamation);
    return false;
  }
  if (chName.empty() && vPid.empty() && aPid.empty() && pPid.empty() && sid.empty()) {
    if (refusedName(prompts_, c, IDC_ACH_NAME)) return false;
    rowChosen = 0;
    chName = c.text(IDC_ACH_NAME);
    vPid = c.text(IDC_ACH_VPID);
    aPid = c.text(IDC_ACH_APID);
    pPid = c.text(IDC_ACH_PPID);
    sid = c.text(IDC_ACH_SID);
  } else {
    rowChosen = 0;
  }
  scrambledChoice = scrambledSel;
  result = ID_OK;
  return true;
}

bool AddChannelDialog::onCommand(Controls& c, int commandId) {
  switch (commandId) {
    case ID_OK:
      // Enter while Cancel has the focus cancels.
      if (c.focusedControl() == ID_CANCEL) {
        result = ID_CANCEL;
        return true;
      }
      return accept(c);
    case ID_CANCEL:
      result = ID_CANCEL;
      return true;
    case IDC_ACH_LINES_MODE:
      toggleLists(c);
      return false;
    case IDC_ACH_TP_LIST: {
      const std::vector<int> rows = c.listSelectedRows(IDC_ACH_TP_LIST);
      const int row = rows.empty() ? -1 : rows.front();
      chosenTpRow = row >= 0 && row < transponders_.count() ? row : -1;
      if (chosenTpRow >= 0) rowChosen = 1;
      return false;
    }
    case IDC_ACH_TP_LINES: {
      const int row = c.comboSelection(IDC_ACH_TP_LINES);
      chosenTpRow = row >= 0 && row < transponders_.count() ? row : -1;
      if (chosenTpRow >= 0) rowChosen = 1;
      return false;
    }
    case IDC_ACH_SCRAMBLED:
      scrambledSel = c.comboSelection(IDC_ACH_SCRAMBLED) == 1 ? 1 : 0;
      return false;
    default:
      return false;
  }
}

}  // namespace velmora::editor
