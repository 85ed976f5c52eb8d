#include "editor/lists_presenter.h"

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "db/list_rows.h"
#include "resource_ids.h"

namespace velmora::editor {

using namespace velmora::res;

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

void ListsPresenter::bringUp(int tab) {
  for (int t = TAB_SATELLITE; t <= TAB_CHANNEL; ++t) controls_.setVisible(listOfTab(t), t == tab);
  bool& done = columnsDone_[tab - 1];
  if (done) return;
  done = true;
  const std::span<const ListColumn> columns = tab == TAB_SATELLITE     ? satelliteColumns()
                                              : tab == TAB_TRANSPONDER ? transponderColumns()
                                                                       : channelColumns();
  const std::vector<int>& saved = savedWidths_[tab - 1];
  for (std::size_t c = 0; c < columns.size(); ++c)
    controls_.listAddColumn(listOfTab(tab), columns[c].header,
                            c < saved.size() ? saved[c] : columns[c].width);
}

namespace {
// The setting that keeps a tab's column widths: the widths from the first
// column, as decimal numbers with a comma between.
std::string widthsKey(int tab) {
  return tab == TAB_SATELLITE     ? "satelliteColumnWidths"
         : tab == TAB_TRANSPONDER ? "transponderColumnWidths"
                                  : "channelColumnWidths";
}

// A width outside these bounds is none the user could have given: the
// setting was written by something else, and the usual width stays.
constexpr int MIN_SAVED_WIDTH = 1, MAX_SAVED_WIDTH = 4000;
}  // namespace

void ListsPresenter::restoreColumnWidths(Settings& settings) {
  for (int tab = TAB_SATELLITE; tab <= TAB_CHANNEL; ++tab) {
    std::vector<int>& widths = savedWidths_[tab - 1];
    widths.clear();
    const std::string text = settings.setting(widthsKey(tab));
    int width = 0;
    bool digits = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
      const char ch = i < text.size() ? text[i] : ',';
      if (ch >= '0' && ch <= '9' && width <= MAX_SAVED_WIDTH) {
        width = width * 10 + (ch - '0');
        digits = true;
      } else if (ch == ',' && digits && width >= MIN_SAVED_WIDTH && width <= MAX_SAVED_WIDTH) {
        widths.push_back(width);
        width = 0;
        digits = false;
      } else {
        // Anything else spoils the whole setting rather than shifting the
        // widths onto other columns.
        widths.clear();
        break;
      }
    }
  }
}

void ListsPresenter::saveColumnWidths(Settings& settings) const {
  for (int tab = TAB_SATELLITE; tab <= TAB_CHANNEL; ++tab) {
    if (!columnsDone_[tab - 1]) continue;
    std::string text;
    for (const int width : controls_.listColumnWidths(listOfTab(tab)))
      text += (text.empty() ? "" : ",") + std::to_string(width);
    if (!text.empty()) settings.setSetting(widthsKey(tab), text);
  }
}

ListsPresenter::ListsPresenter(Controls& controls, const ChannelDb& db)
    : controls_(controls), db_(db) {
  for (int tab = TAB_SATELLITE; tab <= TAB_CHANNEL; ++tab)
    controls_.listSetSource(listOfTab(tab), &rowsOf(listOfTab(tab)));
}

ListsPresenter::~ListsPresenter() {
  for (int tab = TAB_SATELLITE; tab <= TAB_CHANNEL; ++tab)
    controls_.listSetSource(listOfTab(tab), nullptr);
}

// A row the list still shows while its entry is already gone from the
// database (between the two steps of a removal) reads empty. A channel
// without a name shows as "...."; the loader and the import store that
// name, and the edit panel refuses an empty one, so the list has nothing
// to write back.
std::string ListsPresenter::Rows::cell(int row, int column) const {
  if (row < 0 || row >= count_ || column < 0) return {};
  const std::size_t s = satelliteSlot(sat_);
  std::vector<std::string> cells;
  if (tab_ == TAB_SATELLITE) {
    if (row < db_.satCount) cells = satelliteRowCells(db_, row);
  } else if (tab_ == TAB_TRANSPONDER) {
    if (row < db_.tpTables[s].count()) cells = transponderRowCells(db_, static_cast<int>(s), row);
  } else if (row < db_.svcTables[s].count()) {
    cells = channelRowCells(db_, static_cast<int>(s), row);
  }
  if (static_cast<std::size_t>(column) >= cells.size()) return {};
  return std::move(cells[static_cast<std::size_t>(column)]);
}

ListsPresenter::Rows& ListsPresenter::rowsOf(int list) {
  return list == IDC_SAT_LIST ? sats_ : list == IDC_TP_LIST ? tps_ : svcs_;
}

int ListsPresenter::rowCount(int list) const {
  return const_cast<ListsPresenter*>(this)->rowsOf(list).count_;
}

void ListsPresenter::insertRow(int list, int s, int row) {
  Rows& rows = rowsOf(list);
  if (list != IDC_SAT_LIST) rows.sat_ = s;
  if (row < 0 || row > rows.count_) row = rows.count_;
  ++rows.count_;
  controls_.listRowsChanged(list, ListChange::inserted(row, 1));
}

void ListsPresenter::fill(int list, int s) {
  Rows& rows = rowsOf(list);
  rows.sat_ = s;
  const std::size_t i = satelliteSlot(s);
  rows.count_ = list == IDC_SAT_LIST  ? db_.satCount
                : list == IDC_TP_LIST ? db_.tpTables[i].count()
                                      : db_.svcTables[i].count();
  controls_.listRowsChanged(list, ListChange::reset());
}

void ListsPresenter::insertSatRow(int s) { insertRow(IDC_SAT_LIST, 0, s); }
void ListsPresenter::insertTpRow(int s, int row) { insertRow(IDC_TP_LIST, s, row); }
void ListsPresenter::insertSvcRow(int s, int row) { insertRow(IDC_SVC_LIST, s, row); }
void ListsPresenter::listSatellites() { fill(IDC_SAT_LIST, 0); }
void ListsPresenter::listTransponders(int s) { fill(IDC_TP_LIST, s); }
void ListsPresenter::listChannels(int s) { fill(IDC_SVC_LIST, s); }

void ListsPresenter::clear(int list) {
  rowsOf(list).count_ = 0;
  controls_.listRowsChanged(list, ListChange::reset());
}

void ListsPresenter::removeRow(int list, int row) {
  Rows& rows = rowsOf(list);
  if (row < 0 || row >= rows.count_) return;
  --rows.count_;
  controls_.listRowsChanged(list, ListChange::removed(row, 1));
}

void ListsPresenter::moveRow(int list, int from, int to) {
  const int count = rowsOf(list).count_;
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  controls_.listRowsChanged(list, ListChange::moved(from, to));
}

void ListsPresenter::rewriteSatelliteCombos(bool keepSelection) {
  for (int combo : {IDC_TP_SAT, IDC_SVC_SAT}) {
    const int selected = keepSelection ? controls_.comboSelection(combo) : -1;
    controls_.comboClear(combo);
    for (int s = 0; s < db_.satCount; ++s)
      controls_.comboInsert(combo, s, db_.sats[satelliteSlot(s)].name);
    if (selected >= 0 && selected < db_.satCount) controls_.comboSelect(combo, selected);
  }
}

}  // namespace velmora::editor
