// The status line under the lists: what each command did, in the window's
// own words, driven through the fake window on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
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
  auto pick = [&](int tab, int list, std::vector<int> rows) {
    ui.tabSelect(IDC_TAB, tab);
    editor.onTabChanged();
    ui.focus(list);
    ui.listSelectRows(list, rows);
    editor.onListClick(list, ui.listSelectedRows(list));
  };
  auto choose = [&](const char* name) {
    prompts.files.push_back((dir / name).string());
    return (dir / name).string();
  };

  // Saves count in thousands; a full database is its own layout's case.
  load(editor, fullDb());
  choose("full.wdb");
  editor.onCommand(ID_FILE_SAVE);
  EXPECT_EQ(ui.statusText,
            "Saved full.wdb (Type I: 64 satellites, 1,600 transponders, 6,000 channels)");

  // Removals by the button and by the Delete key, one row and several.
  load(editor, makeDb(3, 4, 6));
  const std::pair<std::function<void()>, const char*> removals[] = {
      {[&] { pick(1, IDC_TP_LIST, {0}); },
       "Removed transponder 10700 H 22000 with 2 channels. Ctrl+Z brings it back."},
      {[&] { pick(2, IDC_SVC_LIST, {0}); }, "Removed Channel 2. Ctrl+Z brings it back."},
      {[&] {
         pick(2, IDC_SVC_LIST, {0, 2});
       },
       "Removed 2 channels. Ctrl+Z brings them back."},
      {[&] { pick(0, IDC_SAT_LIST, {1}); },
       "Removed Sat 2 with 4 transponders and 6 channels. Ctrl+Z brings it back."},
      {[&] {
         pick(0, IDC_SAT_LIST, {0, 1});
       },
       "Removed 2 satellites with 7 transponders and 7 channels. Ctrl+Z brings them back."}};
  bool byKey = false;
  for (const auto& [select, said] : removals) {
    select();
    if (byKey)
      editor.onKeyDown(KEY_DELETE);
    else
      editor.onCommand(IDC_REMOVE);
    EXPECT_EQ(ui.statusText, said);
    byKey = !byKey;
  }

  // Apply order: what matched, and what had no partner stays at the ends.
  load(editor, makeDb(3, 4, 6));
  ChannelDb ref = makeDb(2, 4, 6);
  int counter = 0;
  ASSERT_TRUE(writeFileAtomically(dir / "ref.wdb",
                                  wdb::writeWdb(ref, wdb::Layout::TypeI, {}, counter).bytes));
  choose("ref.wdb");
  editor.onCommand(ID_FILE_APPLY_ORDER);
  EXPECT_EQ(ui.statusText, "Matched 2 satellites, 8 transponders, 12 channels; 11 new at the ends");
  ref = ChannelDb{};
  ref.appendSatellite(makeSat("Elsewhere", "0450"));
  ASSERT_TRUE(writeFileAtomically(dir / "none.wdb",
                                  wdb::writeWdb(ref, wdb::Layout::TypeI, {}, counter).bytes));
  choose("none.wdb");
  editor.onCommand(ID_FILE_APPLY_ORDER);
  EXPECT_EQ(ui.statusText, "none.wdb: nothing matched");

  // Import: the listing's records as the command line counts them.
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir / "e70.sdx");
  choose("e70.sdx");
  editor.onCommand(ID_FILE_OPEN);
  prompts.finishBackgroundWork();
  EXPECT_EQ(ui.statusText,
            "e70.sdx: 5 records, 3 imported, 1 non-MPEG-2 channel and "
            "1 feed/test channel skipped");
  // The listing pads the name to its field; the sentence does not.
  pick(0, IDC_SAT_LIST, {editor.database().satCount - 1});
  editor.onCommand(IDC_REMOVE);
  EXPECT_EQ(ui.statusText,
            "Removed Hotbird 13E with 2 transponders and 3 channels. Ctrl+Z brings it back.");

  // Type II keeps no position and no ports: a change of them is said, a
  // change of anything else is not.
  load(editor, makeDb(2, 1, 1), wdb::Layout::TypeII);
  ui.setStatusText("");
  pick(0, IDC_SAT_LIST, {0});
  ui.type(IDC_SAT_NAME, "Sat one");
  editor.onCommand(IDC_CHANGE);
  EXPECT_EQ(ui.statusText, "");
  pick(0, IDC_SAT_LIST, {1});
  ui.type(IDC_LONGITUDE, "0192");
  ui.comboSelect(IDC_UNCOMMITTED, 3);
  editor.onComboChanged(IDC_UNCOMMITTED);
  editor.onCommand(IDC_CHANGE);
  EXPECT_EQ(ui.statusText,
            "Type II keeps no longitude and no switch ports: the Longi.(SDX) and Uncom. of Sat 2 "
            "will be lost at save.");
  fs::remove_all(dir);
}

}  // namespace velmora::editor
