// Updating satellites from listings: match, then rebuild the matched
// satellite's tables from the listing around the user's order and names.
#include "match/update.h"

#include <string_view>
#include <utility>

#include "match/match.h"
#include "match/match_rows.h"
#include "sdx/import.h"
#include "texts.h"

namespace velmora::match {

namespace {

// A refusal carried out of the update; the database copy is dropped.
struct Refused {
  std::string_view message;
};

std::string transponderText(const TpRecord& tp) {
  return tp.frequency + " " + tp.polarization + " " + tp.symbolRate;
}

// Whether a listing changed a transponder as the file keeps it: the
// sequence number is the place in the file and belongs to the database,
// and the file keeps no network or stream ids (a loaded database has 0),
// so a listing that gives them changes nothing the receiver sees.
bool sameListed(const TpRecord& a, const TpRecord& b) {
  return a.polarization == b.polarization && a.frequency == b.frequency &&
         a.symbolRate == b.symbolRate;
}

// The same for a channel, its name aside (the user's stays).
bool sameListed(const SvcRecord& a, const SvcRecord& b) {
  return a.videoPid == b.videoPid && a.audioPid == b.audioPid && a.pcrPid == b.pcrPid &&
         a.serviceId == b.serviceId && a.serviceType == b.serviceType &&
         tpKeyShortPart(a.tpKey) == tpKeyShortPart(b.tpKey);
}

template <class Row>
void fill(BoundedTable<Row>& table, std::vector<Row>& rows) {
  table.clear();
  for (Row& row : rows) table.append(std::move(row));
}

// The listing's transponders in the old ones' places, then the old ones it
// lacks (when kept), then its others. `newKeys` gets, for each old row, the
// key of the transponder that replaced it, empty for none.
void updateTransponders(TpTable& tps, const TpTable& listed, const std::vector<int>& m,
                        bool keepMissing, SatelliteUpdate& report,
                        std::vector<std::string>& newKeys) {
  std::vector<TpRecord> rows;
  std::vector<char> taken(at(listed.count()), 0);
  newKeys.assign(at(tps.count()), std::string());
  for (int t = 0; t < tps.count(); ++t) {
    const int l = m[at(t)];
    if (l < 0) continue;
    taken[at(l)] = 1;
    TpRecord tp = listed[l];
    tp.seqNo = tps[t].seqNo;
    ++(sameListed(tp, tps[t]) ? report.transponders.kept : report.transponders.updated);
    newKeys[at(t)] = tpKeyLong(tp);
    rows.push_back(std::move(tp));
  }
  for (int t = 0; t < tps.count(); ++t) {
    if (m[at(t)] >= 0) continue;
    if (keepMissing) {
      ++report.transponders.notListed;
      rows.push_back(tps[t]);
    } else {
      ++report.transponders.removed;
      report.removedTransponders.push_back(transponderText(tps[t]));
    }
  }
  for (int l = 0; l < listed.count(); ++l) {
    if (taken[at(l)]) continue;
    ++report.transponders.added;
    rows.push_back(listed[l]);
  }
  if (rows.size() > at(TABLE_ROWS)) throw Refused{text::IMPORT_TP_RANGE};
  fill(tps, rows);
}

// The same for channels. A matched channel keeps its name and its link to
// the file's transponder numbering; a kept channel whose transponder was
// replaced follows it to the replacement.
void updateChannels(SvcTable& svcs, const SvcTable& listed, const std::vector<int>& m,
                    const std::vector<int>& oldTpRows, const std::vector<std::string>& newKeys,
                    bool keepMissing, SatelliteUpdate& report) {
  std::vector<SvcRecord> rows;
  std::vector<char> taken(at(listed.count()), 0);
  for (int c = 0; c < svcs.count(); ++c) {
    const int l = m[at(c)];
    if (l < 0) continue;
    taken[at(l)] = 1;
    SvcRecord svc = listed[l];
    svc.name = svcs[c].name;
    svc.tpSeqNo = svcs[c].tpSeqNo;
    svc.spare = svcs[c].spare;
    ++(sameListed(svc, svcs[c]) ? report.channels.kept : report.channels.updated);
    rows.push_back(std::move(svc));
  }
  for (int c = 0; c < svcs.count(); ++c) {
    if (m[at(c)] >= 0) continue;
    if (keepMissing) {
      ++report.channels.notListed;
      SvcRecord svc = svcs[c];
      const int tp = oldTpRows[at(c)];
      if (tp >= 0 && !newKeys[at(tp)].empty()) svc.tpKey = newKeys[at(tp)];
      rows.push_back(std::move(svc));
    } else {
      ++report.channels.removed;
      report.removedChannels.push_back(svcs[c].name);
    }
  }
  for (int l = 0; l < listed.count(); ++l) {
    if (taken[at(l)]) continue;
    ++report.channels.added;
    rows.push_back(listed[l]);
  }
  if (rows.size() > at(TABLE_ROWS)) throw Refused{text::IMPORT_SVC_RANGE};
  fill(svcs, rows);
}

// The receiver's totals after a satellite changed or came.
void checkTotals(ChannelDb& db) {
  db.recountTotals();
  if (db.totalTp > MAX_TOTAL_TP) throw Refused{text::IMPORT_TP_RANGE};
  if (db.totalSvc > MAX_TOTAL_SVC) throw Refused{text::IMPORT_SVC_RANGE};
}

SatelliteUpdate applyListing(ChannelDb& db, const ParsedListing& listing, bool keepMissing) {
  // The listing as a database of one satellite, the form matching takes.
  ChannelDb ref;
  ref.appendSatellite(importedSatellite(listing.header));
  ref.svcTables[0] = listing.services;
  deriveTransponders(ref.svcTables[0], ref.tpTables[0]);
  const Matching m = matchDatabases(db, ref);

  SatelliteUpdate report;
  int d = 0;
  while (d < db.satCount && m.sats[at(d)] < 0) ++d;
  if (d == db.satCount) {
    if (db.satCount >= MAX_SATS) throw Refused{text::OPEN_SAT_RANGE};
    db.appendSatellite(std::move(ref.sats[0]));
    db.tpTables[at(d)] = std::move(ref.tpTables[0]);
    db.svcTables[at(d)] = std::move(ref.svcTables[0]);
    report.isNew = true;
    report.transponders.added = db.tpTables[at(d)].count();
    report.channels.added = db.svcTables[at(d)].count();
  } else {
    const std::vector<int> oldTpRows = transponderRows(db.tpTables[at(d)], db.svcTables[at(d)]);
    std::vector<std::string> newKeys;
    updateTransponders(db.tpTables[at(d)], ref.tpTables[0], m.tps[at(d)], keepMissing, report,
                       newKeys);
    updateChannels(db.svcTables[at(d)], ref.svcTables[0], m.svcs[at(d)], oldTpRows, newKeys,
                   keepMissing, report);
  }
  report.satellite = db.sats[at(d)].name;
  report.position = d + 1;
  checkTotals(db);
  return report;
}

}  // namespace

std::optional<ParsedListing> parseListing(std::span<const std::byte> bytes,
                                          const UpdateOptions& options) {
  if (!isSdxListing(bytes)) return std::nullopt;
  ParsedListing listing;
  listing.header = readSdxFile(bytes, listing.services, !options.includeFeedTest, &listing.counts);
  return listing;
}

UpdateResult updateFromListings(const ChannelDb& db, std::span<const ParsedListing> listings,
                                const UpdateOptions& options) {
  UpdateResult result;
  result.db = db;
  try {
    for (std::size_t i = 0; i < listings.size(); ++i) {
      SatelliteUpdate report = applyListing(result.db, listings[i], options.keepMissing);
      report.listing = i;
      result.satellites.push_back(std::move(report));
    }
  } catch (const Refused& refused) {
    result.messages.emplace_back(refused.message);
    result.db = db;
    result.satellites.clear();
  }
  return result;
}

}  // namespace velmora::match
