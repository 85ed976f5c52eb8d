// The three lists and the two SAT Name boxes of the Transponder and Channel
// tabs, filled from the database in one place: which list each tab shows,
// its columns, and the rows of a satellite's table.
#pragma once

#include <string>

#include "db/channel_db.h"
#include "editor/port.h"

namespace velmora::editor {

inline constexpr int TAB_SATELLITE = 1;
inline constexpr int TAB_TRANSPONDER = 2;
inline constexpr int TAB_CHANNEL = 3;

class ListsPresenter {
 public:
  ListsPresenter(Controls& controls, const ChannelDb& db) : controls_(controls), db_(db) {}

  // The list a tab shows, and the tab a list belongs to; 0 for none.
  static int listOfTab(int tab);
  static int tabOfList(int list);
  // The "No." column of row `row` as the tab's list shows it.
  static std::string rowNumber(int tab, int row);

  // Shows the tab's list and hides the others; the list gets its columns
  // the first time.
  void bringUp(int tab);

  // Row `row` of satellite s's table into its list, and every row of a
  // table into an emptied list.
  void insertSatRow(int s);
  void insertTpRow(int s, int row);
  void insertSvcRow(int s, int row);
  void listSatellites();
  void listTransponders(int s);
  void listChannels(int s);

  // Both SAT Name boxes emptied and filled with the names in slot order.
  void rewriteSatelliteCombos();

 private:
  Controls& controls_;
  const ChannelDb& db_;
  bool columnsDone_[3] = {false, false, false};
};

}  // namespace velmora::editor
