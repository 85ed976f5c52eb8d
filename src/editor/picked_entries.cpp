#include "editor/picked_entries.h"

#include <cstdlib>
#include <unordered_map>

#include "db/record_fields.h"

namespace velmora::editor {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// Each text as its length and bytes, so that no two entries share a key.
void put(std::string& key, const std::string& text) {
  key += std::to_string(text.size());
  key += ':';
  key += text;
}

// Every field the user sees or sets of an entry, each as its length and
// bytes; the numbers a save works out again are no part of it.
template <class Record, std::size_t N>
std::string keyOfFields(const Record& r, const RecordField<Record> (&fields)[N]) {
  std::string key;
  for (const RecordField<Record>& f : fields) {
    if (f.derived) continue;
    put(key, f.text ? r.*f.text : std::to_string(r.*f.number));
  }
  return key;
}

}  // namespace

std::string Picks::keyOf(const SatRecord& s) { return keyOfFields(s, SAT_FIELDS); }
std::string Picks::keyOf(const TpRecord& t) { return keyOfFields(t, TP_FIELDS); }
std::string Picks::keyOf(const SvcRecord& v) { return keyOfFields(v, SVC_FIELDS); }

std::vector<int> Picks::rows() const {
  std::vector<int> out;
  for (const Entry& e : entries_) out.push_back(e.row);
  return out;
}

void Picks::capture(int tab, const std::vector<int>& rows, int count, const RowKey& key) {
  entries_.clear();
  tab_ = tab;
  for (int row : rows)
    if (row >= 0 && row < count) entries_.push_back({row, key(row)});
}

void Picks::recapture(int count, const RowKey& key) {
  for (Entry& e : entries_)
    if (e.row >= 0 && e.row < count) e.key = key(e.row);
}

Picks::Followed Picks::follow(int count, const RowKey& key) {
  std::vector<bool> taken(at(count), false);
  std::unordered_multimap<std::string, int> rowsByKey;
  auto lookUp = [&](const Entry& p) {
    if (p.row >= 0 && p.row < count && !taken[at(p.row)] && key(p.row) == p.key) return p.row;
    if (rowsByKey.empty())
      for (int r = 0; r < count; ++r) rowsByKey.emplace(key(r), r);
    int best = -1;
    const auto [from, to] = rowsByKey.equal_range(p.key);
    for (auto it = from; it != to; ++it) {
      const int r = it->second;
      if (taken[at(r)]) continue;
      if (best < 0 || std::abs(r - p.row) < std::abs(best - p.row)) best = r;
    }
    return best;
  };

  std::vector<Entry> kept;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const int row = lookUp(entries_[i]);
    if (row < 0) {
      if (i == 0) break;  // the entry the panel shows is gone
      continue;
    }
    taken[at(row)] = true;
    kept.push_back({row, std::move(entries_[i].key)});
  }
  if (kept.empty()) {
    entries_.clear();
    return {true, false};
  }
  const bool moved = kept.front().row != entries_.front().row;
  entries_ = std::move(kept);
  return {false, moved};
}

}  // namespace velmora::editor
