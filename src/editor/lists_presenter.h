// The three lists and the two SAT Name boxes of the Transponder and Channel
// tabs, filled from the database in one place: which list each tab shows,
// its columns, and the rows of a satellite's table. Each list reads its
// rows from a source here, which computes every cell from the database when
// the list asks; what the source holds is only how many rows the list has
// been told of, and which satellite's table it shows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "db/channel_db.h"
#include "editor/port.h"

namespace velmora::editor {

inline constexpr int TAB_SATELLITE = 1;
inline constexpr int TAB_TRANSPONDER = 2;
inline constexpr int TAB_CHANNEL = 3;

// Satellite s as an index into the database's slots, kept inside them.
inline std::size_t satelliteSlot(int s) {
  return static_cast<std::size_t>(s < 0 ? 0 : (s >= MAX_SATS ? MAX_SATS - 1 : s));
}

class ListsPresenter {
 public:
  ListsPresenter(Controls& controls, const ChannelDb& db);

  // The list a tab shows, and the tab a list belongs to; 0 for none.
  static int listOfTab(int tab);
  static int tabOfList(int list);

  // Shows the tab's list and hides the others; the list gets its columns
  // the first time.
  void bringUp(int tab);

  // Row `row` of satellite s's table into its list, and every row of a
  // table into the list in place of what it showed.
  void insertSatRow(int s);
  void insertTpRow(int s, int row);
  void insertSvcRow(int s, int row);
  void listSatellites();
  void listTransponders(int s);
  void listChannels(int s);
  // A list emptied; one row of it taken out; one row moved so that its
  // index becomes `to` (the rows between are numbered afresh).
  void clear(int list);
  void removeRow(int list, int row);
  void moveRow(int list, int from, int to);
  // The rows a list shows.
  int rowCount(int list) const;

  // The column widths the user gave each list, kept in the settings between
  // runs: read before the lists get their columns, which then take them in
  // place of their usual widths, and written when the window closes. A list
  // never shown in this run keeps what it had.
  void restoreColumnWidths(Settings& settings);
  void saveColumnWidths(Settings& settings) const;

  // Both SAT Name boxes emptied and filled with the names in slot order;
  // with `keepSelection` each box chooses again the item it had chosen.
  void rewriteSatelliteCombos(bool keepSelection = false);

  ListsPresenter(const ListsPresenter&) = delete;
  ListsPresenter& operator=(const ListsPresenter&) = delete;
  ~ListsPresenter();

 private:
  // The rows of one list: satellites, or a satellite's transponders or
  // channels.
  class Rows final : public RowSource {
   public:
    Rows(const ChannelDb& db, int tab) : db_(db), tab_(tab) {}
    int rowCount() const override { return count_; }
    std::string cell(int row, int column) const override;

    int count_ = 0;
    int sat_ = 0;

   private:
    const ChannelDb& db_;
    int tab_;
  };

  Rows& rowsOf(int list);
  void insertRow(int list, int s, int row);
  void fill(int list, int s);

  Controls& controls_;
  const ChannelDb& db_;
  Rows sats_{db_, TAB_SATELLITE};
  Rows tps_{db_, TAB_TRANSPONDER};
  Rows svcs_{db_, TAB_CHANNEL};
  bool columnsDone_[3] = {false, false, false};
  std::vector<int> savedWidths_[3];
};

}  // namespace velmora::editor
