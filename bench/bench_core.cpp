// Reading and writing full databases, and importing the largest real
// listing, next to a plain read and write of the same number of bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "order/order.h"
#include "sdx/import.h"
#include "support/db_builders.h"
#include "wdb/file_io.h"
#include "wdb/wdb_format.h"

namespace {

using namespace velmora;
namespace fs = std::filesystem;

// Type I holds the receiver's full capacity; Type II holds at most 3056
// services beside 1600 transponders.
constexpr int TYPE2_SERVICES = 3056;

ChannelDb dbFor(wdb::Layout layout) {
  return test::fullDb(layout == wdb::Layout::TypeI ? MAX_TOTAL_SVC : TYPE2_SERVICES);
}

fs::path fileFor(wdb::Layout layout) {
  const fs::path path =
      fs::temp_directory_path() /
      (layout == wdb::Layout::TypeI ? "velmora-bench-1.wdb" : "velmora-bench-2.wdb");
  if (!fs::exists(path)) {
    ChannelDb db = dbFor(layout);
    int counter = 0;
    writeFileAtomically(path, wdb::writeWdb(db, layout, {}, counter).bytes);
  }
  return path;
}

wdb::Layout layoutOf(const benchmark::State& state) {
  return state.range(0) == 1 ? wdb::Layout::TypeI : wdb::Layout::TypeII;
}

void BM_RawRead(benchmark::State& state) {
  const fs::path path = fileFor(layoutOf(state));
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_RawRead)->Arg(1)->Arg(2);

void BM_LoadAndDecode(benchmark::State& state) {
  const fs::path path = fileFor(layoutOf(state));
  for (auto _ : state) {
    auto bytes = readWholeFile(path);
    wdb::ReadResult r = wdb::readWdb(*bytes);
    benchmark::DoNotOptimize(r.db.totalSvc);
    state.SetItemsProcessed(state.items_processed() + r.db.totalSvc);
  }
}
BENCHMARK(BM_LoadAndDecode)->Arg(1)->Arg(2);

void BM_Decode(benchmark::State& state) {
  const auto bytes = *readWholeFile(fileFor(layoutOf(state)));
  for (auto _ : state) {
    wdb::ReadResult r = wdb::readWdb(bytes);
    benchmark::DoNotOptimize(r.db.totalSvc);
    state.SetItemsProcessed(state.items_processed() + r.db.totalSvc);
  }
}
BENCHMARK(BM_Decode)->Arg(1)->Arg(2);

void BM_RawWrite(benchmark::State& state) {
  const fs::path path = fs::temp_directory_path() / "velmora-bench-raw.bin";
  const std::vector<char> bytes(state.range(0) == 1 ? wdb::TYPE1_FILE_SIZE : wdb::TYPE2_FILE_SIZE);
  for (auto _ : state) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  fs::remove(path);
}
BENCHMARK(BM_RawWrite)->Arg(1)->Arg(2);

void BM_Encode(benchmark::State& state) {
  ChannelDb db = dbFor(layoutOf(state));
  int counter = 0;
  for (auto _ : state) {
    wdb::WriteResult r = wdb::writeWdb(db, layoutOf(state), {}, counter);
    benchmark::DoNotOptimize(r.bytes.data());
    state.SetItemsProcessed(state.items_processed() + db.totalSvc);
  }
}
BENCHMARK(BM_Encode)->Arg(1)->Arg(2);

void BM_EncodeAndSave(benchmark::State& state) {
  ChannelDb db = dbFor(layoutOf(state));
  const fs::path path = fs::temp_directory_path() / "velmora-bench-save.wdb";
  int counter = 0;
  for (auto _ : state) {
    wdb::WriteResult r = wdb::writeWdb(db, layoutOf(state), {}, counter);
    benchmark::DoNotOptimize(writeFileAtomically(path, r.bytes));
    state.SetItemsProcessed(state.items_processed() + db.totalSvc);
  }
  fs::remove(path);
}
BENCHMARK(BM_EncodeAndSave)->Arg(1)->Arg(2);

void BM_ImportLargestListing(benchmark::State& state) {
  const auto bytes = test::readTestData("PredatH0r_ChanSort_silva_schneider.sdx");
  for (auto _ : state) {
    ChannelDb db;
    ImportResult r = importSdx(db, bytes, true);
    benchmark::DoNotOptimize(r.added);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ImportLargestListing);

// Channel names with first letters in random order (the same every run),
// as a real list has them.
void scrambleNames(ChannelDb& db) {
  std::mt19937 rng(2024);
  for (int s = 0; s < db.satCount; ++s)
    for (SvcRecord& svc : db.svcTables[static_cast<std::size_t>(s)])
      svc.name = std::string(1, static_cast<char>('A' + rng() % 26)) + svc.name;
}

// Sorting channels: the editor's sort (the exchange order worked out on
// keys, each row moved once) beside std::stable_sort of the same rows by
// the same key. Arg 0: one satellite with 4000 channels; arg 1: the full
// database, 64 satellites with 6000 channels.
ChannelDb sortInput(const benchmark::State& state) {
  ChannelDb db = state.range(0) == 0 ? test::makeDb(1, 40, TABLE_ROWS) : test::fullDb();
  scrambleNames(db);
  return db;
}

void BM_SortChannels_Exchange(benchmark::State& state) {
  const ChannelDb input = sortInput(state);
  for (auto _ : state) {
    state.PauseTiming();
    ChannelDb db = input;
    state.ResumeTiming();
    order::sortTab(db, order::Tab::Channels);
    benchmark::DoNotOptimize(db.svcTables[0][0].name.data());
    state.PauseTiming();
    db = ChannelDb{};
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * input.countServices());
}
BENCHMARK(BM_SortChannels_Exchange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SortChannels_StdStableSort(benchmark::State& state) {
  const ChannelDb input = sortInput(state);
  for (auto _ : state) {
    state.PauseTiming();
    ChannelDb db = input;
    state.ResumeTiming();
    for (int s = 0; s < db.satCount; ++s) {
      SvcTable& t = db.svcTables[static_cast<std::size_t>(s)];
      std::stable_sort(t.begin(), t.end(), [](const SvcRecord& a, const SvcRecord& b) {
        return order::serviceKey(a) < order::serviceKey(b);
      });
    }
    benchmark::DoNotOptimize(db.svcTables[0][0].name.data());
    state.PauseTiming();
    db = ChannelDb{};
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * input.countServices());
}
BENCHMARK(BM_SortChannels_StdStableSort)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
