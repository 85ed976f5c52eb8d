// Adding, changing and removing channels, removing satellites, and what a
// refused or picked edit leaves in the window.
#include <gtest/gtest.h>

#include "edit_panel_fixture.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;

TEST_F(EditPanelCommands, ChannelsAreAddedThroughTheDialogOnTheChosenTransponder) {
  load(makeDb(1, 3, 0));
  switchTo(TAB_CHANNEL);
  addSvc(svcFields("News", "160", "80", "160", "7"), 1, 1);
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(prompts.modalDialogs, std::vector<int>{IDD_ADD_CHANNEL});
  SvcRecord expected = makeSvc("News", "10710V22000N0T1", "160", "80", "160", "7", 5);
  EXPECT_EQ(editor.database().svcTables[0][0], expected);
  EXPECT_EQ(row(IDC_SVC_LIST, 0), (std::vector<std::string>{"  1", "News", "$", "160", "80", "160",
                                                            "7", "10710", "V", "22000"}));
  EXPECT_EQ(ui.comboSelection(IDC_SCRAMBLED), 1);
  EXPECT_EQ(ui.text(IDC_CH_NAME), "");

  // Cut to five characters; no real video PID makes a radio service.
  addSvc(svcFields("Radio", "123456", "100", "0", "65535"), 0);
  addSvc(svcFields("Radio 2", "65535", "100", "0", "1"), 0);
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().svcTables[0][1].videoPid, "12345");
  EXPECT_EQ(editor.database().svcTables[0][1].serviceType, 4);
  EXPECT_EQ(editor.database().svcTables[0][2].serviceType, 8);

  prompts.dialogScripts.push_back([](FakePrompts::DialogSession& d) { d.send(ID_CANCEL); });
  enter(svcFields("Gone", "1", "2", "3", "4"));
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().svcTables[0].count(), 3);
  EXPECT_EQ(ui.text(IDC_CH_NAME), "");
}

TEST_F(EditPanelCommands, RefusedChannelsReportEachCheckAndStoreNothing) {
  load(makeDb(1, 3, 0));
  switchTo(TAB_CHANNEL);
  addSvc(svcFields("News", "160", "80", "160", "7"), 0);
  addSvc(svcFields("Empty", "160", "80", "160", ""), 0);
  EXPECT_EQ(said(), std::vector<std::string>{"Invalid data!"});
  addSvc(svcFields("News", "160", "80", "160", "7"), 2);
  EXPECT_EQ(said(), std::vector<std::string>{"It already exists!"});
  addSvc(svcFields("Bad", "-1", "65536", "99999", "70000"), 0);
  EXPECT_EQ(said(), (std::vector<std::string>{"Invalid V-PID!", "Invalid A-PID!", "Invalid P-PID!",
                                              "Invalid S-ID!"}));
  EXPECT_EQ(editor.database().svcTables[0].count(), 1);
  EXPECT_EQ(ui.listRowCount(IDC_SVC_LIST), 1);
}

TEST_F(EditPanelCommands, ChannelLimitsAreCheckedBeforeTheDialogOpens) {
  load(fullDb());
  switchTo(TAB_CHANNEL);
  addSvc(svcFields("One more", "1", "2", "3", "4"), 0);
  EXPECT_EQ(said(),
            std::vector<std::string>{"The STB is available Max 6000 in SVC(Service Channel)."});

  load(makeDb(1, 0, 0));
  switchTo(TAB_CHANNEL);
  addSvc(svcFields("One more", "1", "2", "3", "4"), 0);
  EXPECT_EQ(said(), std::vector<std::string>{std::string(text::NO_SAT_OR_TP)});

  load(makeDb(1, 1, TABLE_ROWS));  // one satellite's table is full
  switchTo(TAB_CHANNEL);
  addSvc(svcFields("One more", "1", "2", "3", "4"), 0);
  EXPECT_EQ(said(), std::vector<std::string>{std::string(text::MAX_ROWS_PER_SAT)});
  EXPECT_TRUE(prompts.modalDialogs.empty());
  EXPECT_EQ(editor.database().svcTables[0].count(), TABLE_ROWS);
}

TEST_F(EditPanelCommands, ChangingAndRemovingChannels) {
  load(makeDb(1, 2, 6));
  switchTo(TAB_CHANNEL);
  click(IDC_SVC_LIST, {1});
  ui.type(IDC_CH_NAME, "Renamed");
  ui.type(IDC_VIDEO_PID, "70000");
  press(IDC_CHANGE);
  EXPECT_EQ(said(), std::vector<std::string>{"Invalid V-PID!"});
  EXPECT_EQ(editor.database().svcTables[0][1].name, "Channel 2");

  click(IDC_SVC_LIST, {1});
  ui.type(IDC_CH_NAME, "Renamed");
  choose(IDC_SCRAMBLED, 1);
  press(IDC_CHANGE);
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().svcTables[0][1],
            makeSvc("Renamed", "10710V22000N0T1", "101", "201", "101", "1001", 5));
  EXPECT_EQ(row(IDC_SVC_LIST, 1)[1], "Renamed");

  click(IDC_SVC_LIST, {0});
  for (const auto& [id, text] : svcFields("Channel 3", "102", "202", "102", "1002"))
    ui.type(id, text);
  press(IDC_CHANGE);
  EXPECT_EQ(said(), std::vector<std::string>{"It already exists!"});

  click(IDC_SVC_LIST, {1, 3, 5});
  press(IDC_REMOVE);
  ASSERT_EQ(editor.database().svcTables[0].count(), 3);
  EXPECT_EQ(editor.database().svcTables[0][2].name, "Channel 5");
  EXPECT_EQ(row(IDC_SVC_LIST, 2)[0], "  3");
  EXPECT_EQ(ui.text(IDC_TOTAL_CH), "3");
}

TEST_F(EditPanelCommands, RemovingSatellitesClosesUpAndTheLastOneClearsTheDatabase) {
  load(makeDb(4, 1, 1));
  click(IDC_SAT_LIST, {1, 2});
  press(IDC_REMOVE);
  EXPECT_EQ(satNames(), (std::vector<std::string>{"Sat 1", "Sat 4"}));
  EXPECT_EQ(editor.database().tpTables[1][0].nid, "3");  // Sat 4's tables came along
  EXPECT_EQ(row(IDC_SAT_LIST, 1)[0], " 2");
  expectCombosHoldTheNames();
  EXPECT_EQ(editor.view().listedSat, 2);

  // Removing the chosen satellite leaves the Transponder tab a satellite
  // that exists.
  click(IDC_SAT_LIST, {1});
  press(IDC_REMOVE);
  switchTo(TAB_TRANSPONDER);
  addTp("12000", "27500");
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().tpTables[0].count(), 2);
  EXPECT_EQ(ui.text(IDC_TOTAL_TP), "2");

  switchTo(TAB_SATELLITE);
  click(IDC_SAT_LIST, {0});
  press(IDC_REMOVE);
  EXPECT_EQ(editor.database().satCount, 0);
  EXPECT_FALSE(editor.isSaved());  // not what was loaded; undo brings it back
  EXPECT_EQ(ui.comboCount(IDC_TP_SAT), 0);
  EXPECT_EQ(ui.comboCount(IDC_SVC_SAT), 0);
  EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 0);
  EXPECT_EQ(ui.text(IDC_TOTAL_TP), ".");
  EXPECT_TRUE(said().empty());
}

// Change refuses what Add refuses on the same tab, with the same messages,
// whatever the panel holds: an emptied panel never overwrites a row.
TEST_F(EditPanelCommands, ChangeRefusesWhatAddRefusesAndChangesNothing) {
  struct Case {
    int tab;
    int list;
    Fields typed;
    std::vector<std::string> messages;
  };
  const std::string sdx(text::SDX_CODE_INVALID);
  const Case cases[] = {
      {TAB_SATELLITE, IDC_SAT_LIST, {{IDC_SAT_NAME, ""}, {IDC_LONGITUDE, ""}}, {"No Name!"}},
      {TAB_SATELLITE, IDC_SAT_LIST, {{IDC_SAT_NAME, ""}, {IDC_LONGITUDE, "0130"}}, {"No Name!"}},
      {TAB_SATELLITE, IDC_SAT_LIST, {{IDC_SAT_NAME, "X"}, {IDC_LONGITUDE, "abcd"}}, {sdx}},
      {TAB_SATELLITE, IDC_SAT_LIST, {{IDC_SAT_NAME, "X"}, {IDC_LONGITUDE, "12ab"}}, {sdx}},
      {TAB_TRANSPONDER,
       IDC_TP_LIST,
       {{IDC_FREQUENCY, ""}, {IDC_SYMBOL_RATE, ""}},
       {"Invalid Frequency!", "Invalid Symbol Rate!"}},
      {TAB_CHANNEL, IDC_SVC_LIST, svcFields("", "", "", "", ""), {"Invalid data!"}},
      {TAB_CHANNEL, IDC_SVC_LIST, svcFields("News", "100", "", "100", "7"), {"Invalid data!"}},
  };
  for (const Case& c : cases) {
    load(makeDb(2, 2, 2));
    const ChannelDb before = editor.database();
    switchTo(c.tab);
    click(c.list, {1});
    for (const auto& [id, text] : c.typed) ui.type(id, text);
    press(IDC_CHANGE);
    EXPECT_EQ(said(), c.messages) << c.tab << " " << c.typed.front().second;
    EXPECT_EQ(editor.database().sats, before.sats);
    EXPECT_EQ(editor.database().tpTables, before.tpTables);
    EXPECT_EQ(editor.database().svcTables, before.svcTables);
    EXPECT_TRUE(editor.isSaved());
  }
}

// A row picked in one satellite's list is not a row of another satellite:
// choosing another satellite in the tab's box, or coming back to the tab
// after picking a satellite, forgets the pick.
TEST_F(EditPanelCommands, APickDoesNotCarryOverToAnotherSatellitesList) {
  for (const auto& [tab, list, combo] : {std::tuple{TAB_TRANSPONDER, IDC_TP_LIST, IDC_TP_SAT},
                                         std::tuple{TAB_CHANNEL, IDC_SVC_LIST, IDC_SVC_SAT}}) {
    load(makeDb(2, 2, 2));
    const ChannelDb before = editor.database();
    switchTo(tab);
    click(list, {1});
    choose(combo, 1);
    for (int button : {IDC_CHANGE, IDC_REMOVE}) {
      press(button);
      EXPECT_EQ(said(), std::vector<std::string>{"Select a list,please!"}) << tab << button;
    }
    click(list, {0});
    switchTo(TAB_SATELLITE);
    click(IDC_SAT_LIST, {0});
    switchTo(tab);
    press(IDC_CHANGE);
    EXPECT_EQ(said(), std::vector<std::string>{"Select a list,please!"}) << tab;
    EXPECT_EQ(editor.database().tpTables, before.tpTables);
    EXPECT_EQ(editor.database().svcTables, before.svcTables);
  }
}

// The database is unsaved exactly when it differs from the file.
TEST_F(EditPanelCommands, ARefusedEditIsNoChange) {
  const std::function<void()> refused[] = {
      [&] { addSat("", "0130"); },
      [&] { press(IDC_CHANGE); },
      [&] { press(IDC_REMOVE); },
      [&] {
        switchTo(TAB_TRANSPONDER);
        addTp("1", "1");
      },
      [&] {
        switchTo(TAB_CHANNEL);
        press(IDC_REMOVE);
      },
  };
  for (const auto& edit : refused) {
    load(makeDb(1, 1, 1));
    edit();
    EXPECT_FALSE(said().empty());
    EXPECT_TRUE(editor.isSaved());
    EXPECT_EQ(editor.database().sats[0].name, "Sat 1");
  }
}

TEST_F(EditPanelCommands, NewRowsAreScrolledIntoView) {
  load(makeDb(30, 1, 1));
  addSat("Astra", "0192");
  EXPECT_EQ(ui.at(IDC_SAT_LIST).list.ensuredVisible, 30);
  // The Satellite tab scrolls to just past the chosen satellite.
  click(IDC_SAT_LIST, {20});
  switchTo(TAB_TRANSPONDER);
  switchTo(TAB_SATELLITE);
  EXPECT_EQ(ui.at(IDC_SAT_LIST).list.ensuredVisible, 21);

  switchTo(TAB_TRANSPONDER);
  addTp("12000", "27500");
  EXPECT_EQ(ui.at(IDC_TP_LIST).list.ensuredVisible, 1);
  switchTo(TAB_CHANNEL);
  addSvc(svcFields("News", "100", "101", "100", "7"), 0);
  EXPECT_EQ(ui.at(IDC_SVC_LIST).list.ensuredVisible, 1);
}

// Deep in a long list, scrolled anywhere meanwhile, the keyboard stays on
// the row the user works on: the next one after Delete (the last at the
// end), the changed one after Change; picked, current and in view.
TEST_F(EditPanelCommands, TheKeyboardStaysOnTheRowTheUserWorksOn) {
  load(makeDb(1, 1, 400));
  switchTo(TAB_CHANNEL);
  FakeControls::List& l = ui.listState(IDC_SVC_LIST);
  struct Case {
    std::vector<int> picked;
    int key;  // Delete on the list, or Enter on the Change button
    int then;
  };
  for (const auto& [picked, key, then] :
       {Case{{384}, KEY_DELETE, 384}, Case{{397, 398}, KEY_DELETE, 396},
        Case{{5}, KEY_RETURN, 5}}) {
    l.top = picked.front() - 4;
    click(IDC_SVC_LIST, picked);
    l.top = 200;
    ui.type(IDC_CH_NAME, "Renamed");
    ui.focus(key == KEY_DELETE ? IDC_SVC_LIST : IDC_CHANGE);
    editor.onKeyDown(key);
    EXPECT_EQ(l.current, then);
    EXPECT_EQ(ui.listSelectedRows(IDC_SVC_LIST), std::vector<int>{then});
    EXPECT_TRUE(l.top <= then && then < l.top + l.page) << "rows from " << l.top << " in view";
    EXPECT_EQ(ui.text(IDC_CH_NAME), editor.database().svcTables[0][then].name);
  }
}

TEST_F(EditPanelCommands, RemovingASatelliteRefreshesTheInformationPanel) {
  load(makeDb(3, 2, 3));
  click(IDC_SAT_LIST, {2});
  press(IDC_REMOVE);
  EXPECT_EQ(ui.text(IDC_TOTAL_TP), "4");
  EXPECT_EQ(ui.text(IDC_TOTAL_CH), "6");
  EXPECT_EQ(ui.text(IDC_SEL_SAT), "Sat 2");
  EXPECT_EQ(ui.text(IDC_SEL_TP), "2");
  EXPECT_EQ(ui.text(IDC_SEL_CH), "3");
}

}  // namespace velmora::editor
