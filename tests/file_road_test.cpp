// Open, load, save, New and the SatcoDX import, driven through the fake
// window on real files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor/editor_dialog.h"
#include "file_road_fixture.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/editor_load.h"
#include "support/fake_port.h"
#include "texts.h"
#include "wdb/file_io.h"

namespace velmora::editor {

TEST_F(FileRoad, OpeningAndSavingAgainGivesTheSameBytesInBothLayouts) {
  for (wdb::Layout layout : {wdb::Layout::TypeI, wdb::Layout::TypeII}) {
    const std::string original = writeFile("original.wdb", sample(), layout);
    open(original);
    ASSERT_TRUE(messageTexts().empty()) << messageTexts().front();
    EXPECT_EQ(editor.layout(), layout);
    EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 3);
    EXPECT_EQ(ui.text(IDC_FILE), original);
    EXPECT_EQ(ui.comboCount(IDC_TP_SAT), 3);
    EXPECT_EQ(ui.text(IDC_TOTAL_CH), "12");

    ui.pickTab(1);
    editor.onTabChanged();
    EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), 0);  // the tab keeps its satellite

    save(path("copy.wdb"));
    EXPECT_EQ(bytes(path("copy.wdb")), bytes(original));
    EXPECT_TRUE(editor.isSaved());
    EXPECT_EQ(ui.text(IDC_FILE), path("copy.wdb"));
    editor.onCommand(ID_FILE_NEW);
    ui.pickTab(0);
    editor.onTabChanged();
    fs::remove(path("copy.wdb"));
  }
}

TEST_F(FileRoad, LoadingOnAnotherTabShowsTheFirstSatelliteWithRows) {
  const std::string file = writeFile("sample.wdb", sample(), wdb::Layout::TypeI);
  ui.pickTab(2);
  editor.onTabChanged();
  open(file);
  EXPECT_EQ(editor.view().shownSat, 1);
  EXPECT_EQ(ui.comboSelection(IDC_SVC_SAT), 1);
  EXPECT_EQ(ui.listRowCount(IDC_SVC_LIST), 6);
  EXPECT_EQ(ui.text(IDC_SEL_SAT), "Sat 2");
}

TEST_F(FileRoad, NewAfterAnOlderLayoutWritesTypeOne) {
  open(writeFile("old.wdb", sample(), wdb::Layout::TypeII));
  editor.onCommand(ID_FILE_NEW);
  EXPECT_TRUE(prompts.messages.empty());  // nothing was changed
  EXPECT_EQ(editor.layout(), wdb::Layout::NotChosen);
  EXPECT_EQ(ui.comboCount(IDC_TP_SAT), 0);
  EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 0);
  EXPECT_EQ(ui.text(IDC_TOTAL_TP), ".");
  ui.type(IDC_SAT_NAME, "Fresh");
  ui.type(IDC_LONGITUDE, "0130");
  editor.onCommand(IDC_ADD);
  save(path("new.wdb"));
  EXPECT_EQ(bytes(path("new.wdb")).size(), 262144u);
}

TEST_F(FileRoad, OpenRefusalsLeaveTheStateTheyShould) {
  // 64 satellites: a listing, one more satellite, is refused once chosen;
  // a database, which replaces them, opens.
  load(editor, makeDb(64, 0, 0), wdb::Layout::NotChosen);
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir() / "hotbird.sdx");
  open(path("hotbird.sdx"));
  EXPECT_EQ(messageTexts().back(), text::OPEN_SAT_RANGE);
  EXPECT_EQ(editor.database().satCount, 64);
  prompts.answers = {Answer::No};
  open(writeFile("three.wdb", sample(), wdb::Layout::TypeI));
  EXPECT_EQ(editor.database().satCount, 3);
  editor.onCommand(ID_FILE_NEW);

  // A name that is no file says so with the system's reason.
  open(path("missing.wdb"));
  EXPECT_EQ(messageTexts().back(),
            "Cannot read " + path("missing.wdb") + ": No such file or directory.");
  EXPECT_EQ(prompts.fileFilters.back(), text::OPEN_FILTER);

  for (const char* name : {"LIST.WDB.old", "hotbird.txt", "HOTBIRD.SDX.old"}) {
    writeFile(name, sample(), wdb::Layout::TypeI);
    open(path(name));
    EXPECT_EQ(messageTexts().back(), text::SUPPORT_FILE) << name;
  }

  std::vector<std::byte> tooMany = bytes(writeFile("big.wdb", sample(), wdb::Layout::TypeI));
  tooMany[2] = std::byte{0x41};  // 1601 transponders
  tooMany[3] = std::byte{0x06};
  ASSERT_TRUE(writeFileAtomically(path("big.wdb"), tooMany));
  open(path("big.wdb"));
  EXPECT_EQ(messageTexts().back(), text::MAX_TP);
  EXPECT_EQ(editor.database().satCount, 0);
  EXPECT_FALSE(editor.isLoading());

  ASSERT_TRUE(
      writeFileAtomically(path("junk.wdb"), bytesOf(std::string("\x40\0\0\0\0\0junk", 10))));
  open(path("junk.wdb"));
  EXPECT_EQ(messageTexts().back(), text::NOT_A_FORMAT);

  // Zeros after a database do not hurt, up to 1 MiB; a longer file is not
  // read at all.
  std::vector<std::byte> padded = bytes(writeFile("padded.wdb", sample(), wdb::Layout::TypeI));
  padded.resize(wdb::MAX_FILE_BYTES);
  ASSERT_TRUE(writeFileAtomically(path("padded.wdb"), padded));
  open(path("padded.wdb"));
  EXPECT_EQ(editor.database().satCount, 3);
  editor.onCommand(ID_FILE_NEW);
  padded.push_back(std::byte{0});
  ASSERT_TRUE(writeFileAtomically(path("padded.wdb"), padded));
  open(path("padded.wdb"));
  EXPECT_EQ(messageTexts().back(), text::NOT_A_FORMAT);
  EXPECT_EQ(editor.database().satCount, 0);
}

TEST_F(FileRoad, OpeningOverUnsavedWorkAsksTwiceAndCancelKeepsEverything) {
  const std::string file = writeFile("sample.wdb", sample(), wdb::Layout::TypeI);
  loadUnsaved(editor, ui, makeDb(1, 1, 1));

  prompts.answers = {Answer::Cancel};
  open(file);
  EXPECT_EQ(editor.database().satCount, 1);

  prompts.answers = {Answer::No, Answer::Cancel};  // then cancel the clearing's question
  open(file);
  EXPECT_EQ(editor.database().satCount, 1);
  ASSERT_EQ(prompts.messages.size(), 3u);
  EXPECT_EQ(prompts.messages[1].text, text::SAVE_BEFORE_OPENING);
  EXPECT_EQ(prompts.messages[2].text, text::SAVE_BEFORE_CLEARING);
  EXPECT_EQ(prompts.messages[2].buttons, Buttons::YesNoCancel);

  // Yes, then cancel the save's file dialog: the save the user asked for
  // did not happen, so nothing is cleared or loaded and nothing more asked.
  prompts.answers = {Answer::Yes, Answer::No};
  prompts.files = {file, std::nullopt};
  editor.onCommand(ID_FILE_OPEN);
  prompts.finishBackgroundWork();
  EXPECT_EQ(editor.database().satCount, 1);
  EXPECT_FALSE(editor.isSaved());
  EXPECT_EQ(prompts.messages.size(), 4u);
  EXPECT_FALSE(editor.isLoading());
}

TEST_F(FileRoad, SaveRefusalsWriteNothing) {
  editor.onCommand(ID_FILE_SAVE);
  EXPECT_EQ(messageTexts().back(), text::NO_DATA);
  EXPECT_TRUE(prompts.fileFilters.empty());

  loadUnsaved(editor, ui, sample());
  const std::string existing = writeFile("keep.wdb", makeDb(1, 0, 0), wdb::Layout::TypeI);
  const auto before = bytes(existing);
  prompts.answers = {Answer::No};
  save(existing);
  EXPECT_EQ(prompts.messages.back().text, existing + " already exists.\n\nReplace existing file?");
  EXPECT_EQ(prompts.messages.back().caption, "Overwrite file");
  EXPECT_EQ(bytes(existing), before);

  loadUnsaved(editor, ui, fullDb(6001));
  save(path("over.wdb"));
  EXPECT_NE(prompts.refusals.back().find("Current Number    : 6001"), std::string::npos);
  EXPECT_FALSE(fs::exists(path("over.wdb")));

  loadUnsaved(editor, ui, sample());
  fs::create_directory(path("folder.wdb"));
  prompts.answers = {Answer::Yes};
  save(path("folder.wdb"));
  EXPECT_EQ(messageTexts().back(), path("folder.wdb") + " can't be created !  \n\nIt is a folder.");
  EXPECT_FALSE(editor.isSaved());
}

TEST_F(FileRoad, ABackupThatCannotBeMadeIsNamedInTheFileLinesTip) {
  const std::string existing = writeFile("list.wdb", makeDb(1, 0, 0), wdb::Layout::TypeI);
  fs::create_directories(path("list.wdb.bak/inside"));
  load(editor, sample(), wdb::Layout::NotChosen);
  prompts.answers = {Answer::Yes};
  save(existing);
  EXPECT_TRUE(editor.isSaved());
  EXPECT_EQ(ui.text(IDC_FILE), existing);
  EXPECT_TRUE(ui.toolTip(IDC_FILE).starts_with(
      existing + "\nThe previous version could not be kept as " + existing + ".bak: "))
      << ui.toolTip(IDC_FILE);
}

TEST_F(FileRoad, AFailedSaveBeforeNewOrCloseKeepsTheWork) {
  loadUnsaved(editor, ui, sample());
  fs::create_directory(path("folder.wdb"));
  prompts.answers = {Answer::Yes, Answer::Yes};  // save? yes; replace? yes
  prompts.files = {path("folder.wdb")};
  editor.onCommand(ID_FILE_NEW);
  EXPECT_EQ(editor.database().satCount, 3);

  prompts.answers = {Answer::Yes, Answer::Yes};
  prompts.files = {path("folder.wdb")};
  editor.onCloseRequest();
  EXPECT_FALSE(ui.endedWith);

  // Neither does a save whose file dialog is cancelled, nor one whose
  // replace question is answered No.
  for (bool cancel : {true, false}) {
    const std::string existing = writeFile("existing.wdb", makeDb(1, 0, 0), wdb::Layout::TypeI);
    prompts.answers = {Answer::Yes, Answer::No};
    prompts.files = {cancel ? std::nullopt : std::optional(existing)};
    editor.onCommand(ID_FILE_NEW);
    EXPECT_EQ(editor.database().satCount, 3);
    prompts.answers = {Answer::Yes, Answer::No};
    prompts.files = {cancel ? std::nullopt : std::optional(existing)};
    editor.onCloseRequest();
    EXPECT_FALSE(ui.endedWith);
  }
  EXPECT_FALSE(editor.isSaved());
}

TEST_F(FileRoad, CommandsWaitWhileAFileLoads) {
  const std::string file = writeFile("sample.wdb", sample(), wdb::Layout::TypeI);
  prompts.files = {file};
  editor.onCommand(ID_FILE_OPEN);
  ASSERT_TRUE(editor.isLoading());
  const std::size_t asked = prompts.fileFilters.size();
  for (int command : {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_NEW, ID_FILE_CLOSE})
    editor.onCommand(command);
  editor.onCloseRequest();
  EXPECT_EQ(prompts.fileFilters.size(), asked);
  EXPECT_FALSE(ui.endedWith);
  EXPECT_TRUE(prompts.messages.empty());

  prompts.finishBackgroundWork();
  EXPECT_FALSE(editor.isLoading());
  EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 3);
}

TEST_F(FileRoad, ListingsImportAsOneMoreSatelliteWithTheFeedOption) {
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir() / "hotbird.sdx.txt");
  loadUnsaved(editor, ui, makeDb(1, 1, 1));
  open(path("hotbird.sdx.txt"));
  ASSERT_EQ(editor.database().satCount, 2);
  EXPECT_EQ(editor.database().svcTables[1].count(), 3);  // the feed is left out
  EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 2);
  EXPECT_EQ(ui.comboItem(IDC_TP_SAT, 1), "Hotbird 13E     ");
  EXPECT_EQ(ui.text(IDC_FILE), ".");  // the database's file, not the listing
  EXPECT_EQ(ui.windowTitle, "Velmora 1.00");
  EXPECT_FALSE(editor.isSaved());

  editor.onCommand(ID_OPTION_FEED_TEST);
  open(path("hotbird.sdx.txt"));
  EXPECT_EQ(editor.database().svcTables[2].count(), 4);

  for (const char* real :
       {"PredatH0r_ChanSort_silva_schneider.sdx", "sirfi_satcodx-editor_channel-list-sample.sdx"}) {
    open((fs::path(VELMORA_TEST_DATA) / real).string());
  }
  ASSERT_EQ(editor.database().satCount, 5);
  EXPECT_EQ(editor.database().sats[4].sdxCode, "0420");
  EXPECT_EQ(editor.database().svcTables[4].count(), 0);  // their PID columns are empty
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(FileRoad, ImportLimitsLeaveTheDatabaseAsItWas) {
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir() / "hotbird.sdx");
  load(editor, makeDb(16, 100, 0), wdb::Layout::NotChosen);  // 1600 transponders already
  open(path("hotbird.sdx"));
  EXPECT_EQ(messageTexts(), std::vector<std::string>{std::string(text::IMPORT_TP_RANGE)});
  EXPECT_EQ(editor.database().satCount, 16);

  load(editor, makeDb(10, 10, 600), wdb::Layout::NotChosen);  // 6000 services already
  prompts.messages.clear();
  open(path("hotbird.sdx"));
  EXPECT_EQ(messageTexts(), std::vector<std::string>{std::string(text::IMPORT_SVC_RANGE)});
  EXPECT_EQ(editor.database().satCount, 10);
}

TEST_F(FileRoad, AFileThatIsNoListingIsRefusedWhateverItsName) {
  load(editor, makeDb(1, 1, 1), wdb::Layout::NotChosen);
  const std::string before = ui.text(IDC_FILE);
  std::ofstream(dir() / "noise.sdx", std::ios::binary) << std::string(20000, '\xFF');
  open(path("noise.sdx"));
  EXPECT_EQ(messageTexts(), std::vector<std::string>{std::string(text::SUPPORT_FILE)});
  EXPECT_EQ(editor.database().satCount, 1);
  EXPECT_EQ(ui.text(IDC_FILE), before);
}

TEST_F(FileRoad, OpenAfterSavingFirstLoadsTheChosenFile) {
  const std::string chosen = writeFile("chosen.wdb", sample(), wdb::Layout::TypeI);
  loadUnsaved(editor, ui, makeDb(1, 1, 1));
  prompts.answers = {Answer::Yes};  // save first: yes
  prompts.files = {chosen, path("mine")};
  editor.onCommand(ID_FILE_OPEN);
  prompts.finishBackgroundWork();
  // The work went to mine.wdb, and the chosen file is the one shown.
  EXPECT_EQ(prompts.filePurposes, (std::vector{FilePurpose::Open, FilePurpose::Save}));
  EXPECT_EQ(wdb::readWdb(bytes(path("mine.wdb"))).db.satCount, 1);
  EXPECT_EQ(editor.database().satCount, 3);
  EXPECT_EQ(editor.chosenFile(), chosen);
  EXPECT_EQ(ui.text(IDC_FILE), chosen);
  EXPECT_EQ(ui.toolTip(IDC_FILE), chosen);
  EXPECT_TRUE(editor.isSaved());
}

TEST_F(FileRoad, ANameWithoutExtensionIsSavedAsADatabaseFile) {
  load(editor, sample(), wdb::Layout::NotChosen);
  writeFile("mylist.wdb", makeDb(1, 0, 0), wdb::Layout::TypeI);
  prompts.answers = {Answer::Yes};
  save(path("mylist"));
  EXPECT_EQ(messageTexts(), std::vector<std::string>{path("mylist.wdb") +
                                                     " already exists.\n\nReplace existing file?"});
  EXPECT_FALSE(fs::exists(path("mylist")));
  EXPECT_EQ(ui.text(IDC_FILE), path("mylist.wdb"));
  open(path("mylist.wdb"));
  EXPECT_EQ(editor.database().satCount, 3);
}

TEST_F(FileRoad, ExtensionsInAnyCaseAndOnlyADatabasesKeepsItsName) {
  load(editor, sample(), wdb::Layout::NotChosen);
  save(path("UP.WDB"));
  EXPECT_EQ(editor.chosenFile(), path("UP.WDB"));
  load(editor, sample(), wdb::Layout::NotChosen);
  save(path("out.txt"));
  EXPECT_EQ(editor.chosenFile(), path("out.txt.wdb"));
  EXPECT_FALSE(fs::exists(path("out.txt")));
  open(path("UP.WDB"));
  EXPECT_EQ(editor.database().satCount, 3);
}

TEST_F(FileRoad, YesToSavingFirstSavesThenGoesAhead) {
  loadUnsaved(editor, ui, sample());
  prompts.answers = {Answer::Yes};
  prompts.files = {path("before-new.wdb")};
  editor.onCommand(ID_FILE_NEW);
  EXPECT_TRUE(fs::exists(path("before-new.wdb")));
  EXPECT_EQ(editor.database().satCount, 0);
  EXPECT_TRUE(editor.isSaved());
  EXPECT_EQ(ui.text(IDC_FILE), ".");
  EXPECT_EQ(ui.toolTip(IDC_FILE), "");

  loadUnsaved(editor, ui, sample());
  prompts.answers = {Answer::Yes};
  prompts.files = {path("before-close.wdb")};
  editor.onCloseRequest();
  EXPECT_TRUE(fs::exists(path("before-close.wdb")));
  EXPECT_EQ(ui.endedWith, ID_OK);
}

TEST_F(FileRoad, AnImportIsUnsavedWorkAndShowsTheNewSatellite) {
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir() / "hotbird.sdx");
  load(editor, makeDb(2, 1, 1), wdb::Layout::NotChosen);
  ui.pickTab(1);
  editor.onTabChanged();
  open(path("hotbird.sdx"));
  EXPECT_FALSE(editor.isSaved());
  EXPECT_EQ(ui.comboSelection(IDC_TP_SAT), 2);
  EXPECT_EQ(ui.text(IDC_SEL_SAT), "Hotbird 13E     ");
  EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), editor.database().tpTables[2].count());

  // Closing now asks, and No to the question is the only way to lose it.
  editor.onCloseRequest();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, text::SAVE_BEFORE_CLOSING);
}

TEST_F(FileRoad, ARefusedImportLeavesTheWindowOnASatelliteThatExists) {
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir() / "hotbird.sdx");
  load(editor, makeDb(16, 100, 0), wdb::Layout::NotChosen);  // 1600 transponders already
  ui.pickTab(1);
  editor.onTabChanged();
  ui.pickComboItem(IDC_TP_SAT, 3);
  editor.onComboChanged(IDC_TP_SAT);
  open(path("hotbird.sdx"));
  EXPECT_EQ(messageTexts(), std::vector<std::string>{std::string(text::IMPORT_TP_RANGE)});
  EXPECT_EQ(editor.view().listedSat, 3);
  EXPECT_EQ(ui.comboSelection(IDC_TP_SAT), 3);
  EXPECT_EQ(ui.text(IDC_SEL_SAT), editor.database().sats[3].name);
  EXPECT_EQ(ui.listRowCount(IDC_TP_LIST), 100);
  // Clicking a row of the shown list fills the panel from that satellite.
  ui.pickRows(IDC_TP_LIST, {5});
  editor.onListClick(IDC_TP_LIST, ui.listSelectedRows(IDC_TP_LIST));
  EXPECT_EQ(ui.text(IDC_FREQUENCY), editor.database().tpTables[3][5].frequency);
}

TEST_F(FileRoad, ATabChosenWhileLoadingGetsItsDefaultsWhenTheLoadEnds) {
  const std::string file = writeFile("sample.wdb", sample(), wdb::Layout::TypeI);
  ui.pickTab(1);
  editor.onTabChanged();
  ui.pickComboItem(IDC_LNB_TYPE, 2);
  editor.onComboChanged(IDC_LNB_TYPE);
  ui.pickComboItem(IDC_LNB_POWER, 1);
  editor.onComboChanged(IDC_LNB_POWER);
  prompts.files = {file};
  editor.onCommand(ID_FILE_OPEN);
  ui.pickTab(0);
  editor.onTabChanged();
  EXPECT_EQ(ui.comboSelection(IDC_LNB_TYPE), 2);  // not yet: the load is running
  prompts.finishBackgroundWork();
  EXPECT_EQ(ui.comboSelection(IDC_LNB_TYPE), 0);
  EXPECT_EQ(ui.comboSelection(IDC_DISEQC), 0);
  EXPECT_EQ(ui.comboSelection(IDC_LNB_POWER), 1);
  EXPECT_FALSE(ui.isEnabled(IDC_TONE));
  EXPECT_FALSE(ui.isEnabled(IDC_COMMITTED));
  EXPECT_EQ(ui.listRowCount(IDC_SAT_LIST), 3);
}

TEST_F(FileRoad, AWebPageTheDesktopCannotOpenIsNamed) {
  prompts.shellWorks = false;
  ui.pickComboItem(IDC_WEB_LINK, 1);
  editor.onComboChanged(IDC_WEB_LINK);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text.rfind("https://www.lyngsat.com/\n\n", 0), 0u);
  EXPECT_EQ(ui.text(IDC_WEB_LINK), "Web Link");
}

TEST_F(FileRoad, FilesFromTheDesktopOpenAsOpenWouldAndAreRemembered) {
  const std::string a = writeFile("a.wdb", sample(), wdb::Layout::TypeI);
  const std::string b = writeFile("b.wdb", makeDb(1, 1, 1), wdb::Layout::TypeII);
  editor.openPaths({a});
  prompts.finishBackgroundWork();
  EXPECT_EQ(editor.database().satCount, 3);
  EXPECT_TRUE(prompts.fileFilters.empty());  // no file dialog

  // Over an open database the save-first question comes as with Open.
  prompts.answers = {Answer::Cancel};
  editor.openPaths({b});
  prompts.finishBackgroundWork();
  EXPECT_EQ(messageTexts(), std::vector<std::string>{std::string(text::SAVE_BEFORE_OPENING)});
  EXPECT_EQ(editor.database().satCount, 3);
  prompts.answers = {Answer::No, Answer::No};
  editor.openPaths({b});
  prompts.finishBackgroundWork();
  EXPECT_EQ(editor.database().satCount, 1);

  // Several listings: each one more satellite, each one step to undo.
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir() / "one.sdx");
  fs::copy_file(fs::path(VELMORA_TEST_DATA) / "small_hotbird.sdx", dir() / "two.sdx");
  editor.openPaths({path("one.sdx"), path("two.sdx")});
  EXPECT_EQ(editor.database().satCount, 3);
  editor.onCommand(ID_EDIT_UNDO);
  EXPECT_EQ(editor.database().satCount, 2);

  // The databases opened or saved, newest first, in the File menu and in
  // the settings for the next start.
  save(path("c.wdb"));
  EXPECT_EQ(editor.recentFiles(), (std::vector<std::string>{path("c.wdb"), b, a}));
  EXPECT_EQ(ui.menuTexts[ID_FILE_RECENT1], "&1 " + path("c.wdb"));
  EXPECT_TRUE(ui.menuShown[ID_FILE_RECENT1 + 2]);
  EXPECT_FALSE(ui.menuShown[ID_FILE_RECENT1 + 3]);

  FakeControls ui2(editorDialog());
  FakePrompts prompts2;
  prompts2.settings = prompts.settings;
  EditorDialog second(ui2, prompts2, EditorEnv{dir(), {}});
  second.initDialog();
  EXPECT_EQ(second.recentFiles(), editor.recentFiles());
  second.onCommand(ID_FILE_RECENT1 + 2);
  prompts2.finishBackgroundWork();
  EXPECT_EQ(second.database().satCount, 3);
  EXPECT_EQ(second.recentFiles().front(), a);

  // A recent file gone since names itself and may leave the list: No keeps
  // it, Yes removes it from the menu and the settings.
  fs::remove(b);
  const std::string gone = "Cannot read " + b + ": No such file or directory.";
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    prompts2.answers = {answer};
    second.onCommand(ID_FILE_RECENT1 + 2);
    EXPECT_EQ(prompts2.messages.back().text.rfind(gone, 0), 0u);
    EXPECT_EQ(prompts2.messages.back().buttons, Buttons::YesNo);
    EXPECT_EQ(second.database().satCount, 3);
  }
  EXPECT_EQ(second.recentFiles(), (std::vector<std::string>{a, path("c.wdb")}));
  EXPECT_EQ(prompts2.settings["recentFiles"], a + "\n" + path("c.wdb") + "\n");
}

// A file named on the command line relative to the folder the program
// started in is remembered as a whole path.
TEST_F(FileRoad, RecentFilesAreWholePaths) {
  writeFile("here.wdb", sample(), wdb::Layout::TypeI);
  const fs::path before = fs::current_path();
  fs::current_path(dir());
  editor.openPaths({"here.wdb"});
  prompts.finishBackgroundWork();
  fs::current_path(before);
  ASSERT_FALSE(editor.recentFiles().empty());
  EXPECT_EQ(editor.recentFiles().front(), path("here.wdb"));
}

}  // namespace velmora::editor
