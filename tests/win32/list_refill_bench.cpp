// The user-interface thread's time for refilling the Channel tab with 4000
// rows in Velmora.exe's own window (its template, toolbar, manifest and
// controls): the editor's refill through WinControls until the list knows
// its rows, and that with the list's paint after it. Run under Wine or on
// Windows; prints the median and the slowest of RUNS refills (default 25)
// in milliseconds, and the thread's processor time per refill and paint
// (which other programs on a busy machine do not lengthen).
//
//   velmora_list_refill_bench [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/editor_load.h"
#include "win32/editor_window.h"
#include "win32/win_prompts.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The processor time this thread has used, in milliseconds.
double threadMs() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto value = [](FILETIME t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           10000.0;
  };
  return value(kernel) + value(user);
}

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%s: median %.2f ms, slowest %.2f ms\n", what, times[times.size() / 2], times.back());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace velmora;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;
  INITCOMMONCONTROLSEX init{
      sizeof init, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&init);
  win32::EditorWindow window;
  if (!window.ok()) {
    std::fprintf(stderr, "velmora_list_refill_bench: no window\n");
    return 1;
  }
  win32::WinPrompts prompts(window.hwnd());
  editor::EditorDialog editor(window.controls(), prompts, editor::EditorEnv{});
  window.attach(editor);
  editor.initDialog();
  ShowWindow(window.hwnd(), SW_SHOW);
  UpdateWindow(window.hwnd());
  test::load(editor, test::makeDb(1, 40, TABLE_ROWS));
  window.controls().tabSelect(res::IDC_TAB, editor::TAB_CHANNEL - 1);
  editor.onTabChanged();
  pump();

  HWND list = window.controls().item(res::IDC_SVC_LIST);
  // Refills over the same rows (a sort, the tab chosen again), or into a
  // list emptied first (a file opened, another satellite chosen).
  auto measure = [&](const char* what, bool fromEmpty) {
    std::vector<double> refill, painted;
    double busy = 0;
    for (int i = 0; i < runs; ++i) {
      if (fromEmpty) {
        // The list shows no rows for a while, then its source again.
        const editor::RowSource* rows = window.controls().listSource(res::IDC_SVC_LIST);
        window.controls().listSetSource(res::IDC_SVC_LIST, nullptr);
        SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
        UpdateWindow(list);
        pump();
        window.controls().listSetSource(res::IDC_SVC_LIST, rows);
      }
      const double busyBefore = threadMs();
      const auto start = Clock::now();
      editor.refillChannelTab();
      // The first question to the list makes it take the rows.
      SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
      const auto filled = Clock::now();
      UpdateWindow(list);
      const auto end = Clock::now();
      busy += threadMs() - busyBefore;
      refill.push_back(ms(filled - start));
      painted.push_back(ms(end - start));
      pump();
    }
    std::printf("%s:\n", what);
    report("  refill", refill);
    report("  refill and paint", painted);
    std::printf("  processor time per refill and paint: %.2f ms\n", busy / runs);
  };
  measure("4000-row Channel refill over the same rows", false);
  measure("4000-row Channel refill into an emptied list", true);
  if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) != TABLE_ROWS) {
    std::fprintf(stderr, "velmora_list_refill_bench: the list does not hold %d rows\n", TABLE_ROWS);
    return 1;
  }
  return 0;
}
