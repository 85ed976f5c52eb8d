#include "match/clip.h"

#include <algorithm>
#include <cstddef>
#include <functional>

#include "db/list_rows.h"
#include "db/western_text.h"
#include "texts.h"

namespace velmora::match {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

bool satelliteExists(const ChannelDb& db, int sat) {
  return sat >= 0 && sat < std::min(db.satCount, MAX_SATS);
}

// The rows of a list of `count` rows among `rows`, ascending, each once.
std::vector<int> listRows(std::span<const int> rows, int count) {
  std::vector<int> out;
  for (const int r : rows)
    if (r >= 0 && r < count) out.push_back(r);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

// The receiver tells transponders apart by frequency, polarization and
// symbol rate alone.
bool sameTransponder(const TpRecord& a, const TpRecord& b) {
  return a.frequency == b.frequency && a.polarization == b.polarization &&
         a.symbolRate == b.symbolRate;
}

// Two channels of one satellite are the same entry when their PIDs,
// service id and name all agree, whichever transponder they are on.
bool sameService(const SvcRecord& a, const SvcRecord& b) {
  return a.videoPid == b.videoPid && a.audioPid == b.audioPid && a.pcrPid == b.pcrPid &&
         a.serviceId == b.serviceId && a.name == b.name;
}

int rowOf(const TpTable& tps, const TpRecord& tp) {
  for (int r = 0; r < tps.count(); ++r)
    if (sameTransponder(tps[r], tp)) return r;
  return -1;
}

bool holds(const SvcTable& svcs, const SvcRecord& svc) {
  return std::any_of(svcs.begin(), svcs.end(),
                     [&](const SvcRecord& o) { return sameService(o, svc); });
}

// The transponder a channel is tuned on: the satellite's own record when
// it has one under the channel's key, else the one the key itself gives.
TpRecord transponderOf(const TpTable& tps, const SvcRecord& svc) {
  const std::string_view key = tpKeyShortPart(svc.tpKey);
  for (const TpRecord& tp : tps)
    if (tpKeyShort(tp) == key) return tp;
  return splitTpKey(svc.tpKey);
}

// The entry as a new row holds it: the numbers a save writes from the
// order of the lists come afresh.
TpRecord newTransponder(TpRecord tp) {
  tp.seqNo.clear();
  return tp;
}
SvcRecord newService(SvcRecord svc, const TpRecord& tp) {
  svc.tpKey = tpKeyLong(tp);
  svc.tpSeqNo.clear();
  return svc;
}

// `table` with `rows` standing before row `before` (the end for -1).
template <class Table, class Row>
Table insertedBefore(const Table& table, int before, const std::vector<Row>& rows) {
  if (before < 0 || before > table.count()) before = table.count();
  Table out;
  for (int r = 0; r < before; ++r) out.append(table[r]);
  for (const Row& row : rows) out.append(row);
  for (int r = before; r < table.count(); ++r) out.append(table[r]);
  return out;
}

// Whether the satellite's tables, grown to `tps` and `svcs` rows by
// `newTps` and `newSvcs` entries, stay within the receiver's limits; the
// refusal when not.
std::string_view overLimits(ChannelDb& db, int tps, int svcs, int newTps, int newSvcs) {
  db.recountTotals();
  if (db.totalTp + newTps > MAX_TOTAL_TP) return text::MAX_TP;
  if (db.totalSvc + newSvcs > MAX_TOTAL_SVC) return text::MAX_SVC;
  if (tps > TABLE_ROWS || svcs > TABLE_ROWS) return text::MAX_ROWS_PER_SAT;
  return {};
}

std::string rowsText(std::span<const ListColumn> columns, std::span<const int> rows,
                     const std::function<std::vector<std::string>(int)>& cells) {
  std::string out;
  auto line = [&out](const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (i > 0) out += '\t';
      std::string cell = westernToUtf8(texts[i]);
      std::replace_if(
          cell.begin(), cell.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
          ' ');
      out += cell;
    }
    out += '\n';
  };
  std::vector<std::string> headers;
  for (const ListColumn& c : columns) headers.emplace_back(c.header);
  line(headers);
  for (const int r : rows) line(cells(r));
  return out;
}

}  // namespace

Clip copyChannels(const ChannelDb& db, int sat, std::span<const int> rows) {
  Clip clip;
  if (!satelliteExists(db, sat)) return clip;
  const SvcTable& svcs = db.svcTables[at(sat)];
  for (const int r : listRows(rows, svcs.count()))
    clip.channels.push_back({svcs[r], transponderOf(db.tpTables[at(sat)], svcs[r])});
  return clip;
}

Clip copyTransponders(const ChannelDb& db, int sat, std::span<const int> rows) {
  Clip clip;
  if (!satelliteExists(db, sat)) return clip;
  const TpTable& tps = db.tpTables[at(sat)];
  for (const int r : listRows(rows, tps.count())) {
    ClipTransponder& entry = clip.transponders.emplace_back(ClipTransponder{tps[r], {}});
    const std::string key = tpKeyShort(tps[r]);
    for (const SvcRecord& svc : db.svcTables[at(sat)])
      if (tpKeyShortPart(svc.tpKey) == key) entry.channels.push_back(svc);
  }
  return clip;
}

void removeChannels(ChannelDb& db, int sat, std::span<const int> rows) {
  if (!satelliteExists(db, sat)) return;
  SvcTable& svcs = db.svcTables[at(sat)];
  const std::vector<int> gone = listRows(rows, svcs.count());
  for (auto r = gone.rbegin(); r != gone.rend(); ++r) svcs.erase(*r);
  db.recountTotals();
}

void removeTransponders(ChannelDb& db, int sat, std::span<const int> rows) {
  if (!satelliteExists(db, sat)) return;
  TpTable& tps = db.tpTables[at(sat)];
  SvcTable& svcs = db.svcTables[at(sat)];
  const std::vector<int> gone = listRows(rows, tps.count());
  std::vector<std::string> keys;
  for (auto r = gone.rbegin(); r != gone.rend(); ++r) {
    keys.push_back(tpKeyShort(tps[*r]));
    tps.erase(*r);
  }
  SvcTable kept;
  for (SvcRecord& svc : svcs)
    if (std::find(keys.begin(), keys.end(), tpKeyShortPart(svc.tpKey)) == keys.end())
      kept.append(std::move(svc));
  svcs = std::move(kept);
  db.recountTotals();
}

PasteResult pasteChannels(ChannelDb& db, int sat, int before, std::span<const ClipChannel> clip) {
  PasteResult result;
  if (!satelliteExists(db, sat)) {
    result.refusal = text::NO_SATELLITE;
    return result;
  }
  TpTable tps = db.tpTables[at(sat)];
  const SvcTable& svcs = db.svcTables[at(sat)];
  std::vector<TpRecord> addedTps;
  SvcTable incoming;
  for (const ClipChannel& entry : clip) {
    int tpRow = rowOf(tps, entry.transponder);
    if (tpRow < 0) {
      // A table at its capacity refuses the row: the limits below say so.
      if (!tps.append(newTransponder(entry.transponder))) {
        result.refusal = text::MAX_ROWS_PER_SAT;
        return result;
      }
      addedTps.push_back(entry.transponder);
      tpRow = tps.count() - 1;
    }
    SvcRecord svc = newService(entry.service, tps[tpRow]);
    if (holds(svcs, svc) || holds(incoming, svc)) {
      result.refusal = text::SVC_EXISTS;
      return result;
    }
    if (!incoming.append(std::move(svc))) {
      result.refusal = text::MAX_ROWS_PER_SAT;
      return result;
    }
  }
  const int added = incoming.count();
  result.refusal =
      overLimits(db, tps.count(), svcs.count() + added, static_cast<int>(addedTps.size()), added);
  if (!result.done()) return result;
  if (before < 0 || before > svcs.count()) before = svcs.count();
  std::vector<SvcRecord> rows(incoming.begin(), incoming.end());
  db.svcTables[at(sat)] = insertedBefore(svcs, before, rows);
  db.tpTables[at(sat)] = std::move(tps);
  db.recountTotals();
  result.channels = added;
  result.transponders = static_cast<int>(addedTps.size());
  result.firstRow = before;
  return result;
}

PasteResult pasteTransponders(ChannelDb& db, int sat, int before,
                              std::span<const ClipTransponder> clip) {
  PasteResult result;
  if (!satelliteExists(db, sat)) {
    result.refusal = text::NO_SATELLITE;
    return result;
  }
  const TpTable& tps = db.tpTables[at(sat)];
  SvcTable svcs = db.svcTables[at(sat)];
  TpTable incoming;
  int channels = 0;
  for (const ClipTransponder& entry : clip) {
    if (rowOf(tps, entry.transponder) >= 0 || rowOf(incoming, entry.transponder) >= 0) {
      result.refusal = text::TP_EXISTS;
      return result;
    }
    const TpRecord tp = newTransponder(entry.transponder);
    for (const SvcRecord& channel : entry.channels) {
      SvcRecord svc = newService(channel, tp);
      if (holds(svcs, svc)) {
        result.refusal = text::SVC_EXISTS;
        return result;
      }
      if (!svcs.append(std::move(svc))) {
        result.refusal = text::MAX_ROWS_PER_SAT;
        return result;
      }
      ++channels;
    }
    if (!incoming.append(tp)) {
      result.refusal = text::MAX_ROWS_PER_SAT;
      return result;
    }
  }
  const int added = incoming.count();
  result.refusal = overLimits(db, tps.count() + added, svcs.count(), added, channels);
  if (!result.done()) return result;
  if (before < 0 || before > tps.count()) before = tps.count();
  std::vector<TpRecord> rows(incoming.begin(), incoming.end());
  db.tpTables[at(sat)] = insertedBefore(tps, before, rows);
  db.svcTables[at(sat)] = std::move(svcs);
  db.recountTotals();
  result.channels = channels;
  result.transponders = added;
  result.firstRow = before;
  return result;
}

std::string channelRowsText(const ChannelDb& db, int sat, std::span<const int> rows) {
  if (!satelliteExists(db, sat)) return {};
  return rowsText(channelColumns(), listRows(rows, db.svcTables[at(sat)].count()),
                  [&](int r) { return channelRowCells(db, sat, r); });
}

std::string transponderRowsText(const ChannelDb& db, int sat, std::span<const int> rows) {
  if (!satelliteExists(db, sat)) return {};
  return rowsText(transponderColumns(), listRows(rows, db.tpTables[at(sat)].count()),
                  [&](int r) { return transponderRowCells(db, sat, r); });
}

}  // namespace velmora::match
