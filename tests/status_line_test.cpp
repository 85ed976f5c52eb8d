// The status line under the lists: what each command did, in the window's
// own words, driven through the fake window on real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/editor_load.h"
#include "support/fake_port.h"
#include "wdb/file_io.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;
namespace fs = std::filesystem;

TEST(StatusLine, SaysWhatEachCommandDid) {
  FakeControls ui(editorDialog());
  FakePrompts prompts;
  const fs::path dir = fs::temp_directory_path() / "velmora-status-line";
  fs::remove_all(dir);
  fs::create_directories(dir);
  EditorDialog editor(ui, prompts, EditorEnv{dir, {}});
  editor.initDialog();
  auto write = [&](const char* name, ChannelDb db) {
    int counter = 0;
    writeFileAtomically(dir / name, wdb::writeWdb(db, wdb::Layout::TypeI, {}, counter).bytes);
  };
  ChannelDb elsewhere;
  elsewhere.appendSatellite(makeSat("Elsewhere", "0450"));
  write("ref.wdb", makeDb(2, 4, 6));
  write("none.wdb", elsewhere);
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir / "e70.sdx");

  // Each step: a database loaded first (or none), the tab and rows picked
  // (tab -1: none), a file chosen, the command or key, and what is said.
  const int key = -1;  // Delete in the list
  // clang-format off
  struct Step { ChannelDb load; int tab; std::vector<int> rows; const char* file; int command;
                const char* said; };
  const Step steps[] = {
      {fullDb(), -1, {}, "full.wdb", ID_FILE_SAVE,
       "Saved full.wdb (Type I: 64 satellites, 1,600 transponders, 6,000 channels)"},
      {makeDb(3, 4, 6), 1, {0}, "", IDC_REMOVE,
       "Removed transponder 10700 H 22000 with 2 channels. Ctrl+Z brings it back."},
      {{}, 2, {0}, "", key, "Removed Channel 2. Ctrl+Z brings it back."},
      {{}, 2, {0, 2}, "", IDC_REMOVE, "Removed 2 channels. Ctrl+Z brings them back."},
      {{}, 0, {1}, "", key,
       "Removed Sat 2 with 4 transponders and 6 channels. Ctrl+Z brings it back."},
      {{}, 0, {0, 1}, "", IDC_REMOVE,
       "Removed 2 satellites with 7 transponders and 7 channels. Ctrl+Z brings them back."},
      {makeDb(3, 4, 6), -1, {}, "ref.wdb", ID_FILE_APPLY_ORDER,
       "Matched 2 satellites, 8 transponders, 12 channels; 11 new at the ends"},
      {{}, -1, {}, "none.wdb", ID_FILE_APPLY_ORDER, "none.wdb: nothing matched"},
      {{}, -1, {}, "e70.sdx", ID_FILE_OPEN,
       "e70.sdx: 5 records, 3 imported, 1 non-MPEG-2 channel and 1 feed/test channel skipped"},
      // The listing pads the name to its field; the sentence does not.
      {{}, 0, {3}, "", IDC_REMOVE,
       "Removed Hotbird 13E with 2 transponders and 3 channels. Ctrl+Z brings it back."}};
  // clang-format on
  for (const Step& step : steps) {
    SCOPED_TRACE(step.said);
    if (step.load.satCount > 0) load(editor, step.load);
    const int list = step.tab == 0 ? IDC_SAT_LIST : step.tab == 1 ? IDC_TP_LIST : IDC_SVC_LIST;
    if (step.tab >= 0) {
      ui.tabSelect(IDC_TAB, step.tab);
      editor.onTabChanged();
      ui.focus(list);
      ui.listSelectRows(list, step.rows);
      editor.onListClick(list, ui.listSelectedRows(list));
    }
    if (*step.file) prompts.files.push_back((dir / step.file).string());
    if (step.command == key)
      editor.onKeyDown(KEY_DELETE);
    else
      editor.onCommand(step.command);
    prompts.finishBackgroundWork();
    EXPECT_EQ(ui.statusText, step.said);
  }

  // Type II keeps no position and no ports: a change of them is said, a
  // change of anything else is not.
  load(editor, makeDb(2, 1, 1), wdb::Layout::TypeII);
  ui.setStatusText("");
  for (const int row : {0, 1}) {
    ui.listSelectRows(IDC_SAT_LIST, {row});
    editor.onListClick(IDC_SAT_LIST, {row});
    ui.type(IDC_SAT_NAME, row ? "Sat B" : "Sat A");
    if (row == 1) {
      ui.type(IDC_LONGITUDE, "0192");
      ui.comboSelect(IDC_UNCOMMITTED, 3);
      editor.onComboChanged(IDC_UNCOMMITTED);
    }
    editor.onCommand(IDC_CHANGE);
    EXPECT_EQ(ui.statusText, row ? "Type II keeps no longitude and no switch ports: the "
                                   "Longi.(SDX) and Uncom. of Sat B will be lost at save."
                                 : "");
  }
  fs::remove_all(dir);
}

}  // namespace velmora::editor
