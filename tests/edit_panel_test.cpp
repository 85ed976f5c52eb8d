// Add, Change and Remove on the three tabs, typed in through the fake
// window; larger databases are built through the core.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/fake_port.h"
#include "texts.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;
using Fields = std::vector<std::pair<int, std::string>>;

class EditPanelCommands : public ::testing::Test {
 protected:
  EditPanelCommands() : ui(editorDialog()), editor(ui, prompts, EditorEnv{"/opt/velmora", {}}) {
    editor.initDialog();
  }

  // A database as it stands after loading it.
  void load(ChannelDb db) {
    switchTo(TAB_SATELLITE);
    wdb::ReadResult loaded;
    loaded.db = std::move(db);
    loaded.layout = wdb::Layout::TypeI;
    editor.finishLoading(std::move(loaded));
  }
  void switchTo(int tab) {
    ui.pickTab(tab - 1);
    editor.onTabChanged();
  }
  void click(int list, std::vector<int> rows) {
    ui.pickRows(list, std::move(rows));
    editor.onListClick(list, ui.listSelectedRows(list));
  }
  void choose(int combo, int item) {
    ui.pickComboItem(combo, item);
    editor.onComboChanged(combo);
  }
  // Types into the fields, then presses Enter in the last one (Add).
  void enter(const Fields& fields) {
    for (const auto& [id, text] : fields) ui.type(id, text);
    ui.focus(fields.back().first);
    editor.onKeyDown(KEY_RETURN);
  }
  void press(int button) {
    ui.focus(button);
    editor.onKeyDown(KEY_RETURN);
  }
  void addSat(const std::string& name, const std::string& longitude) {
    enter({{IDC_SAT_NAME, name},
           {IDC_LNB_FREQ1, "9750"},
           {IDC_LNB_FREQ2, "10600"},
           {IDC_LONGITUDE, longitude}});
  }
  void addTp(const std::string& freq, const std::string& rate) {
    enter({{IDC_FREQUENCY, freq}, {IDC_SYMBOL_RATE, rate}});
  }
  // Add on the Channel tab; the dialog picks `tpRow` and the scrambled
  // choice, then OK.
  void addSvc(const Fields& fields, int tpRow, int scrambled = 0) {
    prompts.dialogScripts.push_back([=](FakePrompts::DialogSession& d) {
      d.ui.pickRows(IDC_ACH_TP_LIST, {tpRow});
      d.send(IDC_ACH_TP_LIST);
      d.ui.pickComboItem(IDC_ACH_SCRAMBLED, scrambled);
      d.send(IDC_ACH_SCRAMBLED);
      d.send(ID_OK);
    });
    enter(fields);
  }
  static Fields svcFields(std::string name, std::string v, std::string a, std::string p,
                          std::string sid) {
    return {{IDC_CH_NAME, name},
            {IDC_VIDEO_PID, v},
            {IDC_AUDIO_PID, a},
            {IDC_PCR_PID, p},
            {IDC_SERVICE_ID, sid}};
  }
  // The messages shown since the last call.
  std::vector<std::string> said() {
    std::vector<std::string> out;
    for (const auto& m : prompts.messages) out.emplace_back(m.text);
    prompts.messages.clear();
    return out;
  }
  std::vector<std::string> satNames() const {
    std::vector<std::string> out;
    for (int s = 0; s < editor.database().satCount; ++s)
      out.push_back(editor.database().sats[static_cast<std::size_t>(s)].name);
    return out;
  }
  void expectCombosHoldTheNames() {
    EXPECT_EQ(ui.at(IDC_TP_SAT).combo.items, satNames());
    EXPECT_EQ(ui.at(IDC_SVC_SAT).combo.items, satNames());
  }
  std::vector<std::string> row(int list, int r) const { return ui.rows(list).at(r); }
  std::string key(int sat, int svc) const { return editor.database().svcTables[sat][svc].tpKey; }

  FakeControls ui;
  FakePrompts prompts;
  EditorDialog editor;
};

TEST_F(EditPanelCommands, NewSatellitesTakeTheirPositionInTheName) {
  const std::pair<const char*, const char*> typed[] = {{"Hotbird", "0130"},
                                                       {"ABCDEFGHIJKLMNOP", "0192"},
                                                       {"Galaxy", "3300"},
                                                       {"Mid", "1800"},
                                                       {"Nss", "1801"}};
  for (const auto& [name, longitude] : typed) addSat(name, longitude);
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(satNames(), (std::vector<std::string>{"Hotbird-13E", "ABCDEFGHIJ-19.2E", "Galaxy-30W",
                                                  "Mid-180E", "Nss-179.9W"}));
  expectCombosHoldTheNames();
  EXPECT_EQ(row(IDC_SAT_LIST, 1),
            (std::vector<std::string>{" 2", "ABCDEFGHIJ-19.2E", "0192", "Universal", "None", "Auto",
                                      "Off", "On"}));
  EXPECT_EQ(editor.view().listedSat, 5);
  EXPECT_FALSE(editor.isSaved());
  EXPECT_EQ(ui.text(IDC_SEL_SAT), "Nss-179.9W");
  EXPECT_EQ(ui.text(IDC_SAT_NAME), "");  // the panel is emptied
  EXPECT_EQ(ui.text(IDC_LONGITUDE), "");
}

TEST_F(EditPanelCommands, NewSatelliteSettingsComeFromTheBoxesAndTheTypeFromTheFrequencies) {
  choose(IDC_LNB_TYPE, 2);  // Single: the tone becomes On
  choose(IDC_DISEQC, 2);
  choose(IDC_COMMITTED, 3);
  choose(IDC_UNCOMMITTED, 12);
  choose(IDC_12V, 1);
  choose(IDC_LNB_POWER, 0);
  enter({{IDC_SAT_NAME, "Turksat"},
         {IDC_LNB_FREQ1, "5150"},
         {IDC_LNB_FREQ2, "5750"},
         {IDC_LONGITUDE, "0420"}});
  SatRecord expected{"Turksat-42E", "OCS", "5150", "5750", "D1.1", "On",
                     "On",          "Off", "0420", "3",    "12"};
  EXPECT_EQ(editor.database().sats[0], expected);
}

TEST_F(EditPanelCommands, RefusedSatellitesLeaveEverythingAsItWas) {
  addSat("", "0130");
  EXPECT_EQ(said(), std::vector<std::string>{"No Name!"});
  addSat("ABCDEFGHIJKLMNOPQRST", "3600");
  EXPECT_EQ(said(), std::vector<std::string>{std::string(text::SDX_CODE_INVALID)});
  // The cut is announced as the name will be stored, with its suffix.
  addSat("ABCDEFGHIJKLMNOPQRST", "0192");
  EXPECT_EQ(said(), std::vector<std::string>{
                        "Max 16 characters!\n( ABCDEFGHIJKLMNOPQRST --> ABCDEFGHIJ-19.2E )"});
  editor.onCommand(ID_EDIT_UNDO);
  // Letters in an LNB frequency are refused, not read as 0.
  enter({{IDC_SAT_NAME, "Hotbird"}, {IDC_LNB_FREQ1, "975O"}, {IDC_LONGITUDE, "0130"}});
  EXPECT_EQ(said(), std::vector<std::string>{"LNB FREQ : Invalid!"});
  for (const char* longitude : {"123", "01300", "-012", "abcd", "12ab", " 130", "+130"}) {
    addSat("Hotbird", longitude);
    EXPECT_EQ(said(), std::vector<std::string>{std::string(text::SDX_CODE_INVALID)}) << longitude;
  }
  EXPECT_EQ(editor.database().satCount, 0);
  EXPECT_EQ(ui.comboCount(IDC_TP_SAT), 0);
  EXPECT_EQ(ui.comboCount(IDC_SVC_SAT), 0);
  EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 0);
  EXPECT_EQ(ui.text(IDC_SAT_NAME), "");
}

TEST_F(EditPanelCommands, ASatelliteOfTheSameNameIsReplacedOnlyWhenTheUserSaysYes) {
  ChannelDb db = makeDb(2, 2, 2);
  db.sats[0].name = "Sat 1-13E";
  load(db);
  const ChannelDb before = editor.database();
  // The name as it will be stored, suffix and all, meets the existing one.
  addSat("Sat 1", "0130");  // the script answers No
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text,
            "Sat 1-13E already exists. \n\nReplace existing satellite?   ");
  EXPECT_EQ(prompts.messages[0].caption, "Satellite OverWrite Message.    ");
  // Yes would empty the satellite: Enter answers No.
  EXPECT_EQ(prompts.messages[0].buttons, Buttons::YesNoDefaultNo);
  said();
  EXPECT_EQ(editor.database().sats, before.sats);
  EXPECT_EQ(editor.database().tpTables, before.tpTables);

  // A clicked satellite and Enter twice: Add with its own values asks, and
  // the second Enter (No) changes nothing; its name gets no second suffix.
  click(IDC_SAT_LIST, {0});
  editor.onKeyDown(KEY_RETURN);
  ASSERT_EQ(said().size(), 1u);
  EXPECT_EQ(editor.database().sats, before.sats);
  EXPECT_EQ(editor.database().tpTables, before.tpTables);
  EXPECT_EQ(editor.database().svcTables, before.svcTables);

  prompts.answers = {Answer::Yes};
  addSat("Sat 1-13E", "0130");
  said();
  EXPECT_EQ(satNames(), (std::vector<std::string>{"Sat 1-13E", "Sat 2"}));
  EXPECT_TRUE(editor.database().tpTables[0].empty());
  EXPECT_TRUE(editor.database().svcTables[0].empty());
  EXPECT_EQ(editor.database().tpTables[1], before.tpTables[1]);
  EXPECT_EQ(row(IDC_SAT_LIST, 0)[1], "Sat 1-13E");
  EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 2);
  expectCombosHoldTheNames();
}

TEST_F(EditPanelCommands, TheSixtyFourthSatelliteIsTheLast) {
  load(makeDb(63, 0, 0));
  addSat("Last", "0100");
  EXPECT_TRUE(said().empty());
  addSat("Over", "0100");
  EXPECT_EQ(said(), std::vector<std::string>{"The STB is available Max 50 in Satellites."});
  EXPECT_EQ(editor.database().satCount, 64);
  EXPECT_EQ(satNames().back(), "Last-10E");
  expectCombosHoldTheNames();
}

TEST_F(EditPanelCommands, ChangingASatelliteChecksNameAndPositionAndKeepsItsTables) {
  load(makeDb(3, 1, 1));
  press(IDC_CHANGE);
  EXPECT_EQ(said(), std::vector<std::string>{"Select a list,please!"});

  click(IDC_SAT_LIST, {1});
  ui.type(IDC_LONGITUDE, "3650");  // not a position: nothing changes
  press(IDC_CHANGE);
  EXPECT_EQ(said(), std::vector<std::string>{std::string(text::SDX_CODE_INVALID)});
  press(IDC_CHANGE);  // the pick is used up
  EXPECT_EQ(said(), std::vector<std::string>{"Select a list,please!"});

  click(IDC_SAT_LIST, {1});
  ui.type(IDC_SAT_NAME, "Sat 3");
  press(IDC_CHANGE);
  EXPECT_EQ(said(), std::vector<std::string>{"Sat 3  already exists."});
  EXPECT_EQ(satNames(), (std::vector<std::string>{"Sat 1", "Sat 2", "Sat 3"}));
  EXPECT_EQ(row(IDC_SAT_LIST, 1)[1], "Sat 2");

  click(IDC_SAT_LIST, {1});
  ui.type(IDC_SAT_NAME, "Turksat 42E extra");
  ui.type(IDC_LNB_FREQ1, "5150");
  ui.type(IDC_LONGITUDE, "0420");
  press(IDC_CHANGE);
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().sats[1].name, "Turksat 42E extr");
  EXPECT_EQ(editor.database().sats[1].lnbType, "OCS");
  EXPECT_EQ(editor.database().sats[1].sdxCode, "0420");
  EXPECT_EQ(editor.database().tpTables[1].count(), 1);
  EXPECT_EQ(row(IDC_SAT_LIST, 1)[1], "Turksat 42E extr");
  EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 3);
  expectCombosHoldTheNames();
}

TEST_F(EditPanelCommands, TranspondersAreCheckedInOrderAndDuplicatesRefusedPerSatellite) {
  switchTo(TAB_TRANSPONDER);
  addTp("12750", "27500");
  EXPECT_EQ(said(), std::vector<std::string>{"There is no satellite!."});

  load(makeDb(2, 0, 0));
  switchTo(TAB_TRANSPONDER);
  addTp("3399", "45001");
  EXPECT_EQ(said(), (std::vector<std::string>{"Invalid Frequency!", "Invalid Symbol Rate!"}));
  addTp("012750", "999");
  EXPECT_EQ(said(), (std::vector<std::string>{"Invalid Frequency!", "Invalid Symbol Rate!"}));
  ui.type(IDC_NID, "70000");
  addTp("12750", "27500");
  EXPECT_EQ(said(), std::vector<std::string>{"Invalid!"});
  EXPECT_TRUE(editor.database().tpTables[0].empty());

  addTp("12750", "45000");
  choose(IDC_POLARITY, 1);
  addTp("03400", "1000");
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().tpTables[0][0], makeTp("12750", "H", "45000", "0", "0"));
  EXPECT_EQ(editor.database().tpTables[0][1], makeTp("3400", "V", "1000", "0", "0"));
  EXPECT_EQ(row(IDC_TP_LIST, 1), (std::vector<std::string>{"  2", "Sat 1", "3400", "V", "1000"}));
  EXPECT_EQ(ui.text(IDC_TOTAL_TP), "2");

  ui.type(IDC_NID, "5");  // another NID does not make another transponder
  addTp("3400", "1000");
  EXPECT_EQ(said(), std::vector<std::string>{"It already exists."});
  EXPECT_EQ(editor.database().tpTables[0].count(), 2);

  choose(IDC_TP_SAT, 1);
  addTp("3400", "1000");
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().tpTables[1].count(), 1);
}

TEST_F(EditPanelCommands, TheDatabaseHoldsSixteenHundredTransponders) {
  ChannelDb db = fullDb();
  db.tpTables[5].erase(0);
  load(std::move(db));
  switchTo(TAB_TRANSPONDER);
  addTp("12000", "27500");
  EXPECT_TRUE(said().empty());
  addTp("12010", "27500");
  EXPECT_EQ(said(), std::vector<std::string>{"The STB is available Max 1600 in Transponders."});
  EXPECT_EQ(editor.database().countTransponders(), 1600);
}

TEST_F(EditPanelCommands, ChangingATransponderRekeysExactlyItsChannels) {
  ChannelDb db = makeDb(2, 2, 0);  // Sat 1: 10700H22000N0T0, 10710V22000N0T1
  db.svcTables[0].append(makeSvc("A", "10700H22000N0T0"));
  db.svcTables[0].append(makeSvc("B", "10710V22000N0T1"));
  db.svcTables[0].append(makeSvc("C", "10700H22000N0T0"));
  db.svcTables[0].append(makeSvc("D", "10700H22000"));
  db.svcTables[1].append(makeSvc("E", "10700H22000N0T0"));
  load(std::move(db));
  switchTo(TAB_TRANSPONDER);

  click(IDC_TP_LIST, {0});
  ui.type(IDC_FREQUENCY, "10710");
  choose(IDC_POLARITY, 1);
  press(IDC_CHANGE);  // the same as row 1
  EXPECT_EQ(said(), std::vector<std::string>{"It already exists."});
  EXPECT_EQ(editor.database().tpTables[0][0].frequency, "10700");

  click(IDC_TP_LIST, {0});
  ui.type(IDC_FREQUENCY, "11000");
  press(IDC_CHANGE);
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().tpTables[0][0], makeTp("11000", "H", "22000", "0", "0"));
  EXPECT_EQ(row(IDC_TP_LIST, 0)[2], "11000");
  EXPECT_EQ(key(0, 0), "11000H22000N0T0");
  EXPECT_EQ(key(0, 1), "10710V22000N0T1");
  EXPECT_EQ(key(0, 2), "11000H22000N0T0");
  EXPECT_EQ(key(0, 3), "10700H22000");
  EXPECT_EQ(key(1, 0), "10700H22000N0T0");

  // A pick on another satellite's list is no pick here.
  click(IDC_TP_LIST, {1});
  choose(IDC_TP_SAT, 1);
  press(IDC_CHANGE);
  EXPECT_EQ(said(), std::vector<std::string>{"Select a list,please!"});
}

// The Windows window has no NID and TID fields: they read empty there.
TEST_F(EditPanelCommands, ChangingATransponderKeepsItsNidAndTidWithoutFieldsForThem) {
  load(makeDb(1, 2, 0));  // 10710V22000N0T1 is row 1
  switchTo(TAB_TRANSPONDER);
  click(IDC_TP_LIST, {1});
  for (int id : {IDC_NID, IDC_TID}) ui.type(id, "");
  ui.type(IDC_FREQUENCY, "11000");
  press(IDC_CHANGE);
  EXPECT_EQ(editor.database().tpTables[0][1], makeTp("11000", "V", "22000", "0", "1"));
}

TEST_F(EditPanelCommands, RemovingTranspondersTakesTheirChannelsAlong) {
  load(makeDb(1, 3, 6));  // channel s is on transponder s % 3
  switchTo(TAB_TRANSPONDER);
  press(IDC_REMOVE);
  EXPECT_EQ(said(), std::vector<std::string>{"Select a list,please!"});
  click(IDC_TP_LIST, {0, 2});
  press(IDC_REMOVE);
  ASSERT_EQ(editor.database().tpTables[0].count(), 1);
  EXPECT_EQ(editor.database().tpTables[0][0].frequency, "10710");
  ASSERT_EQ(editor.database().svcTables[0].count(), 2);
  EXPECT_EQ(editor.database().svcTables[0][0].name, "Channel 2");
  EXPECT_EQ(editor.database().svcTables[0][1].name, "Channel 5");
  EXPECT_EQ(row(IDC_TP_LIST, 0)[0], "  1");
  EXPECT_EQ(ui.text(IDC_TOTAL_TP), "1");
  EXPECT_EQ(ui.text(IDC_TOTAL_CH), "2");
  EXPECT_FALSE(editor.isSaved());
}

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
