// What turns one database into another, entry by entry, from their
// matching.
#include <algorithm>

#include "db/record_fields.h"
#include "match/match.h"
#include "match/match_rows.h"

namespace velmora::match {

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

// The names of the fields in which two records differ, in the order of
// the field table. The numbers a save writes (a transponder's place in the
// file, the link to it) follow from the order: not differences of their own.
template <class Record, std::size_t N>
std::vector<std::string> differingFields(const Record& a, const Record& b,
                                         const RecordField<Record> (&fields)[N]) {
  std::vector<std::string> f;
  for (const RecordField<Record>& field : fields)
    if (!field.derived && !field.same(a, b)) f.emplace_back(field.name);
  return f;
}

// A channel's fields as a diff names them: what identifies the channel
// (its name and service id) first, then what tunes it. Its transponder
// key follows the transponder and is compared as the matched transponder.
constexpr std::string_view CHANNEL_FIELDS_COMPARED[] = {"name",     "serviceId", "videoPid",
                                                        "audioPid", "pcrPid",    "serviceType"};

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
    c.fields = differingFields(a.sats[at(i)], b.sats[at(j)], SAT_FIELDS);
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
             [&](int x, int y) { return differingFields(aTps[x], bTps[y], TP_FIELDS); });

    const SvcTable& aSvcs = a.svcTables[at(i)];
    const SvcTable& bSvcs = b.svcTables[at(j)];
    const std::vector<int> aTpOf = transponderRows(aTps, aSvcs);
    const std::vector<int> bTpOf = transponderRows(bTps, bSvcs);
    diffList(out, Level::Channel, sat, aSvcs, bSvcs, m.svcs[at(j)], svcLabel, [&](int x, int y) {
      const SvcRecord& p = aSvcs[x];
      const SvcRecord& q = bSvcs[y];
      std::vector<std::string> f;
      for (const std::string_view name : CHANNEL_FIELDS_COMPARED)
        if (!fieldNamed(SVC_FIELDS, name)->same(p, q)) f.emplace_back(name);
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
