// The main window driven as a user would: through the fake window, with the
// database filled through the core.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>

#include "editor/editor_dialog.h"
#include "editor/window_place.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/editor_load.h"
#include "support/fake_port.h"
#include "texts.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;

class EditorWindow : public ::testing::Test {
 protected:
  EditorWindow() : ui(editorDialog()), editor(ui, prompts, EditorEnv{"/opt/velmora", {}}) {
    editor.initDialog();
  }

  void switchTo(int tab) {
    ui.pickTab(tab - 1);
    editor.onTabChanged();
  }
  void click(int list, int row) {
    ui.pickRows(list, {row});
    editor.onListClick(list, ui.listSelectedRows(list));
  }
  // Three satellites; the second has transponders and channels.
  static ChannelDb sampleDb() {
    ChannelDb db = makeDb(3, 0, 0);
    SatRecord& s = db.sats[1];
    s.name = "Turksat 42E";
    s.lnbType = "OCS";
    s.diseqc = "D1.1";
    s.diseqcCommitted = "3";
    s.diseqcUncommitted = "12";
    s.tone22k = "On";
    s.switch12v = "On";
    s.lnbPower = "Off";
    s.sdxCode = "0420";
    db.tpTables[1].append(makeTp("12750", "V", "27500", "1", "2"));
    db.tpTables[1].append(makeTp("11034", "H", "30000"));
    db.svcTables[1].append(makeSvc("", "12750V27500", "0100", "0200", "", "0042", 5));
    db.svcTables[1].append(makeSvc("News", "11034H30000N0T0", "160", "80", "160", "7", 4));
    return db;
  }
  void loadSample() {
    load(editor, sampleDb());
    switchTo(TAB_SATELLITE);
  }
  std::vector<std::string> row(int list, int r) { return ui.rows(list).at(r); }
  std::vector<int> visibleEditFields() {
    std::vector<int> out;
    for (int id : ui.ids()) {
      const ControlDef* def = nullptr;
      for (const ControlDef& d : editorDialog().controls)
        if (d.id == id) def = &d;
      // Controls inside the edit group, above the buttons.
      if (def && def->x >= 301 && def->y > 140 && def->y < 279 && ui.isVisible(id))
        out.push_back(id);
    }
    return out;
  }

  FakeControls ui;
  FakePrompts prompts;
  EditorDialog editor;
};

TEST_F(EditorWindow, StartsOnTheSatelliteTabWithItsDefaults) {
  EXPECT_EQ(ui.at(IDC_TAB).tabs, (std::vector<std::string>{"Satellite", "Transponder", "Channel"}));
  EXPECT_TRUE(ui.isVisible(IDC_SAT_LIST));
  EXPECT_EQ(ui.focusedControl(), IDC_SAT_LIST);
  EXPECT_FALSE(ui.isVisible(IDC_TP_LIST));
  EXPECT_FALSE(ui.isVisible(IDC_SVC_LIST));
  ASSERT_EQ(ui.listColumnCount(IDC_SAT_LIST), 8);
  EXPECT_EQ(ui.listColumnHeader(IDC_SAT_LIST, 1), "SAT Name");
  EXPECT_EQ(ui.listColumnWidth(IDC_SAT_LIST, 1), 125);
  EXPECT_EQ(ui.listColumnHeader(IDC_SAT_LIST, 7), "LNBP");

  EXPECT_EQ(ui.comboItem(IDC_LNB_TYPE, ui.comboSelection(IDC_LNB_TYPE)), "Universal");
  EXPECT_EQ(ui.comboItem(IDC_TONE, ui.comboSelection(IDC_TONE)), "Auto");
  EXPECT_EQ(ui.comboItem(IDC_LNB_POWER, ui.comboSelection(IDC_LNB_POWER)), "On");
  EXPECT_EQ(ui.comboItem(IDC_SCRAMBLED, ui.comboSelection(IDC_SCRAMBLED)), "No");
  EXPECT_EQ(ui.comboCount(IDC_UNCOMMITTED), 17);
  EXPECT_FALSE(ui.isEnabled(IDC_TONE));
  EXPECT_FALSE(ui.isEnabled(IDC_COMMITTED));
  EXPECT_FALSE(ui.isEnabled(IDC_UNCOMMITTED));
  EXPECT_TRUE(ui.isEnabled(IDC_12V));

  EXPECT_EQ(ui.text(IDC_WEB_LINK), "Web Link!");
  EXPECT_TRUE(editor.skipsFeedTest());
  EXPECT_FALSE(ui.menuChecked(ID_OPTION_FEED_TEST));
  EXPECT_FALSE(ui.isVisible(IDC_HIDDEN_BUTTON1));
  EXPECT_EQ(editor.layout(), wdb::Layout::NotChosen);
}

TEST_F(EditorWindow, EachTabShowsExactlyItsFieldsAndNeverNidOrTid) {
  const std::vector<int> satellite = visibleEditFields();
  EXPECT_EQ(satellite.size(), 22u);
  switchTo(TAB_TRANSPONDER);
  EXPECT_EQ(visibleEditFields(),
            (std::vector<int>{IDC_LBL_SAT_NAME, IDC_TP_SAT, IDC_LBL_FREQUENCY, IDC_FREQUENCY,
                              IDC_LBL_POLARITY, IDC_POLARITY, IDC_LBL_SYMBOL_RATE, IDC_SYMBOL_RATE,
                              IDC_LBL_TP_SAT}));
  EXPECT_TRUE(ui.isVisible(IDC_TP_LIST));
  EXPECT_FALSE(ui.isVisible(IDC_SAT_LIST));
  switchTo(TAB_CHANNEL);
  EXPECT_EQ(visibleEditFields().size(), 14u);
  for (int id : {IDC_NID, IDC_TID, IDC_LBL_NID, IDC_LBL_TID}) EXPECT_FALSE(ui.isVisible(id));
  for (int id : {IDC_INFO_GROUP, IDC_ADD, IDC_CHANGE, IDC_REMOVE, IDC_WEB_LINK, IDC_FILE})
    EXPECT_TRUE(ui.isVisible(id));
  // Columns go in once, however often the tabs change.
  switchTo(TAB_TRANSPONDER);
  switchTo(TAB_CHANNEL);
  switchTo(TAB_SATELLITE);
  EXPECT_EQ(ui.listColumnCount(IDC_TP_LIST), 5);
  EXPECT_EQ(ui.listColumnCount(IDC_SVC_LIST), 10);
  EXPECT_EQ(ui.listColumnCount(IDC_SAT_LIST), 8);
  EXPECT_EQ(visibleEditFields(), satellite);
}

TEST_F(EditorWindow, ListsShowTheirRowsInTheReceiverFormats) {
  loadSample();
  ASSERT_EQ(ui.listRowCount(IDC_SAT_LIST), 3);
  EXPECT_EQ(row(IDC_SAT_LIST, 1), (std::vector<std::string>{" 2", "Turksat 42E", "0420", "OCS",
                                                            "D1.1", "On", "On", "Off"}));
  EXPECT_EQ(editor.view().listedSat, 3);

  click(IDC_SAT_LIST, 1);
  switchTo(TAB_TRANSPONDER);
  EXPECT_EQ(row(IDC_TP_LIST, 0),
            (std::vector<std::string>{"  1", "Turksat 42E", "12750", "V", "27500"}));
  EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), 2);
  EXPECT_EQ(ui.comboSelection(IDC_TP_SAT), 1);

  switchTo(TAB_CHANNEL);
  EXPECT_EQ(row(IDC_SVC_LIST, 0), (std::vector<std::string>{"  1", "....", "$", "100", "200", "0",
                                                            "42", "12750", "V", ""}));
  EXPECT_EQ(row(IDC_SVC_LIST, 1), (std::vector<std::string>{"  2", "News", " ", "160", "80", "160",
                                                            "7", "11034", "H", "30000"}));
  EXPECT_EQ(editor.database().svcTables[1][0].name, "....");  // as the loader stores it
}

TEST_F(EditorWindow, SwitchingTabsResetsTheirChoicesAndListsHaveTheirColumns) {
  loadSample();
  click(IDC_SAT_LIST, 1);  // fills the panel with Turksat's settings
  EXPECT_EQ(ui.comboSelection(IDC_DISEQC), 2);
  switchTo(TAB_TRANSPONDER);
  ui.pickComboItem(IDC_POLARITY, 1);
  editor.onComboChanged(IDC_POLARITY);
  switchTo(TAB_CHANNEL);
  switchTo(TAB_TRANSPONDER);
  EXPECT_EQ(ui.comboItem(IDC_POLARITY, ui.comboSelection(IDC_POLARITY)), "H");

  ui.type(IDC_SAT_NAME, "typed");
  ui.type(IDC_LONGITUDE, "0130");
  switchTo(TAB_SATELLITE);
  const std::pair<int, const char*> defaults[] = {
      {IDC_LNB_TYPE, "Universal"}, {IDC_DISEQC, "None"}, {IDC_LNB_POWER, "On"},
      {IDC_TONE, "Auto"},          {IDC_12V, "Off"},     {IDC_COMMITTED, "None"}};
  for (const auto& [combo, item] : defaults)
    EXPECT_EQ(ui.comboItem(combo, ui.comboSelection(combo)), item) << combo;
  for (int id : {IDC_TONE, IDC_COMMITTED, IDC_UNCOMMITTED}) EXPECT_FALSE(ui.isEnabled(id));
  EXPECT_EQ(ui.text(IDC_SAT_NAME), "");
  EXPECT_EQ(ui.text(IDC_LONGITUDE), "");

  const std::pair<int, std::vector<std::pair<std::string, int>>> columns[] = {
      {IDC_TP_LIST,
       {{"No.", 40},
        {"SAT Name", 110},
        {"Frequency", 80},
        {"Polarization", 70},
        {"Symbol Rate", 80}}},
      {IDC_SVC_LIST,
       {{"No.", 35},
        {"Ch Name", 105},
        {"$", 20},
        {"V-PID", 50},
        {"A-PID", 50},
        {"P-PID", 50},
        {"SID", 50},
        {"Freq", 60},
        {"Pol.", 29},
        {"SR", 60}}},
  };
  for (const auto& [list, expected] : columns) EXPECT_EQ(ui.at(list).list.columns, expected);
}

TEST_F(EditorWindow, ClickingRowsFillsThePanelsAndRightClickOffersTheEditMenu) {
  loadSample();
  click(IDC_SAT_LIST, 1);
  EXPECT_EQ(ui.text(IDC_SAT_NAME), "Turksat 42E");
  EXPECT_EQ(ui.comboSelection(IDC_LNB_TYPE), 1);
  EXPECT_TRUE(ui.isEnabled(IDC_TONE));  // not a universal LNB
  EXPECT_EQ(ui.comboSelection(IDC_TONE), 1);
  EXPECT_EQ(ui.comboSelection(IDC_DISEQC), 2);
  EXPECT_TRUE(ui.isEnabled(IDC_COMMITTED));
  EXPECT_TRUE(ui.isEnabled(IDC_UNCOMMITTED));
  EXPECT_EQ(ui.comboSelection(IDC_COMMITTED), 3);
  EXPECT_EQ(ui.comboSelection(IDC_UNCOMMITTED), 12);
  EXPECT_EQ(ui.comboSelection(IDC_LNB_POWER), 0);
  EXPECT_EQ(ui.text(IDC_LONGITUDE), "0420");
  EXPECT_EQ(ui.text(IDC_SEL_SAT), "Turksat 42E");
  EXPECT_EQ(ui.text(IDC_SEL_TP), "2");
  EXPECT_EQ(ui.text(IDC_TOTAL_CH), "2");
  EXPECT_EQ(editor.view().shownSat, 1);
  EXPECT_TRUE(editor.view().rowPicked);

  switchTo(TAB_TRANSPONDER);
  click(IDC_TP_LIST, 0);
  EXPECT_EQ(ui.text(IDC_FREQUENCY), "12750");
  EXPECT_EQ(ui.text(IDC_NID), "1");
  EXPECT_EQ(ui.comboSelection(IDC_POLARITY), 1);

  switchTo(TAB_CHANNEL);
  click(IDC_SVC_LIST, 0);
  EXPECT_EQ(ui.text(IDC_VIDEO_PID), "100");
  EXPECT_EQ(ui.text(IDC_SERVICE_ID), "42");
  EXPECT_EQ(ui.comboSelection(IDC_SCRAMBLED), 1);

  // A right click outside the rows still opens the menu; About is run.
  ui.pickRows(IDC_SVC_LIST, {});
  prompts.menuChoices = {ID_ABOUT};
  editor.onListRightClick(IDC_SVC_LIST);
  EXPECT_EQ(editor.view().pickedSvcRow, -1);
  EXPECT_EQ(prompts.modalDialogs, std::vector<int>{IDD_ABOUTBOX});
}

TEST_F(EditorWindow, ChoosingTheSatelliteInTheComboRefillsOnlyWhenItChanges) {
  loadSample();
  switchTo(TAB_TRANSPONDER);  // satellite 1 (index 0) has no transponders
  EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), 0);
  ui.pickComboItem(IDC_TP_SAT, 1);
  editor.onComboChanged(IDC_TP_SAT);
  EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), 2);
  EXPECT_EQ(ui.text(IDC_SEL_SAT), "Turksat 42E");
  const int refills = ui.listState(IDC_TP_LIST).resets;
  editor.onComboChanged(IDC_TP_SAT);
  EXPECT_EQ(ui.listState(IDC_TP_LIST).resets, refills);
  EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), 2);
}

TEST_F(EditorWindow, LnbTypeAndDiseqcChoicesEnableTheirFields) {
  ui.pickComboItem(IDC_LNB_TYPE, 2);
  editor.onComboChanged(IDC_LNB_TYPE);
  EXPECT_TRUE(ui.isEnabled(IDC_TONE));
  EXPECT_EQ(ui.comboSelection(IDC_TONE), 1);
  ui.pickComboItem(IDC_LNB_TYPE, 0);
  editor.onComboChanged(IDC_LNB_TYPE);
  EXPECT_FALSE(ui.isEnabled(IDC_TONE));
  EXPECT_EQ(ui.comboSelection(IDC_TONE), 2);

  const std::pair<int, std::pair<bool, bool>> cases[] = {{0, {false, false}},
                                                         {1, {true, false}},
                                                         {2, {true, true}},
                                                         {3, {true, false}},
                                                         {4, {true, false}}};
  for (const auto& [item, enabled] : cases) {
    ui.pickComboItem(IDC_DISEQC, item);
    editor.onComboChanged(IDC_DISEQC);
    EXPECT_EQ(ui.isEnabled(IDC_COMMITTED), enabled.first) << item;
    EXPECT_EQ(ui.isEnabled(IDC_UNCOMMITTED), enabled.second) << item;
  }
}

TEST_F(EditorWindow, KeysFollowTheWindowRules) {
  EXPECT_EQ(editor.onKeyDown(KEY_ESCAPE), KeyAction::Clear);
  ui.focus(IDC_CHANGE);
  EXPECT_EQ(editor.onKeyDown(KEY_RETURN), KeyAction::Clear);
  ui.focus(IDC_REMOVE);
  EXPECT_EQ(editor.onKeyDown(KEY_RETURN), KeyAction::Clear);
  ui.focus(IDC_FREQUENCY);
  EXPECT_EQ(editor.onKeyDown(KEY_RETURN), KeyAction::Consumed);
  ui.focus(IDC_ADD);
  EXPECT_EQ(editor.onKeyDown(KEY_RETURN), KeyAction::Consumed);
  EXPECT_EQ(editor.onKeyDown(KEY_F1), KeyAction::Pass);
  EXPECT_EQ(
      prompts.helpShown,
      std::vector<std::string>{(std::filesystem::path("/opt/velmora") / "Velmora.html").string()});
  EXPECT_EQ(editor.onKeyDown(KEY_F5), KeyAction::Consumed);
  for (int key : {KEY_F2, KEY_F3, KEY_F7, KEY_F8, KEY_F9})
    EXPECT_EQ(editor.onKeyDown(key), KeyAction::Clear);
  EXPECT_EQ(editor.onKeyDown('A'), KeyAction::Pass);
  EXPECT_FALSE(ui.endedWith);
  // Enter ran Change, Remove and twice Add on the empty Satellite tab; F5
  // found nothing to move, F7 nothing to save.
  std::vector<std::string> said;
  for (const auto& m : prompts.messages) said.push_back(m.text);
  EXPECT_EQ(said, (std::vector<std::string>{"Select a list,please!", "Select a list,please!",
                                            "No Name!", "No Name!", std::string(text::NO_DATA),
                                            std::string(text::NO_DATA)}));
  EXPECT_EQ(prompts.fileFilters, std::vector<std::string>{std::string(text::OPEN_FILTER)});
}

// Every menu item has a letter of its own in its menu, and no menu shares
// its letter with another menu or a button of the window.
TEST(EditorMenus, EveryItemHasAMnemonicOfItsOwn) {
  auto letter = [](std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] == '&' && text[i + 1] != '&') return static_cast<char>(std::toupper(text[i + 1]));
      if (text[i] == '&') ++i;
    }
    return '\0';
  };
  std::set<char> window;
  for (const ControlDef& c : editorDialog().controls)
    if (const char l = letter(c.text); l != 0) window.insert(l);
  for (const PopupDef& popup : mainMenu()) {
    EXPECT_TRUE(letter(popup.title) != 0 && window.insert(letter(popup.title)).second)
        << popup.title;
    std::set<char> items;
    for (const MenuItemDef& item : popup.items) {
      if (item.id == 0) continue;
      EXPECT_TRUE(letter(item.text) != 0 && items.insert(letter(item.text)).second) << item.text;
    }
  }
}

TEST_F(EditorWindow, ColumnClickMarksTheDatabaseModified) {
  loadSample();
  ASSERT_TRUE(editor.isSaved());
  editor.onColumnClick(IDC_SAT_LIST);
  EXPECT_FALSE(editor.isSaved());
}

TEST_F(EditorWindow, OptionWebLinksAndAboutBox) {
  editor.onCommand(ID_OPTION_FEED_TEST);
  EXPECT_TRUE(ui.menuChecked(ID_OPTION_FEED_TEST));
  EXPECT_FALSE(editor.skipsFeedTest());
  editor.onCommand(ID_OPTION_FEED_TEST);
  EXPECT_FALSE(ui.menuChecked(ID_OPTION_FEED_TEST));
  EXPECT_TRUE(editor.skipsFeedTest());

  for (int i = 0; i < 2; ++i) {
    ui.pickComboItem(IDC_WEB_LINK, 1);
    editor.onComboChanged(IDC_WEB_LINK);
    EXPECT_EQ(ui.text(IDC_WEB_LINK), "Web Link");
  }
  EXPECT_EQ(prompts.opened, (std::vector<std::string>(2, "https://www.lyngsat.com/")));

  editor.onCommand(ID_ABOUT);
  editor.onCommand(IDM_ABOUTBOX);
  EXPECT_EQ(prompts.modalDialogs, (std::vector<int>{IDD_ABOUTBOX, IDD_ABOUTBOX}));
  EXPECT_EQ(editor.toolbarTip(ID_TB_MAKE), "Make [wdb] file to update the new to STB");
}

TEST_F(EditorWindow, ClosingAsksOnlyForUnsavedSatellites) {
  editor.onCloseRequest();  // empty database: no question
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(ui.endedWith, ID_OK);

  ui.endedWith.reset();
  loadSample();
  editor.onCloseRequest();  // as loaded: no question
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(ui.endedWith, ID_OK);

  ui.endedWith.reset();
  loadUnsaved(editor, ui, sampleDb());
  prompts.answers = {Answer::No};
  editor.onCloseRequest();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, text::SAVE_BEFORE_CLOSING);
  EXPECT_EQ(prompts.messages[0].caption, "Before Opening File");
  EXPECT_EQ(ui.endedWith, ID_OK);
  EXPECT_EQ(editor.database().satCount, 0);
}

}  // namespace velmora::editor

namespace velmora::editor {

// A place kept at closing comes back at the next start only where a screen
// attached then shows it whole.
TEST(WindowPlaceKept, ComesBackOnlyOnAScreenThatShowsIt) {
  const ScreenArea left{0, 0, 1920, 1040}, right{1920, 0, 1280, 984};
  struct Case {
    std::string kept;
    std::vector<ScreenArea> screens;
    std::optional<WindowPlace> opened;
  };
  const Case cases[] = {
      {"100 80 1200 820", {left}, WindowPlace{100, 80, 1200, 820, false}},
      {"2000 50 900 600 max", {left, right}, WindowPlace{2000, 50, 900, 600, true}},
      // The right-hand screen is gone, or it has shrunk under the window.
      {"2000 50 900 600 max", {left}, std::nullopt},
      {"2000 50 1200 1000", {left, right}, std::nullopt},
      // Snapped to an edge: the frame reaches a few pixels past it.
      {"-7 0 974 1047", {left}, WindowPlace{-7, 0, 974, 1047, false}},
      // Across two screens, shown whole by neither.
      {"1500 50 900 600", {left, right}, std::nullopt},
      {"", {left}, std::nullopt},
      {"100 80 0 820", {left}, std::nullopt},
      {"100 80 1200", {left}, std::nullopt},
      {"100 80 1200 820 min", {left}, std::nullopt},
      {"2147483647 0 2147483647 10", {left}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kept);
    test::FakeControls ui(res::editorDialog());
    test::FakePrompts prompts;
    ui.screens = c.screens;
    prompts.settings[std::string(WINDOW_PLACE_KEY)] = c.kept;
    EditorDialog editor(ui, prompts, EditorEnv{"/opt/velmora", {}});
    editor.initDialog();
    if (c.opened) {
      EXPECT_EQ(ui.windowAt, *c.opened);
    } else {
      EXPECT_EQ(ui.windowAt.width, 0) << "the window opens where the toolkit centres it";
    }
    // Closing keeps the place it has then; the next start reads it back.
    ui.windowAt = {30, 40, 800, 600, true};
    editor.onCloseRequest();
    EXPECT_EQ(parseWindowPlace(prompts.settings[std::string(WINDOW_PLACE_KEY)]), ui.windowAt);
  }
}

}  // namespace velmora::editor
