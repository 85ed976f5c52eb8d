#include "editor/lists_presenter.h"

#include <cstdio>
#include <span>

#include "db/list_rows.h"
#include "resource_ids.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

std::size_t slot(int s) {
  return static_cast<std::size_t>(s < 0 ? 0 : (s >= MAX_SATS ? MAX_SATS - 1 : s));
}

}  // namespace

int ListsPresenter::listOfTab(int tab) {
  switch (tab) {
    case TAB_SATELLITE:
      return IDC_SAT_LIST;
    case TAB_TRANSPONDER:
      return IDC_TP_LIST;
    case TAB_CHANNEL:
      return IDC_SVC_LIST;
    default:
      return 0;
  }
}

int ListsPresenter::tabOfList(int list) {
  switch (list) {
    case IDC_SAT_LIST:
      return TAB_SATELLITE;
    case IDC_TP_LIST:
      return TAB_TRANSPONDER;
    case IDC_SVC_LIST:
      return TAB_CHANNEL;
    default:
      return 0;
  }
}

std::string ListsPresenter::rowNumber(int tab, int row) {
  char buf[16];
  std::snprintf(buf, sizeof buf, tab == TAB_SATELLITE ? "%2d" : "%3d", row + 1);
  return buf;
}

void ListsPresenter::bringUp(int tab) {
  for (int t = TAB_SATELLITE; t <= TAB_CHANNEL; ++t) controls_.setVisible(listOfTab(t), t == tab);
  bool& done = columnsDone_[tab - 1];
  if (done) return;
  done = true;
  const std::span<const ListColumn> columns = tab == TAB_SATELLITE     ? satelliteColumns()
                                              : tab == TAB_TRANSPONDER ? transponderColumns()
                                                                       : channelColumns();
  for (const ListColumn& col : columns)
    controls_.listAddColumn(listOfTab(tab), col.header, col.width);
}

void ListsPresenter::insertSatRow(int s) {
  controls_.listInsertRow(IDC_SAT_LIST, s, satelliteRowCells(db_, static_cast<int>(slot(s))));
}

void ListsPresenter::insertTpRow(int s, int row) {
  controls_.listInsertRow(IDC_TP_LIST, row,
                          transponderRowCells(db_, static_cast<int>(slot(s)), row));
}

// The row shows a channel without a name as "....". The loader and the
// import store that name, and the edit panel refuses an empty one, so the
// list has nothing to write back.
void ListsPresenter::insertSvcRow(int s, int row) {
  controls_.listInsertRow(IDC_SVC_LIST, row, channelRowCells(db_, static_cast<int>(slot(s)), row));
}

void ListsPresenter::listSatellites() {
  for (int s = 0; s < db_.satCount; ++s) insertSatRow(s);
}

void ListsPresenter::listTransponders(int s) {
  const int count = db_.tpTables[slot(s)].count();
  for (int r = 0; r < count; ++r) insertTpRow(s, r);
}

void ListsPresenter::listChannels(int s) {
  const int count = db_.svcTables[slot(s)].count();
  for (int r = 0; r < count; ++r) insertSvcRow(s, r);
}

void ListsPresenter::rewriteSatelliteCombos() {
  for (int combo : {IDC_TP_SAT, IDC_SVC_SAT}) {
    controls_.comboClear(combo);
    for (int s = 0; s < db_.satCount; ++s) controls_.comboInsert(combo, s, db_.sats[slot(s)].name);
  }
}

}  // namespace velmora::editor
