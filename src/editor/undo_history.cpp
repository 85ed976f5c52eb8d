#include "editor/undo_history.h"

#include <algorithm>

namespace velmora::editor {

namespace {
std::size_t at(int i) { return static_cast<std::size_t>(i); }
}  // namespace

void UndoHistory::begin(const ChannelDb& db) {
  Content& c = pending_.emplace();
  c.satCount = db.satCount;
  c.sats = db.sats;
  c.tps = db.tpTables;
  c.svcs = db.svcTables;
}

bool UndoHistory::commit(const ChannelDb& db) {
  if (!pending_) return false;
  Content before = std::move(*pending_);
  pending_.reset();

  Step step;
  step.before.satCount = before.satCount;
  step.after.satCount = db.satCount;
  // Slots beyond the satellite count are empty in a database the editor
  // keeps, so every slot is compared: a removed satellite leaves its last
  // slot empty and that is part of the change.
  for (int s = 0; s < MAX_SATS; ++s) {
    const std::size_t i = at(s);
    if (before.sats[i] == db.sats[i] && before.tps[i] == db.tpTables[i] &&
        before.svcs[i] == db.svcTables[i])
      continue;
    step.before.changed.push_back(
        {s, std::move(before.sats[i]), std::move(before.tps[i]), std::move(before.svcs[i])});
    step.after.changed.push_back({s, db.sats[i], db.tpTables[i], db.svcTables[i]});
  }
  if (step.before.changed.empty() && step.before.satCount == step.after.satCount) return false;

  step.id = nextId_++;
  undo_.push_back(std::move(step));
  // A new change ends the way back to anything undone.
  redo_.clear();
  if (undo_.size() > MAX_STEPS) {
    baseId_ = undo_.front().id;
    undo_.pop_front();
  }
  return true;
}

void UndoHistory::apply(const Side& side, ChannelDb& db) {
  for (const Slot& slot : side.changed) {
    const std::size_t i = at(slot.index);
    db.sats[i] = slot.sat;
    db.tpTables[i] = slot.tps;
    db.svcTables[i] = slot.svcs;
  }
  db.satCount = side.satCount;
  db.recountTotals();
}

bool UndoHistory::undo(ChannelDb& db) {
  if (undo_.empty()) return false;
  pending_.reset();
  apply(undo_.back().before, db);
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  return true;
}

bool UndoHistory::redo(ChannelDb& db) {
  if (redo_.empty()) return false;
  pending_.reset();
  apply(redo_.back().after, db);
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  return true;
}

void UndoHistory::clear() {
  pending_.reset();
  undo_.clear();
  redo_.clear();
  baseId_ = nextId_++;
  savedId_ = baseId_;
}

}  // namespace velmora::editor
