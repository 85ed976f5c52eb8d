// Add, Change and Remove of satellites and transponders, typed in through
// the fake window; larger databases are built through the core.
#include <gtest/gtest.h>

#include "edit_panel_fixture.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;

TEST_F(EditPanelCommands, NewSatellitesTakeTheirPositionInTheName) {
  const std::pair<const char*, const char*> typed[] = {{"Hotbird", "0130"},
                                                       {"ABCDEFGHIJKLMNOP", "0192"},
                                                       {"Galaxy", "3300"},
                                                       {"Mid", "1800"},
                                                       {"Nss", "1801"}};
  prompts.answers = {Answer::Yes};  // to the one name that is cut
  for (const auto& [name, longitude] : typed) addSat(name, longitude);
  EXPECT_EQ(said(), std::vector<std::string>{"Max 16 characters!\n( ABCDEFGHIJKLMNOP --> "
                                             "ABCDEFGHIJ-19.2E )\n\nAdd the satellite under this "
                                             "name?"});
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
  choose(IDC_LNB_TYPE, 1);  // OCS: the tone becomes On
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
  // A cut is asked about as the name would be stored, with its suffix; No
  // keeps the form as typed.
  addSat("Intelsat 20", "0685");
  EXPECT_EQ(said(), std::vector<std::string>{"Max 16 characters!\n( Intelsat 20 --> Intelsat "
                                             "2-68.5E )\n\nAdd the satellite under this name?"});
  EXPECT_EQ(ui.text(IDC_SAT_NAME), "Intelsat 20");
  EXPECT_EQ(ui.text(IDC_LONGITUDE), "0685");
  // Letters in an LNB frequency are refused, not read as 0.
  enter({{IDC_SAT_NAME, "Hotbird"}, {IDC_LNB_FREQ1, "975O"}, {IDC_LONGITUDE, "0130"}});
  EXPECT_EQ(said(), std::vector<std::string>{"LNB FREQ : Invalid!"});
  for (const char* longitude : {"123", "01300", "-012", "abcd", "12ab", " 130", "+130"}) {
    addSat("Hotbird", longitude);
    EXPECT_EQ(said(), std::vector<std::string>{std::string(text::SDX_CODE_INVALID)}) << longitude;
  }
  // The receiver knows the LNB by its frequencies alone: a type they
  // contradict is refused, naming theirs.
  choose(IDC_LNB_TYPE, 2);
  addSat("Hotbird", "0130");
  EXPECT_EQ(said(), std::vector<std::string>{"LNB TYPE : Invalid! \n\nThe LNB Freq give "
                                             "Universal.\n\nChoose Universal or change the LNB "
                                             "Freq."});
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

  // Enter on a clicked satellite is Change: no question, no duplicate.
  click(IDC_SAT_LIST, {0});
  ui.focus(IDC_SAT_NAME);
  editor.onKeyDown(KEY_RETURN);
  EXPECT_EQ(said().size(), 0u);
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
  choose(IDC_LNB_TYPE, 1);
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

  // Enter in a field of a clicked transponder changes it.
  click(IDC_TP_LIST, {0});
  ui.type(IDC_FREQUENCY, "11000");
  ui.focus(IDC_FREQUENCY);
  editor.onKeyDown(KEY_RETURN);
  EXPECT_TRUE(said().empty());
  EXPECT_EQ(editor.database().tpTables[0].count(), 2);
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

}  // namespace velmora::editor
