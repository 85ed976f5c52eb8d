// Updating satellites from listings: hand-worked cases, and the property
// that listings written from the database itself change only what they
// say of transponders and channels.
#include "match/update.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "support/db_builders.h"
#include "support/sdx_records.h"
#include "texts.h"

using namespace velmora;

namespace {

std::string zeros(const std::string& n, std::size_t w) {
  return std::string(w - n.size(), '0') + n;
}

std::string record(const SatRecord& sat, const SvcRecord& svc) {
  const TpRecord tp = splitTpKey(svc.tpKey);
  std::string name = svc.name, satName = sat.name;
  satName.resize(16, ' ');
  name.resize(20, '_');
  return test::sdxRecord({{test::SAT, satName},
                          {test::CODE, sat.sdxCode},
                          {test::FREQ, zeros(tp.frequency, 5)},
                          {test::POL, tp.polarization},
                          {test::RATE, zeros(tp.symbolRate, 5)},
                          {test::NAME1, name.substr(0, 8)},
                          {test::NAME2, name.substr(8, 12)},
                          {test::VIDEO, svc.videoPid == "0" ? "____" : zeros(svc.videoPid, 4)},
                          {test::AUDIO, zeros(svc.audioPid, 4)},
                          {test::PCR, zeros(svc.pcrPid, 4)},
                          {test::SID, zeros(svc.serviceId, 5)},
                          {test::NID, zeros(tp.nid, 5)},
                          {test::TID, zeros(tp.tid, 5)},
                          {test::CA, svc.serviceType % 2 ? "1702" : "Frei"}}) +
         "\r\n";
}

// The listing of a database's satellite `s`, read back.
match::ParsedListing listingOf(const ChannelDb& db, int s) {
  std::string text;
  for (const SvcRecord& svc : db.svcTables[s]) text += record(db.sats[s], svc);
  return *match::parseListing(test::bytesOf(text), {});
}

// "Sat/code: name@11034V#sid, ...; ..." on 27500, NID 318, TID 200, with
// the transponders in order of first use.
ChannelDb dbOf(const std::string& text) {
  ChannelDb db;
  std::istringstream sats(text);
  for (std::string sat; std::getline(sats, sat, ';');) {
    const std::size_t slash = sat.find('/'), from = sat.find_first_not_of(' ');
    db.appendSatellite(test::makeSat(sat.substr(from, slash - from), sat.substr(slash + 1, 4)));
    const auto s = static_cast<std::size_t>(db.satCount - 1);
    std::istringstream svcs(sat.substr(slash + 6));
    for (std::string c; std::getline(svcs, c, ',');) {
      const std::size_t at = c.find('@'), start = c.find_first_not_of(' ');
      db.svcTables[s].append(test::makeSvc(c.substr(start, at - start),
                                           c.substr(at + 1, 6) + "27500N318T200", "160", "80",
                                           "161", c.substr(c.find('#') + 1)));
    }
    deriveTransponders(db.svcTables[s], db.tpTables[s]);
  }
  db.recountTotals();
  return db;
}

std::string describe(const ChannelDb& db) {
  std::string out;
  for (std::size_t s = 0; s < static_cast<std::size_t>(std::min(db.satCount, 3)); ++s) {
    out += db.sats[s].name + ":";
    for (const TpRecord& tp : db.tpTables[s]) out += " " + tp.frequency + tp.polarization;
    for (const SvcRecord& svc : db.svcTables[s])
      out += " " + svc.name + "@" + svc.tpKey.substr(0, 6) + "#" + svc.serviceId;
    out += "\n";
  }
  return out;
}

std::string describe(const match::UpdateResult& r) {
  std::string out;
  for (const std::string& m : r.messages) out += "refused: " + m + "\n";
  for (const match::SatelliteUpdate& s : r.satellites) {
    out += std::to_string(s.position) + (s.isNew ? " new" : "");
    for (const match::UpdateCount& c : {s.transponders, s.channels})
      for (int n : {c.kept, c.updated, c.added, c.removed, c.notListed})
        out += " " + std::to_string(n);
    for (const auto& removed : {s.removedTransponders, s.removedChannels})
      for (const std::string& entry : removed) out += " -" + entry;
    out += "\n";
  }
  return out;
}

TEST(Update, HandWorkedCases) {
  const std::string base =
      "Hotbird 13E/0130: Rai Uno@11034V#1, Rai Due@11034V#2, Tele B@11096V#3;"
      "Thor 1W/3590: NRK1@10778H#10";
  const std::string thor = "Thor 1W: 10778H NRK1@10778H#10\n";
  struct Case {
    const char* what;
    std::vector<std::string> listings;
    bool keepMissing;
    std::string db;      // the first three satellites afterwards
    std::string report;  // per listing: position, then transponders and channels kept,
                         // updated, new, removed, not listed, then what was removed
  } const cases[] = {
      {"a channel the provider renamed keeps the user's name",
       {"Hotbird 13E/0130: RAI 1@11034V#1, Rai Due@11034V#2, Tele B@11096V#3"},
       false,
       "Hotbird 13E: 11034V 11096V Rai Uno@11034V#1 Rai Due@11034V#2 Tele B@11096V#3\n" + thor,
       "1 2 0 0 0 0 3 0 0 0 0\n"},
      {"a transponder moved by 1 MHz keeps its place and takes its channels along",
       {"Hotbird 13E/0130: Rai Uno@11035V#1, Rai Due@11035V#2, Tele B@11096V#3"},
       false,
       "Hotbird 13E: 11035V 11096V Rai Uno@11035V#1 Rai Due@11035V#2 Tele B@11096V#3\n" + thor,
       "1 1 1 0 0 0 1 2 0 0 0\n"},
      {"a channel moved to another transponder keeps its place",
       {"Hotbird 13E/0130: Rai Uno@11034V#1, Tele B@11096V#3, rai due@11096V#7"},
       false,
       "Hotbird 13E: 11034V 11096V Rai Uno@11034V#1 Rai Due@11096V#7 Tele B@11096V#3\n" + thor,
       "1 2 0 0 0 0 2 1 0 0 0\n"},
      {"a vanished transponder goes with its channels, named",
       {"Hotbird 13E/0130: Rai Due@11034V#2, Rai Uno@11034V#1"},
       false,
       "Hotbird 13E: 11034V Rai Uno@11034V#1 Rai Due@11034V#2\n" + thor,
       "1 1 0 0 1 0 2 0 0 1 0 -11096 V 27500 -Tele B\n"},
      {"kept missing entries follow the matched ones, on the shifted transponder",
       {"Hotbird 13E/0130: Neu@11035V#9, Rai Uno@11035V#1"},
       true,
       "Hotbird 13E: 11035V 11096V Rai Uno@11035V#1 Rai Due@11035V#2 Tele B@11096V#3 "
       "Neu@11035V#9\n" +
           thor,
       "1 0 1 0 0 1 0 1 1 0 2\n"},
      {"a listing of another satellite is added as the import adds it",
       {"Astra 19.2E/0192: Das Erste@11836H#28106"},
       false,
       describe(dbOf(base)) + "Astra 19.2E     : 11836H Das Erste@11836H#28106\n",
       "3 new 0 0 1 0 0 0 0 1 0 0\n"},
      {"two listings, each to its satellite",
       {"Thor 1W/3590: NRK1@10778H#10, NRK2@10778H#11", "Hotbird 13E/0130: Rai Uno@11034V#1"},
       false,
       "Hotbird 13E: 11034V Rai Uno@11034V#1\nThor 1W: 10778H NRK1@10778H#10 NRK2@10778H#11\n",
       "2 1 0 0 0 0 1 0 1 0 0\n1 1 0 0 1 0 1 0 0 2 0 -11096 V 27500 -Rai Due -Tele B\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<match::ParsedListing> listings;
    for (const std::string& text : c.listings) listings.push_back(listingOf(dbOf(text), 0));
    const match::UpdateResult r = match::updateFromListings(dbOf(base), listings, {c.keepMissing});
    EXPECT_EQ(describe(r.db), c.db);
    EXPECT_EQ(describe(r), c.report);
  }
  // A new satellite past the 64th refuses the whole update, earlier listings too.
  ChannelDb full = dbOf(base);
  while (full.appendSatellite(test::makeSat("Spare", "0000"))) {
  }
  const std::vector<match::ParsedListing> listings{listingOf(dbOf(base), 0),
                                                   listingOf(dbOf("Astra/0192: A@11836H#1"), 0)};
  const match::UpdateResult r = match::updateFromListings(full, listings, {});
  EXPECT_EQ(describe(r), "refused: " + std::string(text::OPEN_SAT_RANGE) + "\n");
  EXPECT_TRUE(r.db == full);
}

TEST(Update, ListingsOfTheDatabaseChangeOnlyTechnicalData) {
  std::mt19937 rng(25);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    // Transponders 10 MHz apart, each with channels of unique names, types
    // a listing can give, in any order; `fresh` is what the provider now says.
    ChannelDb db = test::makeDb(pick(1, 4), pick(1, 5), pick(5, 12)), fresh;
    for (int s = 0; s < db.satCount; ++s) {
      db.sats[s].sdxCode = std::to_string(1000 + s);
      for (TpRecord& tp : db.tpTables[s]) tp.seqNo = std::to_string(pick(1, 99));
      std::vector<SvcRecord> rows(db.svcTables[s].begin(), db.svcTables[s].end());
      std::shuffle(rows.begin(), rows.end(), rng);
      db.svcTables[s].clear();
      for (SvcRecord& svc : rows) {
        if (pick(0, 3) == 0) svc.videoPid = "0";
        svc.serviceType = (svc.videoPid == "0" ? 8 : 4) + pick(0, 1);
        svc.spare = std::to_string(pick(0, 9));
        db.svcTables[s].append(std::move(svc));
      }
    }
    fresh = db;
    std::vector<match::ParsedListing> listings;
    for (int s = 0; s < db.satCount; ++s) {
      for (TpRecord& tp : fresh.tpTables[s]) {
        const std::string old = tpKeyLong(tp);
        if (pick(0, 2) == 0) tp.frequency = std::to_string(std::stoi(tp.frequency) + 1);
        for (SvcRecord& svc : fresh.svcTables[s])
          if (svc.tpKey == old) svc.tpKey = tpKeyLong(tp);
      }
      for (SvcRecord& svc : fresh.svcTables[s]) {
        if (pick(0, 2) == 0) svc.serviceId = std::to_string(pick(1, 65535));
        if (pick(0, 2) == 0) svc.audioPid = std::to_string(pick(32, 8190));
      }
      listings.push_back(listingOf(fresh, s));
    }
    std::shuffle(listings.begin(), listings.end(), rng);
    const match::UpdateResult r = match::updateFromListings(db, listings, {});
    ASSERT_TRUE(r.done());
    EXPECT_EQ(describe(r.db), describe(fresh));
    EXPECT_TRUE(r.db == fresh);  // names, order, satellite records and numbering as they were
  }
}

}  // namespace
