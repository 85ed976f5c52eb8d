// Undo, redo and Find, driven through the fake window as a user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/editor_load.h"
#include "support/fake_port.h"
#include "texts.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;
namespace fs = std::filesystem;

class UndoFind : public ::testing::Test {
 protected:
  UndoFind() : ui(editorDialog()), editor(ui, prompts, EditorEnv{dir(), {}}) {
    fs::remove_all(dir());
    fs::create_directories(dir());
    editor.initDialog();
  }
  ~UndoFind() override { fs::remove_all(dir()); }
  // A folder of this test's own: CTest runs the tests side by side, and
  // other checkouts on the machine run them too.
  static fs::path dir() {
    static const unsigned tag = std::random_device{}();
    return fs::temp_directory_path() /
           ("velmora-undo-find-" + std::to_string(tag) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
  }

  void switchTo(int tab) {
    ui.pickTab(tab - 1);
    editor.onTabChanged();
  }
  void click(int list, std::vector<int> rows) {
    ui.pickRows(list, std::move(rows));
    editor.onListClick(list, ui.listSelectedRows(list));
  }
  void press(int button) {
    ui.focus(button);
    editor.onKeyDown(KEY_RETURN);
  }
  void type(std::vector<std::pair<int, std::string>> fields) {
    for (const auto& [id, text] : fields) ui.type(id, text);
  }
  void ctrl(char key) {
    ui.focus(IDC_SAT_LIST);
    editor.onKeyDown(key, true);
  }

  // What the user sees and what would be saved.
  struct Seen {
    int satCount;
    std::array<SatRecord, MAX_SATS> sats;
    std::array<TpTable, MAX_SATS> tps;
    std::array<SvcTable, MAX_SATS> svcs;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> combo;
    std::string totalCh;
    int tab;
    bool operator==(const Seen&) const = default;
  };
  // The numbering a save writes follows from the order: left out.
  Seen seen() const {
    const int list = editor.currentTab() == TAB_SATELLITE     ? IDC_SAT_LIST
                     : editor.currentTab() == TAB_TRANSPONDER ? IDC_TP_LIST
                                                              : IDC_SVC_LIST;
    Seen s{editor.database().satCount,  editor.database().sats, editor.database().tpTables,
           editor.database().svcTables, ui.rows(list),          ui.at(IDC_TP_SAT).combo.items,
           ui.text(IDC_TOTAL_CH),       editor.currentTab()};
    for (auto& table : s.tps)
      for (TpRecord& t : table) t.seqNo.clear();
    for (auto& table : s.svcs)
      for (SvcRecord& v : table) v.tpSeqNo.clear();
    return s;
  }

  FakeControls ui;
  FakePrompts prompts;
  EditorDialog editor;
};

// Every kind of change is one step; undoing them one by one shows each
// earlier state again, redoing them all comes back to the last one.
TEST_F(UndoFind, EveryKindOfChangeUndoesAndRedoesStepByStep) {
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir() / "hotbird.sdx");
  EXPECT_FALSE(ui.menuEnabled(ID_EDIT_UNDO));
  EXPECT_FALSE(ui.menuEnabled(ID_EDIT_REDO));

  std::vector<Seen> states{seen()};
  const std::function<void()> steps[] = {
      [&] {  // Add a satellite
        type({{IDC_SAT_NAME, "Astra"}, {IDC_LONGITUDE, "0192"}});
        press(IDC_ADD);
      },
      [&] {  // import a listing
        prompts.files = {(dir() / "hotbird.sdx").string()};
        editor.onCommand(ID_FILE_OPEN);
      },
      [&] {  // Change a satellite
        click(IDC_SAT_LIST, {0});
        type({{IDC_SAT_NAME, "Thor 1 and 2 and 3 and 4"}, {IDC_LONGITUDE, "3592"}});
        press(IDC_CHANGE);
      },
      [&] {  // Add a transponder
        switchTo(TAB_TRANSPONDER);
        type({{IDC_FREQUENCY, "12551"}, {IDC_SYMBOL_RATE, "22000"}});
        press(IDC_ADD);
      },
      [&] {  // Remove a channel of the imported satellite
        switchTo(TAB_CHANNEL);
        ui.pickComboItem(IDC_SVC_SAT, 1);
        editor.onComboChanged(IDC_SVC_SAT);
        click(IDC_SVC_LIST, {0});
        press(IDC_REMOVE);
      },
      [&] {  // Sort the satellites (a click on a column header)
        switchTo(TAB_SATELLITE);
        editor.onColumnClick(IDC_SAT_LIST);
      },
      [&] {  // Move the first satellite to the end
        click(IDC_SAT_LIST, {0});
        prompts.dialogScripts.push_back([](FakePrompts::DialogSession& d) {
          d.ui.type(IDC_MOVE_POSITION, "2");
          d.send(IDC_MOVE_OK);
        });
        editor.onKeyDown(KEY_F5);
      },
      [&] {  // drag the second satellite above the first
        ui.pickRows(IDC_SAT_LIST, {1});
        editor.onDragBegin(IDC_SAT_LIST, 1);
        editor.onDragRelease(IDC_SAT_LIST, 0);
      },
      [&] {  // Delete on a satellite
        click(IDC_SAT_LIST, {1});
        ui.focus(IDC_SAT_LIST);
        editor.onKeyDown(KEY_DELETE);
      },
      [&] {  // Remove a satellite with its tables
        click(IDC_SAT_LIST, {0});
        press(IDC_REMOVE);
      },
  };
  for (const auto& step : steps) {
    step();
    ASSERT_NE(seen(), states.back()) << states.size();
    states.push_back(seen());
  }
  EXPECT_TRUE(prompts.messages.empty()) << prompts.messages[0].text;
  EXPECT_TRUE(ui.menuEnabled(ID_EDIT_UNDO));

  // The Satellite tab shows; undo goes back through every state.
  for (std::size_t i = states.size() - 1; i-- > 0;) {
    editor.onCommand(ID_EDIT_UNDO);
    const Seen now = seen();
    if (states[i].tab == TAB_SATELLITE) {
      EXPECT_EQ(now.rows, states[i].rows) << i;
    }
    EXPECT_EQ(now.combo, states[i].combo) << i;
    EXPECT_EQ(now.totalCh, states[i].totalCh) << i;
    EXPECT_TRUE(now.sats == states[i].sats) << i;
    EXPECT_TRUE(now.tps == states[i].tps) << i;
    EXPECT_TRUE(now.svcs == states[i].svcs) << i;
  }
  EXPECT_FALSE(ui.menuEnabled(ID_EDIT_UNDO));
  EXPECT_TRUE(ui.menuEnabled(ID_EDIT_REDO));
  editor.onCommand(ID_EDIT_UNDO);  // nothing left: nothing happens
  EXPECT_EQ(seen().satCount, 0);

  for (std::size_t i = 1; i < states.size(); ++i) ctrl('Y');
  EXPECT_TRUE(seen().svcs == states.back().svcs);
  EXPECT_EQ(seen().rows, states.back().rows);
  EXPECT_FALSE(ui.menuEnabled(ID_EDIT_REDO));
}

TEST_F(UndoFind, UndoKnowsWhichStateIsSavedAndNewOrOpenForgetTheSteps) {
  type({{IDC_SAT_NAME, "Astra"}, {IDC_LONGITUDE, "0192"}});
  press(IDC_ADD);
  prompts.files = {(dir() / "one.wdb").string()};
  editor.onCommand(ID_FILE_SAVE);
  ASSERT_TRUE(editor.isSaved());
  type({{IDC_SAT_NAME, "Hotbird"}, {IDC_LONGITUDE, "0130"}});
  press(IDC_ADD);
  EXPECT_FALSE(editor.isSaved());
  ctrl('Z');
  EXPECT_TRUE(editor.isSaved());  // what is in one.wdb
  ctrl('Z');
  EXPECT_EQ(editor.database().satCount, 0);
  EXPECT_FALSE(editor.isSaved());
  ctrl('Y');
  EXPECT_TRUE(editor.isSaved());

  // Ctrl+Z and Ctrl+Y in a text field undo and redo the database too.
  ui.focus(IDC_SAT_NAME);
  EXPECT_EQ(editor.onKeyDown('Z', true), KeyAction::Consumed);
  EXPECT_EQ(editor.database().satCount, 0);
  EXPECT_EQ(editor.onKeyDown('Y', true), KeyAction::Consumed);
  EXPECT_EQ(editor.database().satCount, 1);

  prompts.files = {(dir() / "one.wdb").string()};
  editor.onCommand(ID_FILE_OPEN);
  prompts.finishBackgroundWork();
  EXPECT_FALSE(ui.menuEnabled(ID_EDIT_UNDO));
  EXPECT_FALSE(ui.menuEnabled(ID_EDIT_REDO));
  press(IDC_ADD);  // refused: the name is empty
  EXPECT_FALSE(ui.menuEnabled(ID_EDIT_UNDO));

  type({{IDC_SAT_NAME, "Thor"}, {IDC_LONGITUDE, "3592"}});
  press(IDC_ADD);
  prompts.answers = {Answer::No};
  editor.onCommand(ID_FILE_NEW);
  EXPECT_EQ(editor.database().satCount, 0);
  EXPECT_FALSE(ui.menuEnabled(ID_EDIT_UNDO));
}

TEST_F(UndoFind, FindPicksTheNextMatchingRowAndWraps) {
  ChannelDb db = makeDb(1, 3, 0);
  for (const char* name : {"Rai 1", "ZDF", "rai 2", "Arte"})
    db.svcTables[0].append(makeSvc(name, tpKeyLong(db.tpTables[0][0])));
  load(editor, std::move(db));
  switchTo(TAB_CHANNEL);

  std::vector<int> found;
  prompts.dialogScripts.push_back([&](FakePrompts::DialogSession& d) {
    d.ui.type(IDC_FIND_TEXT, "RAI");
    for (int i = 0; i < 3; ++i) {
      d.send(ID_OK);
      found.push_back(ui.listSelectedRows(IDC_SVC_LIST).at(0));
    }
    d.ui.type(IDC_FIND_TEXT, "sky");
    d.send(ID_OK);
    d.send(ID_CANCEL);
  });
  ctrl('F');
  EXPECT_EQ(found, (std::vector<int>{0, 2, 0}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, "Not found.");

  // The row found counts as picked: Change acts on it.
  EXPECT_EQ(ui.text(IDC_CH_NAME), "Rai 1");
  ui.type(IDC_CH_NAME, "Rai Uno");
  press(IDC_CHANGE);
  EXPECT_EQ(editor.database().svcTables[0][0].name, "Rai Uno");

  // On the Transponder tab the frequency is what is looked for.
  switchTo(TAB_TRANSPONDER);
  prompts.dialogScripts.push_back([&](FakePrompts::DialogSession& d) {
    EXPECT_EQ(d.ui.text(IDC_FIND_TEXT), "sky");  // offered again
    d.ui.type(IDC_FIND_TEXT, editor.database().tpTables[0][2].frequency);
    d.send(ID_OK);
  });
  editor.onCommand(ID_EDIT_FIND);
  EXPECT_EQ(ui.listSelectedRows(IDC_TP_LIST), std::vector<int>{2});
  EXPECT_EQ(ui.text(IDC_FREQUENCY), editor.database().tpTables[0][2].frequency);
}

// A step brings back what decides how the database is saved, and a save
// is no step unless it cut a name; one that fails changes nothing.
TEST_F(UndoFind, UndoKeepsTheLayoutAndSavesMakeNoStepsOfTheirOwn) {
  ChannelDb db = makeDb(2, 1, 1);
  db.sats[0].name = "Zed";
  int counter = 0;
  const wdb::WriteResult typeII = wdb::writeWdb(db, wdb::Layout::TypeII, {}, counter);
  const std::string file = (dir() / "old.wdb").string();
  ASSERT_TRUE(writeFileAtomically(file, typeII.bytes));
  prompts.files = {file};
  editor.onCommand(ID_FILE_OPEN);
  prompts.finishBackgroundWork();
  ASSERT_EQ(editor.layout(), wdb::Layout::TypeII);
  EXPECT_EQ(ui.windowTitle, "Velmora 1.00 - old.wdb");
  EXPECT_FALSE(ui.windowModified);

  click(IDC_SAT_LIST, {0, 1});
  press(IDC_REMOVE);  // every satellite: the database is cleared
  EXPECT_EQ(editor.layout(), wdb::Layout::NotChosen);
  ctrl('Z');
  EXPECT_EQ(editor.layout(), wdb::Layout::TypeII);
  EXPECT_EQ(ui.text(IDC_FILE), file);
  EXPECT_TRUE(editor.isSaved());

  // Sort, save: Ctrl+Z undoes the sort, not the numbering the save wrote.
  editor.onKeyDown(KEY_F8);
  EXPECT_TRUE(ui.windowModified);
  prompts.files = {(dir() / "sorted.wdb").string()};
  editor.onCommand(ID_FILE_SAVE);
  EXPECT_EQ(fs::file_size(dir() / "sorted.wdb"), typeII.bytes.size());
  ctrl('Z');
  EXPECT_EQ(editor.database().sats[0].name, "Zed");
  EXPECT_FALSE(editor.isSaved());
  EXPECT_TRUE(ui.menuEnabled(ID_EDIT_REDO));

  // A save that fails: no name cut, no step, Redo still there.
  EditorEnv failing{dir(), {}};
  failing.writeOptions.failStep = [](FileStep step) { return step == FileStep::Rename ? 5 : 0; };
  FakeControls ui2(editorDialog());
  FakePrompts prompts2;
  EditorDialog other(ui2, prompts2, failing);
  other.initDialog();
  ChannelDb longName = makeDb(1, 1, 1);
  longName.sats[0].name = "Much longer than sixteen";
  load(other, std::move(longName));
  prompts2.files = {(dir() / "failed.wdb").string()};
  other.onCommand(ID_FILE_SAVE);
  EXPECT_EQ(other.database().sats[0].name, "Much longer than sixteen");
  EXPECT_FALSE(ui2.menuEnabled(ID_EDIT_UNDO));
  EXPECT_FALSE(fs::exists(dir() / "failed.wdb"));
}

}  // namespace velmora::editor
