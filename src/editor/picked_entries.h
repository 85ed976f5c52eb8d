// What the user picked in the shown list, kept by the entries themselves
// rather than by row numbers: after a sort, a move, a drag, an undo or any
// refill each picked entry is found again where it went, or forgotten when
// it is gone. No window here: the editor shows the result.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/channel_db.h"

namespace velmora::editor {

class Picks {
 public:
  // An entry's identity: every field the user can see or set. The numbers
  // a save writes (`seqNo`, `tpSeqNo`) follow from the order and do not
  // count.
  static std::string keyOf(const SatRecord& s);
  static std::string keyOf(const TpRecord& t);
  static std::string keyOf(const SvcRecord& v);

  // The key of row r of the table the picks are in.
  using RowKey = std::function<std::string(int row)>;

  bool empty() const { return entries_.empty(); }
  // The tab the picks were made on.
  int tab() const { return tab_; }
  // The row the edit panel shows: the first picked.
  int frontRow() const { return entries_.front().row; }
  std::vector<int> rows() const;

  // The picked rows `rows` of tab `tab`'s table of `count` rows; rows
  // outside it are left out.
  void capture(int tab, const std::vector<int>& rows, int count, const RowKey& key);
  void clear() { entries_.clear(); }
  // The picked rows hold changed entries (a save cut their names): they
  // are what is picked from now on.
  void recapture(int count, const RowKey& key);

  // Finds each picked entry again among `count` rows: first where it was,
  // else the same entry nearest to where it was. When the first is gone,
  // every pick goes (lost); others that are gone are dropped.
  struct Followed {
    bool lost = false;
    bool moved = false;  // the first picked entry is on another row
  };
  Followed follow(int count, const RowKey& key);

 private:
  struct Entry {
    int row = -1;
    std::string key;
  };
  std::vector<Entry> entries_;
  int tab_ = 0;
};

}  // namespace velmora::editor
