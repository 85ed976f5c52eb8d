// Matching two full databases (64 satellites, 1600 transponders, 6000
// channels): reorder one like the other, and diff them. The second is the
// first as a fresh scan would give it: satellites in another order, every
// other transponder 1 MHz off, channels shuffled, a few renamed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "match/find_all.h"
#include "match/match.h"
#include "match/update.h"
#include "support/db_builders.h"
#include "support/sdx_records.h"

namespace {

using namespace velmora;

ChannelDb rescanned(const ChannelDb& db) {
  std::mt19937 rng(7);
  ChannelDb out;
  std::vector<int> order(static_cast<std::size_t>(db.satCount));
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::shuffle(order.begin(), order.end(), rng);
  for (const int s : order) {
    const auto from = static_cast<std::size_t>(s);
    out.appendSatellite(db.sats[from]);
    const auto to = static_cast<std::size_t>(out.satCount - 1);
    std::vector<TpRecord> tps(db.tpTables[from].begin(), db.tpTables[from].end());
    for (std::size_t t = 0; t < tps.size(); t += 2)
      tps[t].frequency = std::to_string(std::stoi(tps[t].frequency) + 1);
    std::shuffle(tps.begin(), tps.end(), rng);
    for (TpRecord& tp : tps) out.tpTables[to].append(std::move(tp));
    std::vector<SvcRecord> svcs(db.svcTables[from].begin(), db.svcTables[from].end());
    for (std::size_t c = 0; c < svcs.size(); c += 10) svcs[c].name += " HD";
    std::shuffle(svcs.begin(), svcs.end(), rng);
    for (SvcRecord& svc : svcs) out.svcTables[to].append(std::move(svc));
  }
  out.recountTotals();
  return out;
}

void BM_Reorder(benchmark::State& state) {
  const ChannelDb ref = test::fullDb();
  const ChannelDb scan = rescanned(ref);
  for (auto _ : state) {
    state.PauseTiming();
    ChannelDb db = scan;
    state.ResumeTiming();
    const match::ReorderReport r = match::reorderLike(db, ref);
    benchmark::DoNotOptimize(r.channels.matched);
  }
  state.SetItemsProcessed(state.iterations() * MAX_TOTAL_SVC);
}
BENCHMARK(BM_Reorder)->Unit(benchmark::kMillisecond);

void BM_Diff(benchmark::State& state) {
  const ChannelDb a = test::fullDb();
  const ChannelDb b = rescanned(a);
  for (auto _ : state) {
    const std::vector<match::Change> changes = match::diffDatabases(a, b);
    benchmark::DoNotOptimize(changes.size());
  }
  state.SetItemsProcessed(state.iterations() * MAX_TOTAL_SVC);
}
BENCHMARK(BM_Diff)->Unit(benchmark::kMillisecond);

// A full database whose first satellite holds 3000 of its 6000 channels,
// updated from a fresh listing of that satellite: every third transponder
// 1 MHz off, every tenth channel renamed, every seventh with a new service
// id (those both renamed and renumbered no longer match), 100 channels
// gone and 100 new. Reading the listing is part of it.
void BM_UpdateFromListing(benchmark::State& state) {
  constexpr int CHANNELS = 3000;
  ChannelDb db = test::fullDb(CHANNELS + CHANNELS / MAX_SATS + 1);
  TpTable& tps = db.tpTables[0];
  SvcTable& svcs = db.svcTables[0];
  svcs.clear();
  for (int s = 0; s < CHANNELS; ++s) {
    svcs.append(test::makeSvc("Channel " + std::to_string(s + 1), tpKeyLong(tps[s % tps.count()]),
                              std::to_string(100 + s), std::to_string(200 + s),
                              std::to_string(100 + s), std::to_string(1000 + s)));
  }
  db.recountTotals();

  auto padded = [](std::string text, std::size_t width, char pad, bool left) {
    if (text.size() < width) text.insert(left ? 0 : text.size(), width - text.size(), pad);
    return text;
  };
  std::string text;
  for (int s = 100; s < CHANNELS + 100; ++s) {
    const TpRecord& tp = tps[s % tps.count()];
    const int mhz = std::stoi(tp.frequency) + (s % tps.count() % 3 == 0 ? 1 : 0);
    const std::string name =
        padded("Channel " + std::to_string(s + 1) + (s % 10 == 0 ? " HD" : ""), 20, '_', false);
    const int sid = 1000 + s + (s % 7 == 0 ? 30000 : 0);
    text += test::sdxRecord({{test::SAT, "Sat 1           "},
                             {test::FREQ, std::to_string(mhz)},
                             {test::POL, tp.polarization},
                             {test::RATE, tp.symbolRate},
                             {test::NAME1, name.substr(0, 8)},
                             {test::NAME2, name.substr(8, 12)},
                             {test::VIDEO, padded(std::to_string(100 + s), 4, '0', true)},
                             {test::AUDIO, padded(std::to_string(200 + s), 4, '0', true)},
                             {test::PCR, padded(std::to_string(100 + s), 4, '0', true)},
                             {test::SID, padded(std::to_string(sid), 5, '0', true)}}) +
            "\r\n";
  }
  const std::vector<std::byte> listing = test::bytesOf(text);
  for (auto _ : state) {
    const match::UpdateOptions options;
    const std::vector<match::ParsedListing> listings{*match::parseListing(listing, options)};
    const match::UpdateResult r = match::updateFromListings(db, listings, options);
    if (!r.done()) state.SkipWithError(r.messages.front().c_str());
    benchmark::DoNotOptimize(r.db.totalSvc);
  }
  state.SetItemsProcessed(state.iterations() * CHANNELS);
}
BENCHMARK(BM_UpdateFromListing)->Unit(benchmark::kMillisecond);

// Find in every satellite as the user types: one search of the full
// database per keystroke, from the first letter (which finds thousands)
// to the whole text, and a service id typed digit by digit. An item is a
// keystroke: the time of one is the inverse of the items per second.
void BM_FindAllPerKeystroke(benchmark::State& state) {
  const ChannelDb db = test::fullDb();
  const std::string texts[] = {"channel 4711", "4711"};
  std::size_t found = 0;
  for (auto _ : state) {
    for (const std::string& text : texts)
      for (std::size_t n = 1; n <= text.size(); ++n)
        found += match::findAll(db, std::string_view(text).substr(0, n)).size();
    benchmark::DoNotOptimize(found);
  }
  const auto keystrokes = static_cast<std::int64_t>(texts[0].size() + texts[1].size());
  state.SetItemsProcessed(state.iterations() * keystrokes);
}
BENCHMARK(BM_FindAllPerKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
