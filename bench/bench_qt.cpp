// The editor's window on the offscreen platform, against plain Qt doing the
// same job, side by side in one run:
// - refilling the Channel tab with 4000 services through EditorDialog, and
//   filling a QTreeWidget with the same 4000 rows of 10 columns in one batch
//   (both until the view has taken the rows and repainted);
// - opening a full Type I file (64 satellites, 1600 transponders, 6000
//   services) through Open and the loading worker until the Satellite tab
//   shows it, against decoding the same file and refilling the list on the
//   spot; the longest stretch the window's event loop waited meanwhile is
//   reported as blocked_ms;
// - sorting the 4000 channels from F8 until the list has been refilled and
//   repainted, and dropping a dragged row in the 4000-row list, both with
//   the event loop blocked for the whole of it;
// - the user-interface thread's part of opening that full file: installing
//   the decoded database and refilling the Satellite tab;
// - starting the editor until its window is first painted, and a bare Qt
//   dialog program the same way, with each one's resident memory at rest.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <string>

#include "editor/editor_dialog.h"
#include "qt/editor_window.h"
#include "qt/list_view.h"
#include "qt/qt_prompts.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/editor_load.h"
#include "wdb/file_io.h"

extern char** environ;

namespace {

using namespace velmora;

constexpr int kServices = 4000;

// One satellite with 40 transponders and 4000 services over them.
ChannelDb channelTabDb() { return test::makeDb(1, 40, kServices); }

void BM_ChannelTabRefill_Editor(benchmark::State& state) {
  qt::EditorWindow window;
  qt::QtPrompts prompts(&window);
  editor::EditorDialog editor(window.controls(), prompts, {});
  window.attach(editor);
  editor.initDialog();
  test::load(editor, channelTabDb());
  window.controls().tabSelect(res::IDC_TAB, 2);
  editor.onTabChanged();
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("window not shown");
  for (auto _ : state) {
    editor.refillChannelTab();
    QCoreApplication::processEvents();
  }
  if (window.controls().listRowCount(res::IDC_SVC_LIST) != kServices) {
    state.SkipWithError("the list was not filled");
  }
  state.SetItemsProcessed(state.iterations() * kServices);
}
BENCHMARK(BM_ChannelTabRefill_Editor)->Unit(benchmark::kMillisecond);

void BM_ChannelTabRefill_QTreeWidgetBatch(benchmark::State& state) {
  // The same texts the editor shows, ready made.
  const ChannelDb db = channelTabDb();
  std::vector<QStringList> rows;
  for (int r = 0; r < kServices; ++r) {
    const SvcRecord& s = db.svcTables[0][r];
    const TpRecord tp = splitTpKey(s.tpKey);
    rows.push_back({QString::number(r + 1), QString::fromLatin1(s.name),
                    s.serviceType & 1 ? QStringLiteral("$") : QStringLiteral(" "),
                    QString::fromLatin1(s.videoPid), QString::fromLatin1(s.audioPid),
                    QString::fromLatin1(s.pcrPid), QString::fromLatin1(s.serviceId),
                    QString::fromLatin1(tp.frequency), QString::fromLatin1(tp.polarization),
                    QString::fromLatin1(tp.symbolRate)});
  }
  QTreeWidget tree;
  tree.setColumnCount(10);
  tree.setRootIsDecorated(false);
  tree.setUniformRowHeights(true);
  tree.resize(480, 400);
  tree.show();
  if (!QTest::qWaitForWindowExposed(&tree)) state.SkipWithError("window not shown");
  for (auto _ : state) {
    tree.clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(kServices);
    for (const QStringList& row : rows) items.append(new QTreeWidgetItem(row));
    tree.addTopLevelItems(items);
    QCoreApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * kServices);
}
BENCHMARK(BM_ChannelTabRefill_QTreeWidgetBatch)->Unit(benchmark::kMillisecond);

// The editor showing the Channel tab of channelTabDb().
struct ChannelTab {
  qt::EditorWindow window;
  qt::QtPrompts prompts{&window};
  editor::EditorDialog editor{window.controls(), prompts, {}};
  bool shown = false;

  ChannelTab() {
    window.attach(editor);
    editor.initDialog();
    test::load(editor, channelTabDb());
    window.controls().tabSelect(res::IDC_TAB, 2);
    editor.onTabChanged();
    window.show();
    shown = QTest::qWaitForWindowExposed(&window);
    QCoreApplication::processEvents();
  }
};

void BM_SortAndRefill_ChannelTab4000(benchmark::State& state) {
  ChannelTab tab;
  if (!tab.shown) state.SkipWithError("window not shown");
  // First letters in a scrambled order, the same every run.
  ChannelDb unsorted = tab.editor.database();
  unsigned seed = 2024;
  for (SvcRecord& svc : unsorted.svcTables[0]) {
    seed = seed * 1103515245u + 12345u;
    svc.name.insert(0, 1, static_cast<char>('A' + (seed >> 16) % 26));
  }
  for (auto _ : state) {
    state.PauseTiming();
    test::load(tab.editor, unsorted);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    tab.editor.onKeyDown(res::KEY_F8);
    QCoreApplication::processEvents();
  }
  if (tab.window.controls().listRowCount(res::IDC_SVC_LIST) != kServices)
    state.SkipWithError("the list was not refilled");
  state.SetItemsProcessed(state.iterations() * kServices);
}
BENCHMARK(BM_SortAndRefill_ChannelTab4000)->Unit(benchmark::kMillisecond);

void BM_Drop_ChannelTab4000(benchmark::State& state) {
  ChannelTab tab;
  if (!tab.shown) state.SkipWithError("window not shown");
  for (auto _ : state) {
    // Row 1 dropped on row 6 comes to stand at 5; and back again.
    for (auto [from, onto] : {std::pair{1, 6}, std::pair{5, 1}}) {
      tab.editor.onDragBegin(res::IDC_SVC_LIST, from);
      tab.editor.onDragRelease(res::IDC_SVC_LIST, onto);
      QCoreApplication::processEvents();
    }
  }
  if (tab.editor.database().svcTables[0][1].name != "Channel 2")
    state.SkipWithError("no round trip");
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_Drop_ChannelTab4000)->Unit(benchmark::kMillisecond);

// Answers Open's file dialog with one file and asks nothing else.
class OpenOnePrompts final : public qt::QtPrompts {
 public:
  using QtPrompts::QtPrompts;
  std::string file;
  std::optional<std::string> chooseFile(editor::FilePurpose, std::string_view) override {
    return file;
  }
  // The user's own settings are left alone.
  std::string setting(std::string_view) override { return {}; }
  void setSetting(std::string_view, std::string_view) override {}
};

std::string fullTypeOneFile() {
  const std::string path = "/tmp/velmora-bench-open-full.wdb";
  ChannelDb db = test::fullDb();
  int counter = 0;
  writeFileAtomically(path, wdb::writeWdb(db, wdb::Layout::TypeI, {}, counter).bytes);
  return path;
}

void BM_OpenFullFile_Editor(benchmark::State& state) {
  qt::EditorWindow window;
  OpenOnePrompts prompts(&window);
  prompts.file = fullTypeOneFile();
  editor::EditorDialog editor(window.controls(), prompts, {});
  window.attach(editor);
  editor.initDialog();
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("window not shown");
  double blockedMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    editor.clearDatabase(false);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    editor.onCommand(res::ID_FILE_OPEN);
    auto last = std::chrono::steady_clock::now();
    while (editor.isLoading()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
      const auto now = std::chrono::steady_clock::now();
      blockedMs =
          std::max(blockedMs, std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
    }
    QCoreApplication::processEvents();
  }
  if (window.controls().listRowCount(res::IDC_SAT_LIST) != MAX_SATS)
    state.SkipWithError("the satellites were not shown");
  state.counters["blocked_ms"] = blockedMs;
}
BENCHMARK(BM_OpenFullFile_Editor)->Unit(benchmark::kMillisecond);

void BM_OpenFullFile_DecodeAndRefill(benchmark::State& state) {
  qt::EditorWindow window;
  qt::QtPrompts prompts(&window);
  const std::string path = fullTypeOneFile();
  editor::EditorDialog editor(window.controls(), prompts, {});
  window.attach(editor);
  editor.initDialog();
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("window not shown");
  for (auto _ : state) {
    state.PauseTiming();
    editor.clearDatabase(false);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    editor.finishLoading(wdb::readWdb(*readWholeFile(path)));
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_OpenFullFile_DecodeAndRefill)->Unit(benchmark::kMillisecond);

void BM_OpenFullFile_UiThreadPart(benchmark::State& state) {
  qt::EditorWindow window;
  qt::QtPrompts prompts(&window);
  editor::EditorDialog editor(window.controls(), prompts, {});
  window.attach(editor);
  editor.initDialog();
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("window not shown");
  const wdb::ReadResult decoded = wdb::readWdb(*readWholeFile(fullTypeOneFile()));
  double longestMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    editor.clearDatabase(false);
    QCoreApplication::processEvents();
    wdb::ReadResult copy = decoded;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    editor.finishLoading(std::move(copy));
    QCoreApplication::processEvents();
    longestMs =
        std::max(longestMs,
                 std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  state.counters["longest_ms"] = longestMs;
  if (window.controls().listRowCount(res::IDC_SAT_LIST) != MAX_SATS)
    state.SkipWithError("the satellites were not shown");
}
BENCHMARK(BM_OpenFullFile_UiThreadPart)->Unit(benchmark::kMillisecond);

// Runs the probe once: the time to its "shown" line, and the resident
// memory it reports at rest.
bool probeOnce(const char* mode, double& seconds, long& rssKb) {
  int out[2];
  if (pipe(out) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string program = VELMORA_STARTUP_PROBE;
  std::string flag = mode;
  char* argv[] = {program.data(), flag.empty() ? nullptr : flag.data(), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return false;
  }
  FILE* lines = fdopen(out[0], "r");
  char line[64];
  bool ok = std::fgets(line, sizeof line, lines) != nullptr && std::string(line) == "shown\n";
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ok = ok && std::fscanf(lines, "rss %ld", &rssKb) == 1;
  std::fclose(lines);
  int status = 0;
  waitpid(pid, &status, 0);
  return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void startUp(benchmark::State& state, const char* mode) {
  long rssTotal = 0;
  for (auto _ : state) {
    double seconds = 0;
    long rss = 0;
    if (!probeOnce(mode, seconds, rss)) {
      state.SkipWithError("the probe failed");
      return;
    }
    state.SetIterationTime(seconds);
    rssTotal += rss;
  }
  state.counters["rss_MB"] =
      static_cast<double>(rssTotal) / 1024.0 /
      static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
}

void BM_StartUpToFirstPaint_Editor(benchmark::State& state) { startUp(state, ""); }
void BM_StartUpToFirstPaint_BareDialog(benchmark::State& state) { startUp(state, "--bare"); }
void BM_StartUpToFirstPaint_BareDialogWithText(benchmark::State& state) {
  startUp(state, "--bare-text");
}
BENCHMARK(BM_StartUpToFirstPaint_Editor)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToFirstPaint_BareDialog)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToFirstPaint_BareDialogWithText)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
