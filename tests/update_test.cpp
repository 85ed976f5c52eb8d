// Updating satellites from listings: hand-worked cases, and the property
// that listings written from the database itself change only what they
// say of transponders and channels.
#include "match/update.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/db_builders.h"
#include "support/sdx_records.h"
#include "texts.h"

using namespace velmora;

namespace {

std::string padded(std::string text, std::size_t width, char pad) {
  text.resize(width, pad);
  return text;
}

std::string digits(const std::string& number, std::size_t width) {
  return std::string(width - std::min(width, number.size()), '0') + number;
}

struct Listed {
  std::string name, freq;
  std::string sid;
  char pol = 'V';
};

// One listing record; the satellite and its code head every record.
std::string record(const std::string& sat, const std::string& code, const SvcRecord& svc,
                   const TpRecord& tp, bool scrambled) {
  const std::string name = padded(svc.name, 20, '_');
  const bool radio = svc.videoPid == "0";
  return test::sdxRecord({{test::SAT, padded(sat, 16, ' ')},
                          {test::CODE, code},
                          {test::FREQ, digits(tp.frequency, 5)},
                          {test::POL, tp.polarization},
                          {test::RATE, digits(tp.symbolRate, 5)},
                          {test::NAME1, name.substr(0, 8)},
                          {test::NAME2, name.substr(8, 12)},
                          {test::VIDEO, radio ? "____" : digits(svc.videoPid, 4)},
                          {test::AUDIO, digits(svc.audioPid, 4)},
                          {test::PCR, digits(svc.pcrPid, 4)},
                          {test::SID, digits(svc.serviceId, 5)},
                          {test::NID, digits(tp.nid, 5)},
                          {test::TID, digits(tp.tid, 5)},
                          {test::CA, scrambled ? "1702" : "Frei"}}) +
         "\r\n";
}

match::ParsedListing parsed(const std::string& text, match::UpdateOptions options = {}) {
  const std::vector<std::byte> bytes = test::bytesOf(text);
  return *match::parseListing(bytes, options);
}

// A listing of hand-written channels, all on 27500 with NID 318, TID 200.
match::ParsedListing listing(const std::string& sat, const std::string& code,
                             const std::vector<Listed>& channels) {
  std::string text;
  for (const Listed& c : channels) {
    SvcRecord svc = test::makeSvc(c.name, "", "160", "80", "161", c.sid);
    const TpRecord tp = test::makeTp(c.freq, std::string(1, c.pol), "27500", "318", "200");
    text += record(sat, code, svc, tp, false);
  }
  return parsed(text);
}

// Hotbird with two transponders and three channels, and Thor with one.
ChannelDb baseDb(int extraSats) {
  ChannelDb db;
  auto add = [&](SatRecord sat, std::vector<TpRecord> tps, std::vector<Listed> svcs) {
    db.appendSatellite(std::move(sat));
    const auto s = static_cast<std::size_t>(db.satCount - 1);
    for (TpRecord& tp : tps) db.tpTables[s].append(std::move(tp));
    for (const Listed& c : svcs) {
      const std::string key = c.freq + c.pol + "27500N318T200";
      db.svcTables[s].append(test::makeSvc(c.name, key, "160", "80", "161", c.sid));
    }
  };
  add(test::makeSat("Hotbird 13E", "0130"),
      {test::makeTp("11034", "V", "27500", "318", "200"),
       test::makeTp("11096", "V", "27500", "318", "200")},
      {{"Rai Uno", "11034", "1"}, {"Rai Due", "11034", "2"}, {"Tele B", "11096", "3"}});
  add(test::makeSat("Thor 1W", "3590"), {test::makeTp("10778", "H", "27500", "318", "200")},
      {{"NRK1", "10778", "10", 'H'}});
  for (int i = 0; i < extraSats; ++i) db.appendSatellite(test::makeSat("Spare", "0000"));
  db.recountTotals();
  return db;
}

// The satellites with their transponders and channels, one line each.
std::string describe(const ChannelDb& db) {
  std::string out;
  for (int s = 0; s < std::min(db.satCount, 3); ++s) {
    const auto i = static_cast<std::size_t>(s);
    out += db.sats[i].name + ":";
    for (const TpRecord& tp : db.tpTables[i]) out += " " + tpKeyShort(tp);
    out += " |";
    for (const SvcRecord& svc : db.svcTables[i])
      out += " " + svc.name + "@" + std::string(tpKeyShortPart(svc.tpKey)) + "#" + svc.serviceId;
    out += "\n";
  }
  return out;
}

std::string counts(const match::UpdateCount& c) {
  return std::to_string(c.kept) + "/" + std::to_string(c.updated) + "/" + std::to_string(c.added) +
         "/" + std::to_string(c.removed) + "/" + std::to_string(c.notListed);
}

std::string describe(const match::UpdateResult& r) {
  std::string out;
  for (const std::string& m : r.messages) out += "refused: " + m + "\n";
  for (const match::SatelliteUpdate& s : r.satellites) {
    out += std::to_string(s.position) + (s.isNew ? " new" : "") + " tp " + counts(s.transponders) +
           " ch " + counts(s.channels);
    for (const std::string& tp : s.removedTransponders) out += " -" + tp;
    for (const std::string& name : s.removedChannels) out += " -" + name;
    out += "\n";
  }
  return out;
}

const std::string HB = "Hotbird 13E", HB_CODE = "0130";

TEST(Update, HandWorkedCases) {
  struct Case {
    const char* what;
    std::vector<match::ParsedListing> listings;
    bool keepMissing = false;
    int extraSats = 0;
    std::string db;      // the satellites afterwards (the first three)
    std::string report;  // per listing: tp and channel kept/updated/new/removed/not listed
  };
  const std::string thor = "Thor 1W: 10778H27500 | NRK1@10778H27500#10\n";
  const Case cases[] = {
      {"a channel the provider renamed keeps the user's name",
       {listing(HB, HB_CODE,
                {{"RAI 1", "11034", "1"}, {"Rai Due", "11034", "2"}, {"Tele B", "11096", "3"}})},
       false,
       0,
       "Hotbird 13E: 11034V27500 11096V27500 | Rai Uno@11034V27500#1 Rai Due@11034V27500#2 "
       "Tele B@11096V27500#3\n" +
           thor,
       "1 tp 2/0/0/0/0 ch 3/0/0/0/0\n"},
      {"a transponder moved by 1 MHz keeps its place and takes its channels along",
       {listing(HB, HB_CODE,
                {{"Rai Uno", "11035", "1"}, {"Rai Due", "11035", "2"}, {"Tele B", "11096", "3"}})},
       false,
       0,
       "Hotbird 13E: 11035V27500 11096V27500 | Rai Uno@11035V27500#1 Rai Due@11035V27500#2 "
       "Tele B@11096V27500#3\n" +
           thor,
       "1 tp 1/1/0/0/0 ch 1/2/0/0/0\n"},
      {"a channel moved to another transponder keeps its place",
       {listing(HB, HB_CODE,
                {{"Rai Uno", "11034", "1"}, {"Tele B", "11096", "3"}, {"rai due ", "11096", "7"}})},
       false,
       0,
       "Hotbird 13E: 11034V27500 11096V27500 | Rai Uno@11034V27500#1 Rai Due@11096V27500#7 "
       "Tele B@11096V27500#3\n" +
           thor,
       "1 tp 2/0/0/0/0 ch 2/1/0/0/0\n"},
      {"a vanished transponder goes with its channels, named",
       {listing(HB, HB_CODE, {{"Rai Due", "11034", "2"}, {"Rai Uno", "11034", "1"}})},
       false,
       0,
       "Hotbird 13E: 11034V27500 | Rai Uno@11034V27500#1 Rai Due@11034V27500#2\n" + thor,
       "1 tp 1/0/0/1/0 ch 2/0/0/1/0 -11096 V 27500 -Tele B\n"},
      {"kept missing entries follow the matched ones, on the shifted transponder",
       {listing(HB, HB_CODE, {{"Neu", "11035", "9"}, {"Rai Uno", "11035", "1"}})},
       true,
       0,
       "Hotbird 13E: 11035V27500 11096V27500 | Rai Uno@11035V27500#1 Rai Due@11035V27500#2 "
       "Tele B@11096V27500#3 Neu@11035V27500#9\n" +
           thor,
       "1 tp 0/1/0/0/1 ch 0/1/1/0/2\n"},
      {"a listing of another satellite is added as the import adds it",
       {listing("Astra 19.2E", "0192", {{"Das Erste", "11836", "28106", 'H'}})},
       false,
       0,
       describe(baseDb(0)) + "Astra 19.2E     : 11836H27500 | Das Erste@11836H27500#28106\n",
       "3 new tp 0/0/1/0/0 ch 0/0/1/0/0\n"},
      {"two listings, each to its satellite",
       {listing("Thor 1W", "3590", {{"NRK1", "10778", "10", 'H'}, {"NRK2", "10778", "11", 'H'}}),
        listing(HB, HB_CODE, {{"Rai Uno", "11034", "1"}})},
       false,
       0,
       "Hotbird 13E: 11034V27500 | Rai Uno@11034V27500#1\n"
       "Thor 1W: 10778H27500 | NRK1@10778H27500#10 NRK2@10778H27500#11\n",
       "2 tp 1/0/0/0/0 ch 1/0/1/0/0\n1 tp 1/0/0/1/0 ch 1/0/0/2/0 -11096 V 27500 -Rai Due "
       "-Tele B\n"},
      {"a new satellite past the 64th refuses everything, earlier listings too",
       {listing(HB, HB_CODE, {{"Rai Uno", "11034", "1"}}),
        listing("Astra 19.2E", "0192", {{"Das Erste", "11836", "28106", 'H'}})},
       false,
       62,
       describe(baseDb(62)),
       "refused: " + std::string(text::OPEN_SAT_RANGE) + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    match::UpdateOptions options;
    options.keepMissing = c.keepMissing;
    const ChannelDb db = baseDb(c.extraSats);
    const match::UpdateResult r = match::updateFromListings(db, c.listings, options);
    EXPECT_EQ(describe(r.db), c.db);
    EXPECT_EQ(describe(r), c.report);
    EXPECT_EQ(r.db.totalSvc, r.db.countServices());
  }
}

// A database whose every record a listing can carry: transponders far
// apart, each with a channel, names unique and free of feed or test words.
ChannelDb randomDb(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  ChannelDb db;
  const int sats = pick(1, 4);
  int n = 0;
  for (int s = 0; s < sats; ++s) {
    db.appendSatellite(test::makeSat("Sat " + std::to_string(s), std::to_string(1000 + s)));
    const auto i = static_cast<std::size_t>(s);
    const int tps = pick(1, 5);
    for (int t = 0; t < tps; ++t) {
      TpRecord tp = test::makeTp(std::to_string(10700 + 10 * t + pick(0, 3)),
                                 pick(0, 1) ? "H" : "V", std::to_string(pick(0, 1) ? 27500 : 22000),
                                 std::to_string(pick(0, 999)), std::to_string(pick(0, 999)));
      tp.seqNo = std::to_string(t + 1);
      db.tpTables[i].append(tp);
      for (int c = pick(1, 4); c > 0; --c) {
        const bool radio = pick(0, 3) == 0;
        const std::string video = radio ? "0" : std::to_string(pick(32, 8190));
        SvcRecord svc =
            test::makeSvc("K" + std::to_string(++n) + (pick(0, 1) ? " ABC" : ""), tpKeyLong(tp),
                          video, std::to_string(pick(32, 8190)), std::to_string(pick(32, 8190)),
                          std::to_string(pick(1, 65535)), (radio ? 8 : 4) + pick(0, 1));
        svc.spare = "s" + std::to_string(n);
        db.svcTables[i].append(std::move(svc));
      }
    }
    // Channels in any order over their transponders.
    std::vector<SvcRecord> rows(db.svcTables[i].begin(), db.svcTables[i].end());
    std::shuffle(rows.begin(), rows.end(), rng);
    db.svcTables[i].clear();
    for (SvcRecord& r : rows) db.svcTables[i].append(std::move(r));
  }
  db.recountTotals();
  return db;
}

TEST(Update, ListingsOfTheDatabaseChangeOnlyTechnicalData) {
  std::mt19937 rng(25);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    const ChannelDb db = randomDb(rng);
    // What the provider now says: some transponders 1 MHz off, some
    // channels with new ids and PIDs. The expected result is that, with
    // the database's names, order and file numbering.
    ChannelDb fresh = db;
    std::vector<match::ParsedListing> listings;
    for (int s = 0; s < db.satCount; ++s) {
      const auto i = static_cast<std::size_t>(s);
      for (TpRecord& tp : fresh.tpTables[i]) {
        const std::string old = tpKeyLong(tp);
        if (pick(0, 2) == 0) tp.frequency = std::to_string(std::stoi(tp.frequency) + 1);
        for (SvcRecord& svc : fresh.svcTables[i])
          if (svc.tpKey == old) svc.tpKey = tpKeyLong(tp);
      }
      std::string text;
      for (SvcRecord& svc : fresh.svcTables[i]) {
        if (pick(0, 2) == 0) svc.serviceId = std::to_string(pick(1, 65535));
        if (pick(0, 2) == 0) svc.audioPid = std::to_string(pick(32, 8190));
        const TpRecord tp = splitTpKey(svc.tpKey);
        text += record(db.sats[i].name, db.sats[i].sdxCode, svc, tp, svc.serviceType % 2 == 1);
      }
      listings.push_back(parsed(text));
    }
    std::shuffle(listings.begin(), listings.end(), rng);
    const match::UpdateResult r = match::updateFromListings(db, listings, {});
    ASSERT_TRUE(r.done());
    EXPECT_EQ(describe(r.db), describe(fresh));
    EXPECT_TRUE(r.db == fresh);
  }
}

}  // namespace
