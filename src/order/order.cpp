#include "order/order.h"

#include <algorithm>
#include <numeric>

#include "db/text_number.h"

namespace velmora::order {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// The exchange sort, played on the keys alone. Pass i keeps a "champion"
// at position i and exchanges it with every later entry whose key is
// strictly smaller, so a pass only ever stops at entries below the
// champion's key. The keys are cut into blocks of 64 with the smallest key
// of each block: a block whose smallest key is not below the champion
// cannot hold such an entry and is passed over whole. Only blocks wholly
// after position i are ever passed over, so a block's minimum needs
// recomputing only when a pass exchanged something inside it.
template <class Key>
std::vector<int> exchangeOrder(std::span<const Key> input) {
  const int n = static_cast<int>(input.size());
  std::vector<int> order(at(n));
  std::iota(order.begin(), order.end(), 0);
  if (n < 2) return order;

  constexpr int B = 64;
  std::vector<Key> key(input.begin(), input.end());
  const int blocks = (n + B - 1) / B;
  std::vector<Key> blockMin(at(blocks));
  auto recompute = [&](int b) {
    const auto first = key.begin() + b * B;
    blockMin[at(b)] = *std::min_element(first, key.begin() + std::min(n, (b + 1) * B));
  };
  for (int b = 0; b < blocks; ++b) recompute(b);

  for (int i = 0; i + 1 < n; ++i) {
    Key champion = key[at(i)];
    int j = i + 1;
    while (j < n) {
      const int b = j / B;
      const int end = std::min(n, (b + 1) * B);
      if (j == b * B && !(blockMin[at(b)] < champion)) {
        j = end;
        continue;
      }
      bool exchanged = false;
      for (; j < end; ++j) {
        if (key[at(j)] < champion) {
          const Key smaller = key[at(j)];
          key[at(j)] = champion;
          key[at(i)] = champion = smaller;
          std::swap(order[at(i)], order[at(j)]);
          exchanged = true;
        }
      }
      if (exchanged && b * B > i) recompute(b);
    }
  }
  return order;
}

// Rebuilds a table in the given order, moving each row once.
template <class Row>
void reorder(BoundedTable<Row>& table, const std::vector<int>& order) {
  BoundedTable<Row> sorted;
  for (int from : order) sorted.append(std::move(table[from]));
  table = std::move(sorted);
}

// Puts the first order.size() satellites in the given order (order[k] is
// the satellite that ends at k), each with its transponders and channels.
void reorderSatellites(ChannelDb& db, const std::vector<int>& order) {
  std::vector<SatRecord> sats;
  std::vector<TpTable> tps;
  std::vector<SvcTable> svcs;
  for (int from : order) {
    sats.push_back(std::move(db.sats[at(from)]));
    tps.push_back(std::move(db.tpTables[at(from)]));
    svcs.push_back(std::move(db.svcTables[at(from)]));
  }
  for (std::size_t k = 0; k < order.size(); ++k) {
    db.sats[k] = std::move(sats[k]);
    db.tpTables[k] = std::move(tps[k]);
    db.svcTables[k] = std::move(svcs[k]);
  }
}

bool containsV(const std::string& polarization) {
  return polarization.find('V') != std::string::npos;
}

bool inList(int i, int count) { return i >= 0 && i < count; }

// Takes the element at `from` out and puts it at `to`.
template <class It>
void rotateOne(It first, int from, int to) {
  if (from < to)
    std::rotate(first + from, first + from + 1, first + to + 1);
  else if (from > to)
    std::rotate(first + to, first + from, first + from + 1);
}

}  // namespace

std::uint16_t nameKey(std::string_view name) {
  if (name.empty()) return 0;
  unsigned char c = static_cast<unsigned char>(name.front());
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  return static_cast<std::uint16_t>(c + 1);
}

std::uint16_t serviceKey(const SvcRecord& svc) {
  return nameKey(svc.name.empty() ? std::string_view("....") : std::string_view(svc.name));
}

std::vector<int> exchangeSortOrder(std::span<const std::uint16_t> keys) {
  return exchangeOrder(keys);
}

std::vector<int> exchangeSortOrder(std::span<const std::int64_t> keys) {
  return exchangeOrder(keys);
}

void sortSatellites(ChannelDb& db) {
  const int n = std::clamp(db.satCount, 0, MAX_SATS);
  std::vector<std::uint16_t> keys;
  for (int s = 0; s < n; ++s) keys.push_back(nameKey(db.sats[at(s)].name));
  reorderSatellites(db, exchangeSortOrder(keys));
}

void sortTransponders(TpTable& table) {
  std::vector<std::int64_t> keys;
  keys.reserve(at(table.count()));
  for (const TpRecord& tp : table) keys.push_back(leadingValue(tp.frequency));
  std::vector<int> order = exchangeSortOrder(keys);
  // The receiver's lists show all vertical transponders first. Circular
  // polarizations ("L", "R") and anything else join the second group, so
  // that no transponder is lost.
  std::stable_partition(order.begin(), order.end(),
                        [&](int r) { return containsV(table[r].polarization); });
  reorder(table, order);
}

void sortServices(SvcTable& table) {
  std::vector<std::uint16_t> keys;
  keys.reserve(at(table.count()));
  for (const SvcRecord& svc : table) keys.push_back(serviceKey(svc));
  reorder(table, exchangeSortOrder(keys));
}

void sortTab(ChannelDb& db, Tab tab) {
  const int n = std::clamp(db.satCount, 0, MAX_SATS);
  switch (tab) {
    case Tab::Satellites:
      sortSatellites(db);
      break;
    case Tab::Transponders:
      for (int s = 0; s < n; ++s) sortTransponders(db.tpTables[at(s)]);
      break;
    case Tab::Channels:
      for (int s = 0; s < n; ++s) sortServices(db.svcTables[at(s)]);
      break;
  }
}

int entryCount(const ChannelDb& db, Tab tab, int sat) {
  const int n = std::clamp(db.satCount, 0, MAX_SATS);
  if (tab == Tab::Satellites) return n;
  if (!inList(sat, n)) return 0;
  return tab == Tab::Transponders ? db.tpTables[at(sat)].count() : db.svcTables[at(sat)].count();
}

bool moveEntry(ChannelDb& db, Tab tab, int sat, int from, int to) {
  const int count = entryCount(db, tab, sat);
  if (!inList(from, count) || !inList(to, count)) return false;
  switch (tab) {
    case Tab::Satellites:
      rotateOne(db.sats.begin(), from, to);
      rotateOne(db.tpTables.begin(), from, to);
      rotateOne(db.svcTables.begin(), from, to);
      break;
    case Tab::Transponders:
      rotateOne(db.tpTables[at(sat)].begin(), from, to);
      break;
    case Tab::Channels:
      rotateOne(db.svcTables[at(sat)].begin(), from, to);
      break;
  }
  return true;
}

namespace {

// The order after a block move: result[k] is the index of the entry that
// ends at k.
std::vector<int> blockOrder(int count, const std::vector<int>& rows, int to) {
  std::vector<bool> inBlock(at(count), false);
  for (int r : rows) inBlock[at(r)] = true;
  std::vector<int> order;
  order.reserve(at(count));
  for (int r = 0; r < count; ++r)
    if (!inBlock[at(r)]) order.push_back(r);
  order.insert(order.begin() + to, rows.begin(), rows.end());
  return order;
}

bool validBlock(const std::vector<int>& rows, int to, int count) {
  if (rows.empty() || to < 0 || to > count - static_cast<int>(rows.size())) return false;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (!inList(rows[i], count) || (i > 0 && rows[i] <= rows[i - 1])) return false;
  return true;
}

}  // namespace

bool moveBlock(ChannelDb& db, Tab tab, int sat, const std::vector<int>& rows, int to) {
  const int count = entryCount(db, tab, sat);
  if (!validBlock(rows, to, count)) return false;
  const std::vector<int> order = blockOrder(count, rows, to);
  switch (tab) {
    case Tab::Satellites:
      reorderSatellites(db, order);
      break;
    case Tab::Transponders:
      reorder(db.tpTables[at(sat)], order);
      break;
    case Tab::Channels:
      reorder(db.svcTables[at(sat)], order);
      break;
  }
  return true;
}

// Block entry i ends at to + i. Those that go down the list (or stay) are
// a leading part of the block, and are moved last first: each leaves the
// rows above it alone, so the next one down is still where it was. Those
// that go up are moved first first, for the same reason from below.
std::vector<std::pair<int, int>> blockMoveSteps(const std::vector<int>& rows, int to) {
  std::vector<std::pair<int, int>> steps;
  const int n = static_cast<int>(rows.size());
  int down = 0;
  while (down < n && rows[at(down)] <= to + down) ++down;
  for (int i = down - 1; i >= 0; --i)
    if (rows[at(i)] != to + i) steps.emplace_back(rows[at(i)], to + i);
  for (int i = down; i < n; ++i) steps.emplace_back(rows[at(i)], to + i);
  return steps;
}

}  // namespace velmora::order
