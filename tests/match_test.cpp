// Matching two databases: a hand-worked reorder, and the properties that a
// database reordered by itself stays as it is and reordered by any
// permutation of itself becomes that permutation.
#include "match/match.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <tuple>

#include "db/longitude_suffix.h"
#include "support/db_builders.h"

using namespace velmora;
using test::makeSat;
using test::makeSvc;
using test::makeTp;

namespace {

// A table's rows as text: `field` of each row, joined by spaces.
template <class Row, class Field>
std::string rows(const BoundedTable<Row>& t, Field field) {
  std::string out;
  for (const Row& r : t) out += (out.empty() ? "" : " ") + field(r);
  return out;
}

void expectSame(const ChannelDb& a, const ChannelDb& b) {
  ASSERT_EQ(a.satCount, b.satCount);
  for (std::size_t s = 0; s < static_cast<std::size_t>(a.satCount); ++s) {
    EXPECT_EQ(a.sats[s], b.sats[s]) << s;
    EXPECT_EQ(a.tpTables[s], b.tpTables[s]) << s;
    EXPECT_EQ(a.svcTables[s], b.svcTables[s]) << s;
  }
}

}  // namespace

TEST(Match, ReorderFollowsTheReferenceThroughRenamesShiftsMovesAndDuplicates) {
  ChannelDb ref;
  ref.appendSatellite(makeSat("Hotbird 13.0E", "0130"));
  ref.appendSatellite(makeSat("Astra 19.2E", "0000"));
  // 11766 is the exact partner of the second; the first takes 11768 at
  // 1 MHz, not the nearer-in-order 11766.
  for (const char* f : {"11727", "12000", "10971", "11767", "11766"})
    ref.tpTables[0].append(makeTp(f, std::string(f) == "12000" ? "H" : "V", "27500"));
  // name, tp key, video pid, service id
  using Svc = std::tuple<const char*, const char*, const char*, const char*>;
  auto add = [](SvcTable& t, std::initializer_list<Svc> svcs) {
    for (const auto& [name, key, vpid, sid] : svcs)
      t.append(makeSvc(name, key, vpid, "1", "1", sid));
  };
  add(ref.svcTables[0], {{"RAI 1", "11727V27500", "1", "1"},
                         {"RAI 2", "11727V27500", "1", "2"},
                         {"Arte", "12000H27500", "1", "5"},
                         {"Dup", "12000H27500", "2", "9"},
                         {"Dup", "12000H27500", "3", "9"}});

  ChannelDb db;
  db.appendSatellite(makeSat("ASTRA", "0000"));
  db.appendSatellite(makeSat("Thor 0.8W", "3592"));
  db.appendSatellite(makeSat("Hot Bird", "0130"));  // renamed, same position
  for (const char* f : {"10971", "11768", "12001", "11729", "11000", "11766"})
    db.tpTables[2].append(makeTp(f, f[1] == '2' || f[2] == '0' ? "H" : "V", "27500"));
  add(db.svcTables[2], {{"New", "11000H27500", "1", "77"},
                        {"Arte", "10971V27500", "1", "5"},  // now on another transponder
                        {"Dup", "12001H27500", "3", "9"},
                        {"Dup", "12001H27500", "2", "9"},
                        {"RAI 2", "11729V27500", "1", "2"},
                        {" rai 1 ", "11729V27500", "1", "99"}});

  const match::ReorderReport r = match::reorderLike(db, ref);
  EXPECT_EQ(db.sats[0].name + db.sats[1].name + db.sats[2].name, "Hot BirdASTRAThor 0.8W");
  EXPECT_EQ(rows(db.tpTables[0], [](const TpRecord& t) { return t.frequency; }),
            "11729 12001 10971 11768 11766 11000");
  EXPECT_EQ(rows(db.svcTables[0], [](const SvcRecord& c) { return c.name + "/" + c.videoPid; }),
            " rai 1 /1 RAI 2/1 Arte/1 Dup/2 Dup/3 New/1");
  EXPECT_EQ(std::tuple(r.satellites.matched, r.satellites.unmatched, r.transponders.unmatched,
                       r.channels.matched, r.channels.missing),
            std::tuple(2, 1, 1, 5, 0));

  // An empty reference matches nothing and changes nothing.
  const ChannelDb before = db;
  const match::ReorderReport none = match::reorderLike(db, ChannelDb{});
  EXPECT_FALSE(none.changed);
  EXPECT_EQ(none.channels.unmatched, 6);
  expectSame(db, before);

  for (const char* name : {"Hotbird 13.0E",
                           " hotBIRD (13\xB0"
                           "E)",
                           "HOTBIRD 13 e"})
    EXPECT_EQ(match::satelliteNameKey(name), "hotbird") << name;
}

TEST(Match, LongitudeSuffixesAreReadInEveryStyle) {
  // name, length of the name before the suffix (-1: none), tenths east
  // clang-format off
  const std::tuple<const char*, int, int> cases[] = {
      {"Hotbird-13E", 7, 130}, {"Astra 19,2 e", 5, 192}, {"Astra 19.2\260E", 5, 192},
      {"Astra19.2\302\260E ", 5, 192}, {"Astra (19.2\260E)", 5, 192}, {"Thor 0.8 W", 4, 3592},
      {"Mid-180E", 3, 1800}, {"Amos 4\272W", 4, 3560}, {"13E", 0, 130}, {"Intelsat 20", -1, 0},
      {"Ku12E", -1, 0}, {"Sat 1234E", -1, 0}, {"Sat 181W", -1, 0}, {"Sat 1.19.2E", -1, 0},
      {"Sat 19.2E)", -1, 0}};
  // clang-format on
  for (const auto& [name, nameEnd, tenths] : cases) {
    const std::optional<LongitudeSuffix> s = findLongitudeSuffix(name);
    EXPECT_EQ(s ? static_cast<int>(s->nameEnd) : -1, nameEnd) << name;
    EXPECT_EQ(s ? s->tenths : 0, tenths) << name;
  }
}

// Satellites without codes go by name: the editor's own "Hotbird-13E" is
// "Hotbird", a name with a position meets the same position first, and
// twins that no field tells apart go by their transponders and channels.
TEST(Match, SatellitesPairByNameWithoutSuffixByPositionAndTwinsByContents) {
  ChannelDb ref;
  for (const char* name : {"Hotbird", "Astra 28.2E", "Astra 19.2E", "Twin", "Twin"})
    ref.appendSatellite(makeSat(name, "0000"));
  ref.tpTables[3].append(makeTp("11000", "H", "27500"));
  ref.tpTables[3].append(makeTp("12000", "V", "27500"));
  ChannelDb db;
  for (const char* name : {"Twin", "Twin",
                           "Astra 19.2\xB0"
                           "E",
                           "Astra-28.2E", "Hotbird-13E"})
    db.appendSatellite(makeSat(name, "0000"));
  db.tpTables[1] = ref.tpTables[3];
  db.tpTables[0].append(makeTp("10700", "H", "22000"));
  const match::ReorderReport r = match::reorderLike(db, ref);
  EXPECT_EQ(r.satelliteOrder, (std::vector<int>{4, 3, 2, 1, 0}));
  EXPECT_EQ(r.transponders.matched, 2);
}

namespace {

ChannelDb randomDb(std::mt19937& rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  ChannelDb db;
  const int sats = 1 + pick(6);
  const char* codes[] = {"0000", "0130", "0192", "0000"};
  for (int s = 0; s < sats; ++s) {
    db.appendSatellite(
        makeSat("Sat " + std::to_string(s) + (pick(2) ? " 13E" : ""), codes[pick(4)]));
    TpTable& tps = db.tpTables[static_cast<std::size_t>(s)];
    for (int t = pick(8); t > 0; --t)
      tps.append(makeTp(std::to_string(11000 + pick(5)), pick(2) ? "H" : "V",
                        pick(2) ? "27500" : "22000"));
    for (int c = pick(12); c > 0; --c) {
      const std::string key =
          tps.empty() || pick(5) == 0 ? "999H1" : tpKeyLong(tps[pick(tps.count())]);
      db.svcTables[static_cast<std::size_t>(s)].append(makeSvc(
          pick(2) ? "A" : " a", key, std::to_string(pick(3)), "1", "1", std::to_string(pick(3))));
    }
  }
  db.recountTotals();
  return db;
}

template <class Row>
void shuffleTable(BoundedTable<Row>& t, std::mt19937& rng) {
  std::vector<Row> rows(t.begin(), t.end());
  std::shuffle(rows.begin(), rows.end(), rng);
  t.clear();
  for (Row& r : rows) t.append(std::move(r));
}

}  // namespace

TEST(Match, ReorderByItselfChangesNothingAndByAPermutationGivesThePermutation) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    const ChannelDb db = randomDb(rng);

    ChannelDb self = db;
    match::reorderLike(self, db);
    expectSame(self, db);

    ChannelDb perm = db;
    std::vector<std::size_t> order(static_cast<std::size_t>(db.satCount));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    for (std::size_t to = 0; to < order.size(); ++to) {
      perm.sats[to] = db.sats[order[to]];
      shuffleTable(perm.tpTables[to] = db.tpTables[order[to]], rng);
      shuffleTable(perm.svcTables[to] = db.svcTables[order[to]], rng);
    }
    ChannelDb reordered = db;
    match::reorderLike(reordered, perm);
    SCOPED_TRACE(seed);
    expectSame(reordered, perm);
    // Diff sees only moves between the two, and nothing between equals.
    EXPECT_TRUE(match::diffDatabases(db, db).empty());
    for (const match::Change& c : match::diffDatabases(db, perm))
      EXPECT_EQ(c.kind, match::ChangeKind::Moved);
  }
}

TEST(Match, DiffNamesWhatWasAddedRemovedChangedAndMoved) {
  ChannelDb a = test::makeDb(3, 3, 4);
  ChannelDb b = a;
  b.removeSatellite(1);                         // Sat 2 removed
  b.appendSatellite(makeSat("Sat 9", "0100"));  // added
  b.tpTables[0][0].frequency = "10701";         // still the same transponder
  b.svcTables[0][2].name = "Renamed";           // same service id and transponder
  b.svcTables[0].swapRows(0, 3);                // two channels moved
  std::string seen;
  for (const match::Change& c : match::diffDatabases(a, b))
    seen += std::string(match::levelName(c.level)) + " " + c.entry + " " +
            std::string(match::changeKindName(c.kind)) + " " + std::to_string(c.oldPosition) + ">" +
            std::to_string(c.newPosition) + (c.fields.empty() ? "" : " " + c.fields[0]) + "; ";
  EXPECT_EQ(seen,
            "satellite Sat 2 removed 2>0; transponder 10701 H 22000 changed 1>1 frequency; "
            "channel Channel 4 moved 4>1; channel Renamed changed 3>3 name; "
            "channel Channel 1 moved 1>4; satellite Sat 9 added 0>3; ");
}
