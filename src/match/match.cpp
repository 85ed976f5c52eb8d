// Matching two databases entry by entry: satellites, then the transponders
// and channels of each matched pair of satellites.
#include "match/match.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <tuple>

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

}  // namespace velmora::match
