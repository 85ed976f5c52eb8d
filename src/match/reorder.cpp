// Putting a database in the order of another by their matching.
#include <algorithm>
#include <array>
#include <climits>
#include <numeric>

#include "match/match.h"
#include "match/match_rows.h"

namespace velmora::match {

namespace {

// The rows in their new order: matched ones by their partner's position,
// then the others as they were.
std::vector<int> newOrder(const std::vector<int>& m) {
  std::vector<int> order(m.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
    const int kx = m[at(x)] < 0 ? INT_MAX : m[at(x)];
    const int ky = m[at(y)] < 0 ? INT_MAX : m[at(y)];
    return kx < ky;
  });
  return order;
}

bool isIdentity(const std::vector<int>& order) {
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i] != static_cast<int>(i)) return false;
  return true;
}

template <class Row>
bool reorderTable(BoundedTable<Row>& table, const std::vector<int>& m) {
  const std::vector<int> order = newOrder(m);
  if (isIdentity(order)) return false;
  std::vector<Row> rows;
  rows.reserve(order.size());
  for (const int i : order) rows.push_back(std::move(table[i]));
  table.clear();
  for (Row& row : rows) table.append(std::move(row));
  return true;
}

void count(Count& c, const std::vector<int>& m, int refSize) {
  const auto matched =
      static_cast<int>(std::count_if(m.begin(), m.end(), [](int x) { return x >= 0; }));
  c.matched += matched;
  c.unmatched += static_cast<int>(m.size()) - matched;
  c.missing += refSize - matched;
}

}  // namespace

ReorderReport reorderLike(ChannelDb& db, const ChannelDb& ref) {
  const Matching m = matchDatabases(db, ref);
  ReorderReport report;
  count(report.satellites, m.sats, ref.satCount);
  for (int d = 0; d < db.satCount; ++d) {
    const int r = m.sats[at(d)];
    count(report.transponders, m.tps[at(d)], r < 0 ? 0 : ref.tpTables[at(r)].count());
    count(report.channels, m.svcs[at(d)], r < 0 ? 0 : ref.svcTables[at(r)].count());
    report.changed |= reorderTable(db.tpTables[at(d)], m.tps[at(d)]);
    report.changed |= reorderTable(db.svcTables[at(d)], m.svcs[at(d)]);
  }
  // Reference satellites that match nothing: their transponders and
  // channels are missing too.
  std::vector<char> refMatched(at(ref.satCount), 0);
  for (const int r : m.sats)
    if (r >= 0) refMatched[at(r)] = 1;
  for (int r = 0; r < ref.satCount; ++r) {
    if (refMatched[at(r)]) continue;
    report.transponders.missing += ref.tpTables[at(r)].count();
    report.channels.missing += ref.svcTables[at(r)].count();
  }

  const std::vector<int> order = newOrder(m.sats);
  report.satelliteOrder = order;
  if (!isIdentity(order)) {
    report.changed = true;
    std::array<SatRecord, MAX_SATS> sats;
    std::array<TpTable, MAX_SATS> tps;
    std::array<SvcTable, MAX_SATS> svcs;
    for (std::size_t i = 0; i < order.size(); ++i) {
      sats[i] = std::move(db.sats[at(order[i])]);
      tps[i] = std::move(db.tpTables[at(order[i])]);
      svcs[i] = std::move(db.svcTables[at(order[i])]);
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
      db.sats[i] = std::move(sats[i]);
      db.tpTables[i] = std::move(tps[i]);
      db.svcTables[i] = std::move(svcs[i]);
    }
  }
  return report;
}

}  // namespace velmora::match
