// Matching two databases entry by entry: satellites, then the transponders
// and channels of each matched pair of satellites.
#include "match/match.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <tuple>

#include "db/longitude_suffix.h"
#include "db/text_number.h"
#include "match/match_rows.h"

namespace velmora::match {

namespace {

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
  // duplicates that differ in other fields find their own partner. Of the
  // candidates `twins` cannot tell from that one, the first that `score`
  // rates highest wins. The look-ahead is bounded: a list of thousands of
  // equal keys stays linear.
  int take(const Key& key, const std::function<bool(int)>& same = {},
           const std::function<bool(int, int)>& twins = {},
           const std::function<int(int)>& score = {}) {
    int pick = peek(key);
    if (pick < 0) return -1;
    constexpr std::size_t LOOK_AHEAD = 64;
    Bucket& b = buckets_.find(key)->second;
    const std::size_t end = std::min(b.rows.size(), b.head + LOOK_AHEAD + 1);
    if (same && !same(pick)) {
      for (std::size_t i = b.head + 1; i < end; ++i) {
        const int row = b.rows[i];
        if (!used_[at(row)] && same(row)) {
          pick = row;
          break;
        }
      }
    }
    if (twins && score) {
      int best = -1;
      for (std::size_t i = b.head; i < end; ++i) {
        const int row = b.rows[i];
        if (row == pick || used_[at(row)] || !twins(pick, row)) continue;
        if (best < 0) best = score(pick);
        if (const int s = score(row); s > best) {
          best = s;
          pick = row;
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
// Database entries that no field tells apart are `twins`; among them the
// one `score` (database entry, reference entry) rates highest wins.
struct TwinChoice {
  std::function<bool(int, int)> twins;
  std::function<int(int, int)> score;
};
template <class Key, class DbKey, class RefKey>
void matchRound(Sides sides, DbKey dbKey, RefKey refKey, const std::function<bool(int, int)>& same,
                const TwinChoice& choice = {}) {
  Pool<Key> pool(sides.used);
  for (std::size_t d = 0; d < sides.m.size(); ++d)
    if (!sides.used[d])
      if (const std::optional<Key> k = dbKey(static_cast<int>(d)))
        pool.add(*k, static_cast<int>(d));
  for (std::size_t r = 0; r < sides.refDone.size(); ++r) {
    if (sides.refDone[r]) continue;
    const std::optional<Key> k = refKey(static_cast<int>(r));
    if (!k) continue;
    const int ri = static_cast<int>(r);
    std::function<int(int)> score;
    if (choice.score) score = [&](int row) { return choice.score(row, ri); };
    const int d = pool.take(
        *k, [&](int row) { return same(row, ri); }, choice.twins, score);
    if (d < 0) continue;
    sides.m[at(d)] = static_cast<int>(r);
    sides.refDone[r] = 1;
  }
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

// How many transponders and channels of database satellite `d` match
// those of reference satellite `r`.
int contentMatches(const ChannelDb& db, int d, const ChannelDb& ref, int r) {
  const std::vector<int> tps = matchTransponders(db.tpTables[at(d)], ref.tpTables[at(r)]);
  const std::vector<int> svcs = matchChannels(db, d, ref, r, tps);
  auto matched = [](const std::vector<int>& m) {
    return static_cast<int>(std::count_if(m.begin(), m.end(), [](int x) { return x >= 0; }));
  };
  return matched(tps) + matched(svcs);
}

// The longitude code and the name, then the code alone, then the name with
// the position it ends in, then the name alone: of two satellites with one
// code, the one of the same name wins. Satellites equal in every field
// (Type II keeps no codes or ports) are told apart by their contents.
std::vector<int> matchSatellites(const ChannelDb& db, const ChannelDb& ref) {
  std::vector<int> m(at(db.satCount), -1);
  std::vector<char> used(at(db.satCount), 0);
  std::vector<char> refDone(at(ref.satCount), 0);
  const Sides sides{m, used, refDone};
  auto same = [&](int d, int r) { return db.sats[at(d)] == ref.sats[at(r)]; };
  const TwinChoice choice{[&](int x, int y) { return db.sats[at(x)] == db.sats[at(y)]; },
                          [&](int d, int r) { return contentMatches(db, d, ref, r); }};
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
  auto placed = [&](const ChannelDb& x) {
    return [&x, name](int i) -> std::optional<std::pair<std::int64_t, std::string>> {
      const auto suffix = findLongitudeSuffix(trimmed(x.sats[at(i)].name));
      if (!suffix) return std::nullopt;
      return std::pair{std::int64_t{suffix->tenths}, *name(x)(i)};
    };
  };
  using Placed = std::pair<std::int64_t, std::string>;
  matchRound<Placed>(sides, both(db), both(ref), same, choice);
  matchRound<std::int64_t>(sides, code(db), code(ref), same, choice);
  matchRound<Placed>(sides, placed(db), placed(ref), same, choice);
  matchRound<std::string>(sides, name(db), name(ref), same, choice);
  return m;
}

}  // namespace

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

std::string satelliteNameKey(std::string_view name) {
  const std::string_view full = trimmed(name);
  const std::optional<LongitudeSuffix> suffix = findLongitudeSuffix(full);
  // A name that is nothing but a position keeps it.
  if (!suffix || suffix->nameEnd == 0) return lowered(full);
  return lowered(trimmed(full.substr(0, suffix->nameEnd)));
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

}  // namespace velmora::match
