#include "match/match.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <tuple>

#include "db/text_number.h"

namespace velmora::match {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string channelNameKey(std::string_view name) { return lowered(trimmed(name)); }

// Candidates under one key, in list order; the entries of one side are
// taken at most once (`used` is shared by all keys of that side).
template <class Key>
class Pool {
 public:
  explicit Pool(std::vector<char>& used) : used_(used) {}

  void add(const Key& key, int row) { buckets_[key].rows.push_back(row); }

  // The first unused candidate, or -1.
  int peek(const Key& key) {
    const auto it = buckets_.find(key);
    if (it == buckets_.end()) return -1;
    Bucket& b = it->second;
    while (b.head < b.rows.size() && used_[at(b.rows[b.head])]) ++b.head;
    return b.head < b.rows.size() ? b.rows[b.head] : -1;
  }

  // Takes the first unused candidate; when `same` is given, a candidate
  // equal in every field a little further on is taken instead, so that
  // duplicates that differ in other fields find their own partner. The
  // look-ahead is bounded: a list of thousands of equal keys stays linear.
  int take(const Key& key, const std::function<bool(int)>& same = {}) {
    int pick = peek(key);
    if (pick < 0) return -1;
    if (same && !same(pick)) {
      Bucket& b = buckets_.find(key)->second;
      constexpr std::size_t LOOK_AHEAD = 64;
      for (std::size_t i = b.head + 1; i < b.rows.size() && i <= b.head + LOOK_AHEAD; ++i) {
        const int row = b.rows[i];
        if (!used_[at(row)] && same(row)) {
          pick = row;
          break;
        }
      }
    }
    used_[at(pick)] = 1;
    return pick;
  }

 private:
  struct Bucket {
    std::vector<int> rows;
    std::size_t head = 0;
  };
  std::map<Key, Bucket> buckets_;
  std::vector<char>& used_;
};

// One round of matching: every reference entry not matched yet takes the
// first unused entry of the database with the same key (entries without a
// key, nullopt, take part in no round).
struct Sides {
  std::vector<int>& m;         // database entry -> reference entry
  std::vector<char>& used;     // database entries taken
  std::vector<char>& refDone;  // reference entries matched
};
template <class Key, class DbKey, class RefKey>
void matchRound(Sides sides, DbKey dbKey, RefKey refKey,
                const std::function<bool(int, int)>& same) {
  Pool<Key> pool(sides.used);
  for (std::size_t d = 0; d < sides.m.size(); ++d)
    if (!sides.used[d])
      if (const std::optional<Key> k = dbKey(static_cast<int>(d)))
        pool.add(*k, static_cast<int>(d));
  for (std::size_t r = 0; r < sides.refDone.size(); ++r) {
    if (sides.refDone[r]) continue;
    const std::optional<Key> k = refKey(static_cast<int>(r));
    if (!k) continue;
    const int d = pool.take(*k, [&](int row) { return same(row, static_cast<int>(r)); });
    if (d < 0) continue;
    sides.m[at(d)] = static_cast<int>(r);
    sides.refDone[r] = 1;
  }
}

// The longitude code and the name, then the code alone, then the name
// alone: of two satellites with one code, the one of the same name wins.
std::vector<int> matchSatellites(const ChannelDb& db, const ChannelDb& ref) {
  std::vector<int> m(at(db.satCount), -1);
  std::vector<char> used(at(db.satCount), 0);
  std::vector<char> refDone(at(ref.satCount), 0);
  const Sides sides{m, used, refDone};
  auto same = [&](int d, int r) { return db.sats[at(d)] == ref.sats[at(r)]; };
  auto code = [](const ChannelDb& x) {
    return [&x](int i) -> std::optional<std::int64_t> {
      const std::int64_t c = leadingValue(x.sats[at(i)].sdxCode);
      return c == 0 ? std::nullopt : std::optional(c);
    };
  };
  auto name = [](const ChannelDb& x) {
    return [&x](int i) { return std::optional(satelliteNameKey(x.sats[at(i)].name)); };
  };
  auto both = [&](const ChannelDb& x) {
    return [&x, code, name](int i) -> std::optional<std::pair<std::int64_t, std::string>> {
      const auto c = code(x)(i);
      if (!c) return std::nullopt;
      return std::pair{*c, *name(x)(i)};
    };
  };
  matchRound<std::pair<std::int64_t, std::string>>(sides, both(db), both(ref), same);
  matchRound<std::int64_t>(sides, code(db), code(ref), same);
  matchRound<std::string>(sides, name(db), name(ref), same);
  return m;
}

using TpKey = std::tuple<std::string, std::int64_t, std::int64_t>;  // pol, symbol rate, MHz

TpKey tpKeyOf(const TpRecord& tp) {
  std::string pol(trimmed(tp.polarization));
  for (char& c : pol)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return {pol, leadingValue(tp.symbolRate), leadingValue(tp.frequency)};
}

// Every field but the sequence number, which is the place in the file.
bool sameTransponder(const TpRecord& x, const TpRecord& y) {
  return x.polarization == y.polarization && x.frequency == y.frequency &&
         x.symbolRate == y.symbolRate && x.nid == y.nid && x.tid == y.tid;
}

// Transponders: exact frequencies first, then 1 MHz apart, then 2; within
// each step the reference's order, and of two candidates the one listed
// first.
std::vector<int> matchTransponders(const TpTable& db, const TpTable& ref) {
  constexpr std::int64_t MAX_SHIFT_MHZ = 2;
  std::vector<int> m(at(db.count()), -1);
  std::vector<char> used(at(db.count()), 0);
  Pool<TpKey> pool(used);
  for (int d = 0; d < db.count(); ++d) pool.add(tpKeyOf(db[d]), d);
  std::vector<TpKey> refKeys;
  refKeys.reserve(at(ref.count()));
  for (const TpRecord& tp : ref) refKeys.push_back(tpKeyOf(tp));
  std::vector<char> refDone(at(ref.count()), 0);
  for (std::int64_t shift = 0; shift <= MAX_SHIFT_MHZ; ++shift) {
    for (int r = 0; r < ref.count(); ++r) {
      if (refDone[at(r)]) continue;
      TpKey below = refKeys[at(r)];
      TpKey above = below;
      std::get<2>(below) -= shift;
      std::get<2>(above) += shift;
      const int lo = pool.peek(below);
      const int hi = shift == 0 ? -1 : pool.peek(above);
      if (lo < 0 && hi < 0) continue;
      const bool takeLo = lo >= 0 && (hi < 0 || lo < hi);
      const int d =
          shift == 0 ? pool.take(below, [&](int row) { return sameTransponder(db[row], ref[r]); })
                     : pool.take(takeLo ? below : above);
      m[at(d)] = r;
      refDone[at(r)] = 1;
    }
  }
  return m;
}

// Row of the first transponder of `tps` that a channel's key names, or -1.
std::vector<int> transponderRows(const TpTable& tps, const SvcTable& svcs) {
  std::map<std::string, int, std::less<>> first;
  for (int t = 0; t < tps.count(); ++t) first.emplace(tpKeyShort(tps[t]), t);
  std::vector<int> rows(at(svcs.count()), -1);
  for (int s = 0; s < svcs.count(); ++s) {
    const auto it = first.find(tpKeyShortPart(svcs[s].tpKey));
    if (it != first.end()) rows[at(s)] = it->second;
  }
  return rows;
}

std::vector<int> inverse(const std::vector<int>& m, std::size_t size) {
  std::vector<int> inv(size, -1);
  for (std::size_t i = 0; i < m.size(); ++i)
    if (m[i] >= 0) inv[at(m[i])] = static_cast<int>(i);
  return inv;
}

// Every field but the transponder key, which follows the transponder's
// frequency, and the derived link number.
bool sameChannel(const SvcRecord& x, const SvcRecord& y) {
  return x.name == y.name && x.serviceId == y.serviceId && x.videoPid == y.videoPid &&
         x.audioPid == y.audioPid && x.pcrPid == y.pcrPid && x.serviceType == y.serviceType;
}

// Service id on the matched transponder with the name, then without it,
// then the name alone.
std::vector<int> matchChannels(const ChannelDb& db, int d, const ChannelDb& ref, int r,
                               const std::vector<int>& tpMatch) {
  const SvcTable& dbSvcs = db.svcTables[at(d)];
  const SvcTable& refSvcs = ref.svcTables[at(r)];
  std::vector<int> m(at(dbSvcs.count()), -1);
  std::vector<char> used(at(dbSvcs.count()), 0);
  std::vector<char> refDone(at(refSvcs.count()), 0);
  const Sides sides{m, used, refDone};
  auto same = [&](int ds, int rs) { return sameChannel(dbSvcs[ds], refSvcs[rs]); };

  const std::vector<int> dbTp = transponderRows(db.tpTables[at(d)], dbSvcs);
  const std::vector<int> refTp = transponderRows(ref.tpTables[at(r)], refSvcs);
  const std::vector<int> refToDbTp = inverse(tpMatch, at(ref.tpTables[at(r)].count()));
  // The database's transponder row a channel is on, for both sides.
  auto onTp = [&](bool isRef, int i) {
    if (!isRef) return dbTp[at(i)];
    return refTp[at(i)] < 0 ? -1 : refToDbTp[at(refTp[at(i)])];
  };
  using ServiceKey = std::pair<int, std::int64_t>;
  using NamedKey = std::pair<ServiceKey, std::string>;
  auto service = [&](bool isRef) {
    const SvcTable& t = isRef ? refSvcs : dbSvcs;
    return [&, isRef](int i) -> std::optional<ServiceKey> {
      const int tp = onTp(isRef, i);
      if (tp < 0) return std::nullopt;
      return ServiceKey{tp, leadingValue(t[i].serviceId)};
    };
  };
  auto name = [&](bool isRef) {
    const SvcTable& t = isRef ? refSvcs : dbSvcs;
    return [&t](int i) { return std::optional(channelNameKey(t[i].name)); };
  };
  auto both = [&](bool isRef) {
    return [service, name, isRef](int i) -> std::optional<NamedKey> {
      const auto k = service(isRef)(i);
      if (!k) return std::nullopt;
      return NamedKey{*k, *name(isRef)(i)};
    };
  };
  matchRound<NamedKey>(sides, both(false), both(true), same);
  matchRound<ServiceKey>(sides, service(false), service(true), same);
  matchRound<std::string>(sides, name(false), name(true), same);
  return m;
}

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

std::string satelliteNameKey(std::string_view name) {
  const std::string_view full = trimmed(name);
  std::string_view s = full;
  // A longitude at the end: [blank or "("] digits [. digits] [degree sign]
  // E|W [")"], with the degree sign or the E/W there.
  if (!s.empty() && s.back() == ')') s.remove_suffix(1);
  bool marked = false;
  if (!s.empty() && std::string_view("EeWwOo").find(s.back()) != std::string_view::npos) {
    s.remove_suffix(1);
    marked = true;
  }
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  // Degree sign in Windows-1252 (0xB0) and the masculine ordinal often
  // typed for it (0xBA).
  if (!s.empty() && (static_cast<unsigned char>(s.back()) == 0xB0 ||
                     static_cast<unsigned char>(s.back()) == 0xBA)) {
    s.remove_suffix(1);
    marked = true;
  }
  std::size_t digits = 0;
  while (!s.empty() &&
         ((s.back() >= '0' && s.back() <= '9') || s.back() == '.' || s.back() == ',')) {
    digits += s.back() >= '0' && s.back() <= '9';
    s.remove_suffix(1);
  }
  if (!s.empty() && s.back() == '(') s.remove_suffix(1);
  const bool separated =
      s.empty() || isBlank(s.back()) || (s.size() < full.size() && full[s.size()] == '(');
  s = trimmed(s);
  if (!marked || digits == 0 || !separated || s.empty()) return lowered(full);
  return lowered(s);
}

Matching matchDatabases(const ChannelDb& db, const ChannelDb& ref) {
  Matching m;
  m.sats = matchSatellites(db, ref);
  for (int d = 0; d < db.satCount; ++d) {
    const int r = m.sats[at(d)];
    if (r < 0) {
      m.tps[at(d)].assign(at(db.tpTables[at(d)].count()), -1);
      m.svcs[at(d)].assign(at(db.svcTables[at(d)].count()), -1);
      continue;
    }
    m.tps[at(d)] = matchTransponders(db.tpTables[at(d)], ref.tpTables[at(r)]);
    m.svcs[at(d)] = matchChannels(db, d, ref, r, m.tps[at(d)]);
  }
  return m;
}

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

// ---------------------------------------------------------------- diff

namespace {

// Positions (in the new list) of the entries that keep their relative
// order: a longest increasing run of old positions. The others moved.
std::vector<char> keptInOrder(const std::vector<int>& oldOfNew) {
  std::vector<int> tails;  // index into oldOfNew of the smallest tail per length
  std::vector<int> prev(oldOfNew.size(), -1);
  for (std::size_t i = 0; i < oldOfNew.size(); ++i) {
    const int v = oldOfNew[i];
    if (v < 0) continue;
    const auto pos = std::lower_bound(tails.begin(), tails.end(), v, [&](int idx, int value) {
      return oldOfNew[at(idx)] < value;
    });
    if (pos != tails.begin()) prev[i] = *(pos - 1);
    if (pos == tails.end())
      tails.push_back(static_cast<int>(i));
    else
      *pos = static_cast<int>(i);
  }
  std::vector<char> kept(oldOfNew.size(), 0);
  for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = prev[at(i)]) kept[at(i)] = 1;
  return kept;
}

std::vector<std::string> satFields(const SatRecord& a, const SatRecord& b) {
  std::vector<std::string> f;
  auto cmp = [&](const char* name, const std::string& x, const std::string& y) {
    if (x != y) f.emplace_back(name);
  };
  cmp("name", a.name, b.name);
  cmp("lnbType", a.lnbType, b.lnbType);
  cmp("lnbFreq1", a.lnbFreq1, b.lnbFreq1);
  cmp("lnbFreq2", a.lnbFreq2, b.lnbFreq2);
  cmp("diseqc", a.diseqc, b.diseqc);
  cmp("tone22k", a.tone22k, b.tone22k);
  cmp("switch12v", a.switch12v, b.switch12v);
  cmp("lnbPower", a.lnbPower, b.lnbPower);
  cmp("sdxCode", a.sdxCode, b.sdxCode);
  cmp("diseqcCommitted", a.diseqcCommitted, b.diseqcCommitted);
  cmp("diseqcUncommitted", a.diseqcUncommitted, b.diseqcUncommitted);
  return f;
}

// The sequence number is the transponder's place in the file, renumbered
// by every save: not a difference of its own.
std::vector<std::string> tpFields(const TpRecord& a, const TpRecord& b) {
  std::vector<std::string> f;
  if (a.polarization != b.polarization) f.emplace_back("polarization");
  if (a.frequency != b.frequency) f.emplace_back("frequency");
  if (a.symbolRate != b.symbolRate) f.emplace_back("symbolRate");
  if (a.nid != b.nid) f.emplace_back("nid");
  if (a.tid != b.tid) f.emplace_back("tid");
  return f;
}

std::string tpLabel(const TpRecord& tp) {
  return tp.frequency + " " + tp.polarization + " " + tp.symbolRate;
}
std::string svcLabel(const SvcRecord& svc) { return svc.name.empty() ? "...." : svc.name; }

struct SatPair {
  int a = -1, b = -1;
  std::string name;
};

// Removed, then in the new list's order added, changed and moved.
template <class Row, class Label, class Fields>
void diffList(std::vector<Change>& out, Level level, const SatPair& sat, const BoundedTable<Row>& a,
              const BoundedTable<Row>& b, const std::vector<int>& bToA, Label label,
              Fields fields) {
  Change base;
  base.level = level;
  base.satellite = sat.name;
  base.oldSatellite = sat.a + 1;
  base.newSatellite = sat.b + 1;
  const std::vector<int> aToB = inverse(bToA, at(a.count()));
  for (int i = 0; i < a.count(); ++i) {
    if (aToB[at(i)] >= 0) continue;
    Change c = base;
    c.kind = ChangeKind::Removed;
    c.entry = label(a[i]);
    c.oldPosition = i + 1;
    out.push_back(std::move(c));
  }
  const std::vector<char> kept = keptInOrder(bToA);
  for (int j = 0; j < b.count(); ++j) {
    Change c = base;
    c.entry = label(b[j]);
    c.newPosition = j + 1;
    const int i = bToA[at(j)];
    if (i < 0) {
      c.kind = ChangeKind::Added;
      out.push_back(std::move(c));
      continue;
    }
    c.oldPosition = i + 1;
    c.fields = fields(i, j);
    if (!c.fields.empty()) {
      c.kind = ChangeKind::Changed;
      out.push_back(c);
    }
    if (!kept[at(j)]) {
      c.kind = ChangeKind::Moved;
      c.fields.clear();
      out.push_back(std::move(c));
    }
  }
}

}  // namespace

std::vector<Change> diffDatabases(const ChannelDb& a, const ChannelDb& b) {
  const Matching m = matchDatabases(b, a);
  std::vector<Change> out;
  std::vector<char> aMatched(at(a.satCount), 0);
  for (const int i : m.sats)
    if (i >= 0) aMatched[at(i)] = 1;

  for (int i = 0; i < a.satCount; ++i) {
    if (aMatched[at(i)]) continue;
    Change c;
    c.kind = ChangeKind::Removed;
    c.satellite = c.entry = a.sats[at(i)].name;
    c.oldSatellite = c.oldPosition = i + 1;
    out.push_back(std::move(c));
  }
  const std::vector<char> kept = keptInOrder(m.sats);
  for (int j = 0; j < b.satCount; ++j) {
    const int i = m.sats[at(j)];
    Change c;
    c.satellite = c.entry = b.sats[at(j)].name;
    c.newSatellite = c.newPosition = j + 1;
    if (i < 0) {
      c.kind = ChangeKind::Added;
      out.push_back(std::move(c));
      continue;
    }
    c.oldSatellite = c.oldPosition = i + 1;
    c.fields = satFields(a.sats[at(i)], b.sats[at(j)]);
    if (!c.fields.empty()) {
      c.kind = ChangeKind::Changed;
      out.push_back(c);
    }
    if (!kept[at(j)]) {
      c.kind = ChangeKind::Moved;
      c.fields.clear();
      out.push_back(std::move(c));
    }

    const SatPair sat{i, j, b.sats[at(j)].name};
    const TpTable& aTps = a.tpTables[at(i)];
    const TpTable& bTps = b.tpTables[at(j)];
    const std::vector<int>& tpMatch = m.tps[at(j)];
    diffList(out, Level::Transponder, sat, aTps, bTps, tpMatch, tpLabel,
             [&](int x, int y) { return tpFields(aTps[x], bTps[y]); });

    const SvcTable& aSvcs = a.svcTables[at(i)];
    const SvcTable& bSvcs = b.svcTables[at(j)];
    const std::vector<int> aTpOf = transponderRows(aTps, aSvcs);
    const std::vector<int> bTpOf = transponderRows(bTps, bSvcs);
    diffList(out, Level::Channel, sat, aSvcs, bSvcs, m.svcs[at(j)], svcLabel, [&](int x, int y) {
      const SvcRecord& p = aSvcs[x];
      const SvcRecord& q = bSvcs[y];
      std::vector<std::string> f;
      if (p.name != q.name) f.emplace_back("name");
      if (p.serviceId != q.serviceId) f.emplace_back("serviceId");
      if (p.videoPid != q.videoPid) f.emplace_back("videoPid");
      if (p.audioPid != q.audioPid) f.emplace_back("audioPid");
      if (p.pcrPid != q.pcrPid) f.emplace_back("pcrPid");
      if (p.serviceType != q.serviceType) f.emplace_back("serviceType");
      // The same transponder is the matched one, whatever its key says now.
      const int pt = aTpOf[at(x)];
      const int qt = bTpOf[at(y)];
      const bool sameTp = pt < 0 || qt < 0 ? p.tpKey == q.tpKey : tpMatch[at(qt)] == pt;
      if (!sameTp) f.emplace_back("transponder");
      return f;
    });
  }
  return out;
}

std::string_view levelName(Level level) {
  switch (level) {
    case Level::Satellite:
      return "satellite";
    case Level::Transponder:
      return "transponder";
    case Level::Channel:
      return "channel";
  }
  return "";
}

std::string_view changeKindName(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::Added:
      return "added";
    case ChangeKind::Removed:
      return "removed";
    case ChangeKind::Changed:
      return "changed";
    case ChangeKind::Moved:
      return "moved";
  }
  return "";
}

}  // namespace velmora::match
