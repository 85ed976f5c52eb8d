// Sort, Move and dragging rows, as a user reaches them in the window.
#include <gtest/gtest.h>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/editor_load.h"
#include "support/fake_port.h"
#include "texts.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;

constexpr int ROW = FakeControls::ROW_HEIGHT;

class Ordering : public ::testing::Test {
 protected:
  Ordering() : ui(editorDialog()), editor(ui, prompts, EditorEnv{"/opt/velmora", {}}) {
    editor.initDialog();
  }

  // Satellites named by the letters of `names`; satellite i has
  // transponders and channels named after it.
  void load(const std::string& names, int rows = 3) { loadDb(named(names, rows)); }
  static ChannelDb named(const std::string& names, int rows = 3) {
    ChannelDb db;
    for (char c : names) {
      const std::string n(1, c);
      db.appendSatellite(makeSat(n));
      for (int r = 0; r < rows; ++r) {
        db.tpTables[db.satCount - 1].append(makeTp(std::to_string(11000 + r), "H", n));
        db.svcTables[db.satCount - 1].append(makeSvc(n + std::to_string(r), "11000H" + n));
      }
    }
    return db;
  }
  void loadDb(ChannelDb db) {
    switchTo(TAB_SATELLITE);
    test::load(editor, std::move(db));
  }
  void press(int button) {
    ui.focus(button);
    editor.onKeyDown(KEY_RETURN);
  }
  void switchTo(int tab) {
    ui.pickTab(tab - 1);
    editor.onTabChanged();
  }
  void click(int list, int row) {
    ui.pickRows(list, {row});
    editor.onListClick(list, ui.listSelectedRows(list));
  }
  // Column `column` of every row of a list, joined.
  std::string column(int list, int column = 1) const {
    std::string out;
    for (const auto& cells : ui.rows(list)) out += cells.at(column) + " ";
    return out;
  }
  std::string satOrder() const {
    std::string out;
    for (int s = 0; s < editor.database().satCount; ++s) out += editor.database().sats[s].name;
    return out;
  }
  std::string combo(int id) const {
    std::string out;
    for (const std::string& item : ui.at(id).combo.items) out += item;
    return out;
  }
  // Move with the dialog, which `script` fills in and ends.
  void move(std::function<void(FakePrompts::DialogSession&)> script) {
    prompts.dialogScripts.push_back(std::move(script));
    editor.onKeyDown(KEY_F5);
  }
  // Types `text`, puts the focus on control `focus` and ends with `key`.
  static std::function<void(FakePrompts::DialogSession&)> typed(std::string text, int key,
                                                                int focus = IDC_MOVE_POSITION) {
    return [=](FakePrompts::DialogSession& d) {
      d.ui.type(IDC_MOVE_POSITION, text);
      d.ui.focus(focus);
      d.send(key);
    };
  }
  std::vector<std::string_view> messages() const {
    std::vector<std::string_view> out;
    for (const auto& m : prompts.messages) out.push_back(m.text);
    return out;
  }

  FakeControls ui;
  FakePrompts prompts;
  EditorDialog editor;
};

TEST_F(Ordering, EveryWayToSortSortsTheShownTabAndMarksTheDatabaseModified) {
  struct Way {
    const char* name;
    std::function<void(EditorDialog&)> sort;
  };
  const Way ways[] = {
      {"menu", [](EditorDialog& e) { e.onCommand(ID_EDIT_SORT); }},
      {"toolbar", [](EditorDialog& e) { e.onCommand(ID_TB_SORT); }},
      {"F8", [](EditorDialog& e) { e.onKeyDown(KEY_F8); }},
      {"header", [](EditorDialog& e) { e.onColumnClick(IDC_SAT_LIST); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    editor.clearDatabase(false);
    // Transponders of the first satellite out of order, channels of both.
    ChannelDb db = named("hAe");
    db.tpTables[0][0].frequency = "12000";
    db.svcTables[0][0].name = "z";
    db.svcTables[2][1].name = "";
    loadDb(std::move(db));
    ASSERT_TRUE(editor.isSaved());
    ui.listState(IDC_SAT_LIST).top = 2;
    way.sort(editor);
    EXPECT_EQ(satOrder(), "Aeh");
    EXPECT_EQ(editor.database().svcTables[0][0].name, "A0");  // the tables went with them
    EXPECT_EQ(column(IDC_SAT_LIST), "A e h ");
    EXPECT_EQ(combo(IDC_TP_SAT), "Aeh");
    EXPECT_EQ(combo(IDC_SVC_SAT), "Aeh");
    EXPECT_EQ(ui.at(IDC_SAT_LIST).list.top, 0);
    EXPECT_FALSE(editor.isSaved());

    // The Transponder tab shows satellite "h", but every table is sorted.
    click(IDC_SAT_LIST, 2);
    switchTo(TAB_TRANSPONDER);
    way.sort(editor);
    EXPECT_EQ(column(IDC_TP_LIST, 2), "11001 11002 12000 ");
    EXPECT_EQ(editor.database().tpTables[0][0].frequency, "11000");
    EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), 3);

    switchTo(TAB_CHANNEL);
    way.sort(editor);
    EXPECT_EQ(column(IDC_SVC_LIST), "h1 h2 z ");
    EXPECT_EQ(editor.database().svcTables[1][0].name, "....");  // as the loader names it
    EXPECT_EQ(editor.database().svcTables[1][1].name, "e0");
    EXPECT_TRUE(prompts.messages.empty());
  }

  // Sorting nothing changes nothing: no unsaved work to ask about.
  prompts.answers = {Answer::No};
  editor.onCommand(ID_FILE_NEW);
  editor.onKeyDown(KEY_F8);
  EXPECT_TRUE(editor.isSaved());
}

TEST_F(Ordering, MoveTakesThePositionFromTheDialog) {
  struct Case {
    int picked;
    std::string text;
    int key, focus;  // how the dialog ends, and where the focus is then
    std::string order;
    std::string_view message;
    std::vector<int> alsoPicked = {};  // rows picked with it, to move as one block
  };
  const int edit = IDC_MOVE_POSITION;
  const Case cases[] = {
      {1, "4", IDC_MOVE_OK, IDC_MOVE_OK, "ACDB", ""},
      {3, " 1 ", ID_OK, edit, "DABC", ""},  // Enter in the edit box
      {3, "1", ID_OK, IDC_MOVE_OK, "DABC", ""},
      {1, "4", ID_CANCEL, edit, "ABCD", ""},  // Esc
      {1, "4", IDC_MOVE_CANCEL, IDC_MOVE_CANCEL, "ABCD", ""},
      {1, "4", ID_OK, IDC_MOVE_CANCEL, "ABCD", ""},  // Enter on Cancel
      {1, "2", IDC_MOVE_OK, edit, "ABCD", ""},       // its own position
      {1, "0", IDC_MOVE_OK, edit, "ABCD", text::NOT_AVAILABLE_POSITION},
      {1, "-1", IDC_MOVE_OK, edit, "ABCD", text::NOT_AVAILABLE_POSITION},
      {1, "five", ID_OK, edit, "ABCD", text::NOT_AVAILABLE_POSITION},
      {3, "1st", ID_OK, edit, "ABCD", text::NOT_AVAILABLE_POSITION},  // only whole numbers
      {3, "1.5", ID_OK, edit, "ABCD", text::NOT_AVAILABLE_POSITION},
      {1, "5", ID_OK, edit, "ABCD", text::NOT_AVAILABLE_POSITION},
      {1, "99999999999999999999", ID_OK, edit, "ABCD", text::NOT_AVAILABLE_POSITION},
      {1, "99999999999999999999", ID_OK, edit, "ABCD", text::NOT_AVAILABLE_POSITION, {2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " " + std::to_string(c.key) + " " + std::to_string(c.focus));
    editor.clearDatabase(false);
    prompts.messages.clear();
    load("ABCD");
    std::vector<int> block{c.picked};
    block.insert(block.end(), c.alsoPicked.begin(), c.alsoPicked.end());
    ui.pickRows(IDC_SAT_LIST, block);
    editor.onListClick(IDC_SAT_LIST, ui.listSelectedRows(IDC_SAT_LIST));
    move(typed(c.text, c.key, c.focus));
    EXPECT_EQ(satOrder(), c.order);
    EXPECT_EQ(messages(), c.message.empty() ? std::vector<std::string_view>{}
                                            : std::vector<std::string_view>{c.message});
    const bool moved = c.order != "ABCD";
    EXPECT_EQ(editor.isSaved(), !moved);
    if (!moved) continue;
    std::string rows;
    for (char name : c.order) rows += std::string(1, name) + " ";
    EXPECT_EQ(column(IDC_SAT_LIST), rows);
    EXPECT_EQ(combo(IDC_TP_SAT), c.order);
    EXPECT_EQ(combo(IDC_SVC_SAT), c.order);
    EXPECT_EQ(editor.database().svcTables[3][0].name, std::string(1, c.order[3]) + "0");
    // The moved satellite stays picked, and the information panel names it.
    const std::string picked(1, "ABCD"[c.picked]);
    EXPECT_EQ(ui.text(IDC_SEL_SAT), picked);
    EXPECT_TRUE(editor.view().rowPicked);
    EXPECT_EQ(
        column(IDC_SAT_LIST).substr(2 * static_cast<std::size_t>(editor.view().pickedSatRow), 1),
        picked);
  }
}

TEST_F(Ordering, MoveRefusesWithoutEntriesOrAPickedRowOfTheShownTable) {
  editor.onKeyDown(KEY_F5);
  load("AB");
  editor.onKeyDown(KEY_F5);  // nothing clicked
  click(IDC_SAT_LIST, 1);
  switchTo(TAB_TRANSPONDER);  // shows satellite B; no transponder clicked
  editor.onKeyDown(KEY_F5);
  click(IDC_TP_LIST, 2);
  editor.onCommand(IDC_REMOVE);  // the row now last is picked in its place
  editor.onKeyDown(KEY_F5);      // and Move asks where to
  ui.pickRows(IDC_TP_LIST, {0, 1});
  editor.onListClick(IDC_TP_LIST, ui.listSelectedRows(IDC_TP_LIST));
  editor.onCommand(IDC_REMOVE);  // and every other one
  editor.onKeyDown(KEY_F5);
  EXPECT_EQ(messages(), (std::vector<std::string_view>{text::NO_DATA, text::SELECT_A_LIST,
                                                       text::SELECT_A_LIST, text::NO_DATA}));
  EXPECT_EQ(prompts.modalDialogs.size(), 1u);
}

TEST_F(Ordering, MovingATransponderOrChannelTouchesOnlyItsOwnTable) {
  load("ABC", 5);
  const ChannelDb before = editor.database();
  click(IDC_SAT_LIST, 1);
  switchTo(TAB_TRANSPONDER);
  click(IDC_TP_LIST, 4);
  move(typed("2", IDC_MOVE_OK));
  EXPECT_EQ(column(IDC_TP_LIST, 2), "11000 11004 11001 11002 11003 ");
  EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), 5);
  switchTo(TAB_CHANNEL);
  click(IDC_SVC_LIST, 0);
  move(typed("3", IDC_MOVE_OK));
  EXPECT_EQ(column(IDC_SVC_LIST), "B1 B2 B0 B3 B4 ");
  for (int s : {0, 2}) {
    EXPECT_EQ(editor.database().tpTables[s], before.tpTables[s]);
    EXPECT_EQ(editor.database().svcTables[s], before.svcTables[s]);
  }
  EXPECT_EQ(editor.database().svcTables[1][2], before.svcTables[1][0]);
}

TEST_F(Ordering, DroppingADraggedRowPutsItBeforeTheRowUnderThePoint) {
  struct Case {
    int dragged;
    int pointerY;  // the drop point lies 10 pixels lower
    std::string order;
  };
  const Case cases[] = {
      {1, 3 * ROW - 4, "A C B D E "}, {1, -4, "B A C D E "},          {1, 5 * ROW, "A C D E B "},
      {1, 1 * ROW - 4, "A B C D E "}, {1, 2 * ROW - 4, "A B C D E "}, {0, -9, "A B C D E "},
      {4, 3 * ROW - 4, "A B C E D "}, {3, 40 * ROW, "A B C E D "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dragged) + " to y " + std::to_string(c.pointerY));
    editor.clearDatabase(false);
    load("ABCDE");
    ui.pickRows(IDC_SAT_LIST, {c.dragged});
    editor.onDragBegin(IDC_SAT_LIST, c.dragged);
    ASSERT_TRUE(ui.drag.has_value());
    const int before = ui.dropRowAt(IDC_SAT_LIST, c.pointerY);
    editor.onDragMove(IDC_SAT_LIST, before);
    ASSERT_EQ(ui.insertionLine, std::make_pair(IDC_SAT_LIST, before));
    editor.onDragRelease(IDC_SAT_LIST, before);
    EXPECT_FALSE(ui.drag.has_value());
    // The list and the database agree, the rows keep their numbers, the
    // dragged row stays picked in the list, and nothing else happens.
    EXPECT_EQ(column(IDC_SAT_LIST), c.order);
    EXPECT_EQ(column(IDC_SAT_LIST, 0), " 1  2  3  4  5 ");
    std::string names;
    for (int s = 0; s < 5; ++s) names += editor.database().sats[s].name + " ";
    EXPECT_EQ(names, c.order);
    const int at = static_cast<int>(c.order.find(char('A' + c.dragged))) / 2;
    EXPECT_EQ(ui.listSelectedRows(IDC_SAT_LIST), std::vector<int>{at});
    EXPECT_EQ(editor.isSaved(), c.order == "A B C D E ");
    EXPECT_FALSE(editor.view().rowPicked);
    EXPECT_TRUE(prompts.messages.empty());
  }
}

// Overshooting the list's edge is easy: a row let go on the panels, the
// tabs or anywhere else on the window stays, with the pick and the undo
// history as they were, and the pointer says so before the release.
TEST_F(Ordering, ARowLetGoOffItsListStaysAndThePointerSaidNoDrop) {
  load("ABCD");
  switchTo(TAB_CHANNEL);
  ui.pickRows(IDC_SVC_LIST, {0, 2});
  editor.onListClick(IDC_SVC_LIST, ui.listSelectedRows(IDC_SVC_LIST));
  for (const int over : {0, IDC_TAB}) {
    editor.onDragBegin(IDC_SVC_LIST, 2);
    editor.onDragMove(IDC_SVC_LIST, 1);
    EXPECT_FALSE(ui.noDropShown);
    editor.onDragMove(over, -1);
    EXPECT_TRUE(ui.noDropShown);
    editor.onDragRelease(over, -1);
    EXPECT_FALSE(ui.noDropShown);
    EXPECT_FALSE(ui.drag.has_value());
  }
  EXPECT_EQ(column(IDC_SVC_LIST), "A0 A1 A2 ");
  EXPECT_EQ(ui.listSelectedRows(IDC_SVC_LIST), (std::vector<int>{0, 2}));
  EXPECT_TRUE(editor.view().rowPicked);
  EXPECT_FALSE(editor.history().canUndo());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Ordering, KeysHoldBackWhileARowIsDraggedAndEscAbandonsIt) {
  load("ABCDEFGHIJKLMNOPQRST");
  editor.onDragBegin(IDC_SAT_LIST, 7);
  editor.onDragMove(IDC_SAT_LIST, 15);
  EXPECT_EQ(ui.insertionLine, std::make_pair(IDC_SAT_LIST, 15));
  editor.onDragMove(0, -1);  // off the list
  EXPECT_FALSE(ui.insertionLine.has_value());

  // Keys other than Esc do nothing while a row is dragged (F8 would
  // sort the rows under the drag); Esc abandons it.
  for (int key : {KEY_F2, KEY_F8, KEY_DELETE, KEY_RETURN}) editor.onKeyDown(key);
  EXPECT_EQ(editor.onKeyDown('Z', true), KeyAction::Clear);
  EXPECT_TRUE(ui.drag.has_value());
  EXPECT_EQ(editor.database().satCount, 20);
  EXPECT_EQ(column(IDC_SAT_LIST).substr(0, 4), "A B ");
  editor.onKeyDown(KEY_ESCAPE);
  EXPECT_FALSE(ui.drag.has_value());
  EXPECT_FALSE(editor.isDragging());
  editor.onDragRelease(IDC_SAT_LIST, 0);
  EXPECT_EQ(column(IDC_SAT_LIST).substr(0, 4), "A B ");
  EXPECT_TRUE(prompts.messages.empty());
}

// After a sort (or an undo) the pick is still the entry the user clicked:
// Change, Remove and the information panel act on it, on every tab.
TEST_F(Ordering, APickFollowsItsEntryThroughSortsAndUndo) {
  ChannelDb db;
  for (const char* name : {"C", "A", "B"}) db.appendSatellite(makeSat(name));
  TpTable& tps = db.tpTables[1];
  for (const char* f : {"12000", "11000", "11500"})
    tps.append(makeTp(f, f[2] == '5' ? "V" : "H", "27500"));
  for (const auto& [name, tp] : {std::pair{"Zed", 0}, {"Mid", 1}, {"Alpha", 2}})
    db.svcTables[1].append(makeSvc(name, tpKeyLong(tps[tp])));
  loadDb(db);

  click(IDC_SAT_LIST, 1);  // A
  editor.onKeyDown(KEY_F8);
  EXPECT_EQ(ui.listSelectedRows(IDC_SAT_LIST), std::vector<int>{0});
  EXPECT_EQ(ui.text(IDC_SEL_SAT), "A");
  ui.type(IDC_SAT_NAME, "Renamed");
  press(IDC_CHANGE);
  EXPECT_EQ(satOrder(), "RenamedBC");
  EXPECT_EQ(editor.database().tpTables[0].count(), 3);

  switchTo(TAB_TRANSPONDER);  // shows Renamed, the satellite last picked
  EXPECT_EQ(ui.text(IDC_SEL_SAT), "Renamed");
  click(IDC_TP_LIST, 0);  // 12000 H
  editor.onColumnClick(IDC_TP_LIST);
  EXPECT_EQ(column(IDC_TP_LIST, 2), "11500 11000 12000 ");
  ui.type(IDC_FREQUENCY, "12100");
  press(IDC_CHANGE);
  EXPECT_EQ(column(IDC_TP_LIST, 2), "11500 11000 12100 ");
  EXPECT_EQ(editor.database().svcTables[0][0].tpKey.substr(0, 6), "12100H");  // Zed follows it

  switchTo(TAB_CHANNEL);
  click(IDC_SVC_LIST, 0);  // Zed
  editor.onCommand(ID_EDIT_SORT);
  EXPECT_EQ(column(IDC_SVC_LIST), "Alpha Mid Zed ");
  ui.type(IDC_CH_NAME, "Zulu");
  press(IDC_CHANGE);
  EXPECT_EQ(column(IDC_SVC_LIST), "Alpha Mid Zulu ");
  click(IDC_SVC_LIST, 1);       // Mid
  editor.onKeyDown('Z', true);  // Zulu is Zed again; Mid stays picked
  EXPECT_EQ(column(IDC_SVC_LIST), "Alpha Mid Zed ");
  EXPECT_EQ(ui.listSelectedRows(IDC_SVC_LIST), std::vector<int>{1});
  ui.focus(IDC_SVC_LIST);
  editor.onKeyDown(KEY_DELETE);  // as Remove
  EXPECT_EQ(column(IDC_SVC_LIST), "Alpha Zed ");
  EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace velmora::editor
