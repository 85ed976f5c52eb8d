// Sorting and moving entries of the database.
#include "order/order.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/db_builders.h"

namespace velmora {
namespace {

using order::Tab;

// The exchange sort as users know it, exchanging whole entries.
template <class Key>
std::vector<int> referenceOrder(std::vector<Key> keys) {
  std::vector<int> idx(keys.size());
  for (std::size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<int>(i);
  for (std::size_t i = 0; i + 1 < keys.size(); ++i)
    for (std::size_t j = i + 1; j < keys.size(); ++j)
      if (keys[i] > keys[j]) {
        std::swap(keys[i], keys[j]);
        std::swap(idx[i], idx[j]);
      }
  return idx;
}

TEST(ExchangeSort, LeavesEqualKeysWhereTheEntryByEntryExchangeLeavesThem) {
  EXPECT_EQ(order::exchangeSortOrder(std::vector<std::uint16_t>{2, 2, 1}),
            (std::vector<int>{2, 1, 0}));
  // Sizes around the block length, few and many distinct keys, sorted and
  // reversed runs: the order must be the entry-by-entry one every time.
  std::mt19937 rng(7);
  for (int n : {0, 1, 2, 63, 64, 65, 130, 700}) {
    for (int distinct : {1, 2, 27, 60000}) {
      std::vector<std::int64_t> wide(static_cast<std::size_t>(n));
      std::vector<std::uint16_t> narrow(wide.size());
      for (std::size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<std::int64_t>(rng() % static_cast<unsigned>(distinct)) - 5;
        narrow[i] = static_cast<std::uint16_t>(rng() % static_cast<unsigned>(distinct));
      }
      EXPECT_EQ(order::exchangeSortOrder(wide), referenceOrder(wide)) << n << " " << distinct;
      EXPECT_EQ(order::exchangeSortOrder(narrow), referenceOrder(narrow)) << n << " " << distinct;
      std::sort(wide.rbegin(), wide.rend());
      EXPECT_EQ(order::exchangeSortOrder(wide), referenceOrder(wide)) << n << " descending";
    }
  }
}

std::vector<std::string> satNames(const ChannelDb& db) {
  std::vector<std::string> out;
  for (int s = 0; s < db.satCount; ++s) out.push_back(db.sats[s].name);
  return out;
}

TEST(SortSatellites, ByFirstLetterCaselessWithTheirTables) {
  struct Case {
    std::vector<std::string> names, sorted;
  };
  const Case cases[] = {
      {{"hotbird", "Astra", "eutelsat"}, {"Astra", "eutelsat", "hotbird"}},
      {{"Astra 2", "Arabsat", "Amos"}, {"Astra 2", "Arabsat", "Amos"}},
      {{"B1", "B2", "A"}, {"A", "B2", "B1"}},
      {{"b", "", "[x", "Z"}, {"", "b", "Z", "[x"}},
  };
  for (const Case& c : cases) {
    ChannelDb db;
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      db.appendSatellite(test::makeSat(c.names[i]));
      // Each satellite's tables carry its name, to see that they travel.
      db.tpTables[i].append(test::makeTp(std::to_string(11000 + i), "H", "27500"));
      db.svcTables[i].append(test::makeSvc(c.names[i], "x"));
    }
    order::sortTab(db, Tab::Satellites);
    EXPECT_EQ(satNames(db), c.sorted);
    for (int s = 0; s < db.satCount; ++s) {
      EXPECT_EQ(db.svcTables[s][0].name, db.sats[s].name);
      const auto was = std::find(c.names.begin(), c.names.end(), db.sats[s].name) - c.names.begin();
      EXPECT_EQ(db.tpTables[s][0].frequency, std::to_string(11000 + was));
    }
  }
}

std::vector<std::string> tpTexts(const TpTable& t) {
  std::vector<std::string> out;
  for (const TpRecord& tp : t) out.push_back(tp.frequency + tp.polarization + tp.symbolRate);
  return out;
}

TEST(SortTransponders, VerticalFirstThenEveryOtherByFrequencyInEverySatellite) {
  struct Case {
    std::vector<std::string> tps;  // frequency, polarization, symbol rate
    std::vector<std::string> sorted;
  };
  const Case cases[] = {
      {{"12500H1", "11000V1", "10900H1", "11500V1"}, {"11000V1", "11500V1", "10900H1", "12500H1"}},
      // No digits count as frequency 0; equal frequencies as the exchange leaves them.
      {{"11000H1", "H2", "11000H3", "10000H4"}, {"H2", "10000H4", "11000H3", "11000H1"}},
      // Circular and unknown polarizations stay, after the "V" group.
      {{"12000R1", "11000L1", "10000V1", "9000?1", "8000VH1"},
       {"8000VH1", "10000V1", "9000?1", "11000L1", "12000R1"}},
  };
  for (const Case& c : cases) {
    ChannelDb db = test::makeDb(2, 0, 0);
    for (int s = 0; s < 2; ++s)
      for (const std::string& t : c.tps) {
        const std::size_t p = t.find_first_not_of("0123456789");
        db.tpTables[s].append(
            test::makeTp(t.substr(0, p), t.substr(p, t.size() - p - 1), t.substr(t.size() - 1)));
      }
    order::sortTab(db, Tab::Transponders);
    EXPECT_EQ(tpTexts(db.tpTables[0]), c.sorted);
    EXPECT_EQ(tpTexts(db.tpTables[1]), c.sorted);
  }
}

TEST(SortServices, ByFirstLetterAndAnEmptyNameAsItsDots) {
  SvcTable t;
  for (const char* name : {"zdf", "", "-", "Arte", "3sat", "ard"})
    t.append(test::makeSvc(name, "k" + std::string(name)));
  order::sortServices(t);
  std::vector<std::string> keys;
  for (const SvcRecord& s : t) keys.push_back(s.tpKey);
  // "-" < "." < "3": the empty name sorts as "...." and is not filled in.
  EXPECT_EQ(keys, (std::vector<std::string>{"k-", "k", "k3sat", "kArte", "kard", "kzdf"}));
}

TEST(MoveEntry, RotatesOneEntryToItsPlaceInEveryList) {
  struct Case {
    int from, to;
    std::string after;
  };
  const Case cases[] = {{1, 3, "ACDB"}, {3, 0, "DABC"}, {0, 3, "BCDA"}, {2, 2, "ABCD"}};
  for (const Case& c : cases) {
    ChannelDb db;
    for (const char* name : {"A", "B", "C", "D"}) {
      db.appendSatellite(test::makeSat(name));
      db.tpTables[db.satCount - 1].append(test::makeTp(name, "H", "1"));
    }
    for (const char* name : {"A", "B", "C", "D"}) {
      db.svcTables[1].append(test::makeSvc(name, ""));
      db.tpTables[1].append(test::makeTp(name, "V", "2"));
    }
    ChannelDb sats = db, tps = db, svcs = db;
    ASSERT_TRUE(order::moveEntry(sats, Tab::Satellites, 0, c.from, c.to));
    ASSERT_TRUE(order::moveEntry(tps, Tab::Transponders, 1, c.from + 1, c.to + 1));
    ASSERT_TRUE(order::moveEntry(svcs, Tab::Channels, 1, c.from, c.to));
    std::string satOrder, tpOrder, svcOrder;
    for (int i = 0; i < 4; ++i) {
      satOrder += sats.sats[i].name;
      // Each satellite still has its own first transponder.
      EXPECT_EQ(sats.tpTables[i][0].frequency, sats.sats[i].name);
      svcOrder += svcs.svcTables[1][i].name;
    }
    for (int i = 1; i < 5; ++i) tpOrder += tps.tpTables[1][i].frequency;
    EXPECT_EQ(satOrder, c.after);
    EXPECT_EQ(svcOrder, c.after);
    EXPECT_EQ(tpOrder, c.after);
    // Nothing else moved.
    EXPECT_EQ(tps.tpTables[1][0], db.tpTables[1][0]);
    EXPECT_EQ(tps.svcTables[1], db.svcTables[1]);
    EXPECT_EQ(svcs.tpTables, db.tpTables);
  }
}

TEST(MoveEntry, RefusesPositionsOutsideTheList) {
  ChannelDb db = test::makeDb(2, 3, 3);
  const ChannelDb before = db;
  EXPECT_FALSE(order::moveEntry(db, Tab::Satellites, 0, 0, 2));
  EXPECT_FALSE(order::moveEntry(db, Tab::Transponders, 0, 3, 0));
  EXPECT_FALSE(order::moveEntry(db, Tab::Channels, 0, 0, -1));
  EXPECT_FALSE(order::moveEntry(db, Tab::Channels, 2, 0, 1));  // no such satellite
  EXPECT_FALSE(order::moveEntry(db, Tab::Channels, -1, 0, 1));
  EXPECT_EQ(db.sats, before.sats);
  EXPECT_EQ(db.tpTables, before.tpTables);
  EXPECT_EQ(db.svcTables, before.svcTables);
}

// Random blocks: the block ends together at its place in its order, the
// others in theirs, and the single moves a list follows it by agree.
TEST(MoveBlock, GathersThePickedEntriesAtTheirPlaceAsSingleMovesWould) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    const int n = std::uniform_int_distribution<int>(1, 9)(rng);
    std::vector<int> rows;
    std::string rest, block;
    ChannelDb db;
    db.appendSatellite(test::makeSat("S"));
    for (int r = 0; r < n; ++r) {
      const std::string name(1, static_cast<char>('A' + r));
      db.svcTables[0].append(test::makeSvc(name, ""));
      if (rng() % 3 == 0 || (r == n - 1 && rows.empty())) rows.push_back(r);
      (rows.empty() || rows.back() != r ? rest : block) += name;
    }
    const int to = std::uniform_int_distribution<int>(0, n - static_cast<int>(rows.size()))(rng);
    ChannelDb moved = db, steps = db;
    ASSERT_TRUE(order::moveBlock(moved, Tab::Channels, 0, rows, to));
    for (const auto& [from, into] : order::blockMoveSteps(rows, to))
      ASSERT_TRUE(order::moveEntry(steps, Tab::Channels, 0, from, into));
    std::string movedOrder, stepOrder;
    for (int r = 0; r < n; ++r) movedOrder += moved.svcTables[0][r].name;
    for (int r = 0; r < n; ++r) stepOrder += steps.svcTables[0][r].name;
    EXPECT_EQ(movedOrder, rest.substr(0, to) + block + rest.substr(to));
    EXPECT_EQ(stepOrder, movedOrder);
    EXPECT_FALSE(order::moveBlock(db, Tab::Channels, 0, rows, to + n));
  }
}

}  // namespace
}  // namespace velmora
