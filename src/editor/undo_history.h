// Undo and redo of changes to the database: the satellites and their
// transponder and channel tables, and what decides how the database is
// saved (the file's layout and the file the window names). A step keeps
// only the satellite slots a change touched, as they were before and after
// it, so an edit of one channel costs one satellite's tables, not the whole
// database. Counters, cursors and picks are not part of a step: the window
// works them out again after an undo. The numbering a save writes into the
// tables (`seqNo`, `tpSeqNo`) is derived from the order and is no change.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "db/channel_db.h"
#include "wdb/wdb_format.h"

namespace velmora::editor {

// Beside the content, what a step restores: the layout the database is
// saved in and the file the window shows it as.
struct FileState {
  wdb::Layout layout = wdb::Layout::NotChosen;
  std::string file;
  bool operator==(const FileState&) const = default;
};

// Whether two databases hold the same satellites, transponders and
// channels in the same order, leaving aside the numbering a save derives.
bool sameContent(const ChannelDb& a, const ChannelDb& b);

class UndoHistory {
 public:
  static constexpr std::size_t MAX_STEPS = 100;

  // Around a command that may change the database: `begin` remembers it,
  // `commit` records a step when the content or the file state differs and
  // tells whether it did. A commit without a begin, or after clear(),
  // records nothing.
  void begin(const ChannelDb& db, const FileState& file = {});
  bool commit(const ChannelDb& db, const FileState& file = {});

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  // Puts the database back as it was before the last step (after the last
  // undone step); false when there is none. `file` holds the file state as
  // it is now, and gets back what the step changed of it.
  bool undo(ChannelDb& db, FileState& file);
  bool redo(ChannelDb& db, FileState& file);
  bool undo(ChannelDb& db) {
    FileState ignored;
    return undo(db, ignored);
  }
  bool redo(ChannelDb& db) {
    FileState ignored;
    return redo(db, ignored);
  }

  // Forgets every step (a new or loaded database).
  void clear();
  std::size_t undoCount() const { return undo_.size(); }

 private:
  // One satellite slot (record and both tables) packed into one buffer:
  // each text as its length and bytes. A full database packs into a fifth
  // of the memory its strings take, so a hundred steps of a sort of every
  // satellite stay small.
  struct PackedSlot {
    int index = 0;
    std::string bytes;
  };
  struct Step {
    int satCountBefore = 0;
    int satCountAfter = 0;
    FileState fileBefore;
    FileState fileAfter;
    std::vector<PackedSlot> before;
    // Filled while the step is undone, so that redo can put it back.
    std::vector<PackedSlot> after;
  };
  // No member initialisers: clang takes a nested class with them as not
  // yet default-constructible inside its enclosing class.
  struct Content {
    int satCount;
    FileState file;
    std::array<SatRecord, MAX_SATS> sats;
    std::array<TpTable, MAX_SATS> tps;
    std::array<SvcTable, MAX_SATS> svcs;
  };

  static PackedSlot pack(int index, const SatRecord& sat, const TpTable& tps, const SvcTable& svcs);
  static std::vector<PackedSlot> packSlots(const std::vector<PackedSlot>& like,
                                           const ChannelDb& db);
  static void apply(const std::vector<PackedSlot>& slots, int satCount, ChannelDb& db);

  std::optional<Content> pending_;
  std::deque<Step> undo_;
  std::vector<Step> redo_;
};

}  // namespace velmora::editor
