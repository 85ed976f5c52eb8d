// The editor logic's own costs on a full database (64 satellites, 1600
// transponders, 6000 channels): recording an undo step, and the memory 100
// steps hold.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "editor/undo_history.h"
#include "support/db_builders.h"

namespace velmora {
namespace {

// A change of one channel's name, on `sats` satellites at once.
void touch(ChannelDb& db, int sats, int round) {
  for (int s = 0; s < sats; ++s)
    db.svcTables[static_cast<std::size_t>(s)][0].name = "Renamed " + std::to_string(round);
}

void BM_UndoRecordStep(benchmark::State& state) {
  const int sats = static_cast<int>(state.range(0));
  ChannelDb db = test::fullDb();
  editor::UndoHistory history;
  int round = 0;
  for (auto _ : state) {
    history.begin(db);
    touch(db, sats, ++round);
    benchmark::DoNotOptimize(history.commit(db));
  }
}
BENCHMARK(BM_UndoRecordStep)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);

// Heap held by a history of 100 steps, each touching `sats` satellites.
void BM_UndoHundredStepsMemory(benchmark::State& state) {
  const int sats = static_cast<int>(state.range(0));
  double megabytes = 0;
  for (auto _ : state) {
    ChannelDb db = test::fullDb();
    const std::size_t before = mallinfo2().uordblks;
    {
      editor::UndoHistory history;
      for (int round = 1; round <= 100; ++round) {
        history.begin(db);
        touch(db, sats, round);
        history.commit(db);
      }
      megabytes = static_cast<double>(mallinfo2().uordblks - before) / (1024.0 * 1024.0);
    }
  }
  state.counters["MB"] = megabytes;
}
BENCHMARK(BM_UndoHundredStepsMemory)->Arg(1)->Arg(64)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
