#include "editor/undo_history.h"

#include <algorithm>
#include <cstdint>

#include "db/record_fields.h"

namespace velmora::editor {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// Texts as a variable-length count of bytes (seven bits a byte) and the
// bytes; numbers likewise.
void putCount(std::string& out, std::uint64_t n) {
  while (n >= 0x80) {
    out.push_back(static_cast<char>((n & 0x7F) | 0x80));
    n >>= 7;
  }
  out.push_back(static_cast<char>(n));
}
void put(std::string& out, const std::string& text) {
  putCount(out, text.size());
  out.append(text);
}

// Reads back what this file packed; the buffer never leaves it.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  std::uint64_t count() {
    std::uint64_t n = 0;
    for (int shift = 0; pos_ < bytes_.size(); shift += 7) {
      const auto byte = static_cast<unsigned char>(bytes_[pos_++]);
      n |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) break;
    }
    return n;
  }
  void get(std::string& text) {
    const std::size_t n = std::min<std::size_t>(count(), bytes_.size() - pos_);
    text.assign(bytes_, pos_, n);
    pos_ += n;
  }

 private:
  const std::string& bytes_;
  std::size_t pos_ = 0;
};

// A satellite's fields are all text.
void putSat(std::string& out, const SatRecord& s) {
  for (const RecordField<SatRecord>& f : SAT_FIELDS) put(out, s.*f.text);
}
void getSat(Reader& in, SatRecord& s) {
  for (const RecordField<SatRecord>& f : SAT_FIELDS) in.get(s.*f.text);
}

// Equal but for the transponder numbers a save writes.
bool sameTransponders(const TpTable& a, const TpTable& b) {
  if (a.count() != b.count()) return false;
  for (int r = 0; r < a.count(); ++r) {
    for (const RecordField<TpRecord>& f : TP_FIELDS)
      if (!f.derived && !f.same(a[r], b[r])) return false;
  }
  return true;
}

bool sameServices(const SvcTable& a, const SvcTable& b) {
  if (a.count() != b.count()) return false;
  for (int r = 0; r < a.count(); ++r) {
    const SvcRecord& x = a[r];
    const SvcRecord& y = b[r];
    if (x.videoPid != y.videoPid || x.audioPid != y.audioPid || x.pcrPid != y.pcrPid ||
        x.serviceId != y.serviceId || x.name != y.name || x.serviceType != y.serviceType ||
        x.spare != y.spare || x.tpKey != y.tpKey)
      return false;
  }
  return true;
}

// What a step changed of the file state goes back (or forth); what it left
// alone stays as it is now, so that a later save's file name survives
// undoing an earlier step.
void takeFileState(const FileState& from, const FileState& to, FileState& now) {
  if (from.layout != to.layout) now.layout = to.layout;
  if (from.file != to.file) now.file = to.file;
}

}  // namespace

bool sameContent(const ChannelDb& a, const ChannelDb& b) {
  if (a.satCount != b.satCount) return false;
  for (int s = 0; s < a.satCount && s < MAX_SATS; ++s) {
    const std::size_t i = at(s);
    if (!(a.sats[i] == b.sats[i]) || !sameTransponders(a.tpTables[i], b.tpTables[i]) ||
        !sameServices(a.svcTables[i], b.svcTables[i]))
      return false;
  }
  return true;
}

UndoHistory::PackedSlot UndoHistory::pack(int index, const SatRecord& sat, const TpTable& tps,
                                          const SvcTable& svcs) {
  PackedSlot slot{index, {}};
  std::string& out = slot.bytes;
  putSat(out, sat);
  putCount(out, static_cast<std::uint64_t>(tps.count()));
  for (const TpRecord& t : tps)
    for (const std::string* f :
         {&t.polarization, &t.frequency, &t.symbolRate, &t.seqNo, &t.nid, &t.tid})
      put(out, *f);
  putCount(out, static_cast<std::uint64_t>(svcs.count()));
  for (const SvcRecord& v : svcs) {
    for (const std::string* f : {&v.videoPid, &v.audioPid, &v.pcrPid, &v.serviceId, &v.name,
                                 &v.tpSeqNo, &v.spare, &v.tpKey})
      put(out, *f);
    putCount(out, static_cast<std::uint32_t>(v.serviceType));
  }
  out.shrink_to_fit();
  return slot;
}

std::vector<UndoHistory::PackedSlot> UndoHistory::packSlots(const std::vector<PackedSlot>& like,
                                                            const ChannelDb& db) {
  std::vector<PackedSlot> out;
  out.reserve(like.size());
  for (const PackedSlot& slot : like) {
    const std::size_t i = at(slot.index);
    out.push_back(pack(slot.index, db.sats[i], db.tpTables[i], db.svcTables[i]));
  }
  return out;
}

void UndoHistory::apply(const std::vector<PackedSlot>& slots, int satCount, ChannelDb& db) {
  for (const PackedSlot& slot : slots) {
    const std::size_t i = at(slot.index);
    Reader in(slot.bytes);
    getSat(in, db.sats[i]);
    TpTable tps;
    for (auto n = in.count(); n > 0; --n) {
      TpRecord t;
      for (std::string* f :
           {&t.polarization, &t.frequency, &t.symbolRate, &t.seqNo, &t.nid, &t.tid})
        in.get(*f);
      tps.append(std::move(t));
    }
    SvcTable svcs;
    for (auto n = in.count(); n > 0; --n) {
      SvcRecord v;
      for (std::string* f : {&v.videoPid, &v.audioPid, &v.pcrPid, &v.serviceId, &v.name, &v.tpSeqNo,
                             &v.spare, &v.tpKey})
        in.get(*f);
      v.serviceType = static_cast<std::int32_t>(static_cast<std::uint32_t>(in.count()));
      svcs.append(std::move(v));
    }
    db.tpTables[i] = std::move(tps);
    db.svcTables[i] = std::move(svcs);
  }
  db.satCount = satCount;
  db.recountTotals();
}

void UndoHistory::begin(const ChannelDb& db, const FileState& file) {
  Content& c = pending_.emplace();
  c.satCount = db.satCount;
  c.file = file;
  c.sats = db.sats;
  c.tps = db.tpTables;
  c.svcs = db.svcTables;
}

bool UndoHistory::commit(const ChannelDb& db, const FileState& file) {
  if (!pending_) return false;
  const Content before = std::move(*pending_);
  pending_.reset();

  Step step;
  step.satCountBefore = before.satCount;
  step.satCountAfter = db.satCount;
  step.fileBefore = before.file;
  step.fileAfter = file;
  // Slots beyond the satellite count are empty in a database the editor
  // keeps, so every slot is compared: a removed satellite leaves its last
  // slot empty and that is part of the change.
  for (int s = 0; s < MAX_SATS; ++s) {
    const std::size_t i = at(s);
    if (before.sats[i] == db.sats[i] && sameTransponders(before.tps[i], db.tpTables[i]) &&
        sameServices(before.svcs[i], db.svcTables[i]))
      continue;
    step.before.push_back(pack(s, before.sats[i], before.tps[i], before.svcs[i]));
  }
  // A new file name alone (a save) is no change of the database.
  if (step.before.empty() && step.satCountBefore == step.satCountAfter &&
      step.fileBefore.layout == step.fileAfter.layout)
    return false;

  undo_.push_back(std::move(step));
  // A new change ends the way back to anything undone.
  redo_.clear();
  if (undo_.size() > MAX_STEPS) undo_.pop_front();
  return true;
}

bool UndoHistory::undo(ChannelDb& db, FileState& file) {
  if (undo_.empty()) return false;
  pending_.reset();
  Step step = std::move(undo_.back());
  undo_.pop_back();
  step.after = packSlots(step.before, db);
  apply(step.before, step.satCountBefore, db);
  takeFileState(step.fileAfter, step.fileBefore, file);
  redo_.push_back(std::move(step));
  return true;
}

bool UndoHistory::redo(ChannelDb& db, FileState& file) {
  if (redo_.empty()) return false;
  pending_.reset();
  Step step = std::move(redo_.back());
  redo_.pop_back();
  apply(step.after, step.satCountAfter, db);
  takeFileState(step.fileBefore, step.fileAfter, file);
  step.after.clear();
  step.after.shrink_to_fit();
  undo_.push_back(std::move(step));
  return true;
}

void UndoHistory::clear() {
  pending_.reset();
  undo_.clear();
  redo_.clear();
}

}  // namespace velmora::editor
