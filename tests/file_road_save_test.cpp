// Open over an open database and the two ways of saving, driven through
// the fake window on real files.
#include "file_road_fixture.h"

namespace velmora::editor {

// A file is read and checked before anything of the open database goes:
// one that does not load, and Cancel after one that did, leave the
// database, its lists, the title, the File line and the undo history.
TEST_F(FileRoad, AnOpenThatFailsOrIsCancelledLeavesTheOpenDatabase) {
  const std::string open_ = writeFile("open.wdb", sample(), wdb::Layout::TypeI);
  open(open_);
  ui.type(IDC_SAT_NAME, "Added");
  ui.type(IDC_LONGITUDE, "0130");
  editor.onCommand(IDC_ADD);
  std::vector<std::byte> tooMany = bytes(writeFile("big.wdb", sample(), wdb::Layout::TypeI));
  tooMany[2] = std::byte{0x41};  // 1601 transponders
  tooMany[3] = std::byte{0x06};
  ASSERT_TRUE(writeFileAtomically(path("big.wdb"), tooMany));
  std::vector<std::byte> noise(5000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = std::byte(i * 7919 % 251);
  ASSERT_TRUE(writeFileAtomically(path("noise.wdb"), noise));
  const ChannelDb db = editor.database();
  const auto rows = ui.rows(IDC_SAT_LIST);
  const std::string title = ui.windowTitle;
  for (const char* name : {"noise.wdb", "big.wdb", "open.wdb"}) {
    prompts.answers = {Answer::Cancel};
    open(path(name));
    EXPECT_TRUE(sameContent(editor.database(), db)) << name;
    EXPECT_EQ(ui.rows(IDC_SAT_LIST), rows) << name;
    EXPECT_EQ(ui.windowTitle, title) << name;
    EXPECT_TRUE(ui.windowModified) << name;
    EXPECT_EQ(ui.text(IDC_FILE), open_) << name;
    EXPECT_TRUE(editor.history().canUndo()) << name;
    EXPECT_FALSE(editor.isLoading()) << name;
  }
  EXPECT_EQ(messageTexts()[messageTexts().size() - 3], text::MAX_SATS);
  EXPECT_EQ(messageTexts()[messageTexts().size() - 2], text::MAX_TP);
  EXPECT_EQ(messageTexts().back(), text::SAVE_BEFORE_OPENING);
}

// Save As starts at the database's file in its layout; Type II says what
// it drops and, for a database it cannot hold, by how much, while the
// dialog is open; the type chosen is the layout written. Ctrl+S writes the
// open file with no dialog.
TEST_F(FileRoad, SaveAsOffersTheLayoutsAndCtrlSWritesTheOpenFile) {
  loadUnsaved(editor, ui, sample());
  prompts.files = {path("first.wdb")};
  editor.onKeyDown('S', true);  // no file yet: Save As
  EXPECT_EQ(prompts.saveRequests.back().initialPath, "");
  EXPECT_EQ(prompts.saveRequests.back().types,
            (std::vector<std::string>{"Type I (since 2001.10)", "Type II (before 2001.10)"}));
  EXPECT_EQ(prompts.saveRequests.back().chosenType, 0);
  EXPECT_EQ(bytes(path("first.wdb")).size(), 262144u);

  prompts.files = {path("old.wdb")};
  prompts.saveTypes = {1};
  editor.onKeyDown(KEY_F7);
  EXPECT_EQ(prompts.saveRequests.back().initialPath, path("first.wdb"));
  EXPECT_EQ(prompts.typeNotes, std::vector<std::string>{std::string(text::TYPE2_DROPS)});
  EXPECT_EQ(bytes(path("old.wdb")).size(), 131072u);
  EXPECT_EQ(editor.layout(), wdb::Layout::TypeII);
  EXPECT_EQ(ui.text(IDC_FILE), path("old.wdb"));

  editor.onKeyDown(KEY_F8);
  const std::size_t dialogs = prompts.saveRequests.size();
  editor.onKeyDown('S', true);
  EXPECT_EQ(prompts.saveRequests.size(), dialogs);
  EXPECT_TRUE(editor.isSaved());
  int counter = 26;
  ChannelDb copy = editor.database();
  EXPECT_EQ(bytes(path("old.wdb")), wdb::writeWdb(copy, wdb::Layout::TypeII, {}, counter).bytes);

  load(editor, fullDb(4000), wdb::Layout::TypeI);
  prompts.files = {path("big.wdb"), std::nullopt};
  prompts.saveTypes = {1, 1};
  editor.onKeyDown(KEY_F7);
  EXPECT_NE(prompts.refusals.back().find("It is 33,956 bytes too large: about 944 channels"),
            std::string::npos)
      << prompts.refusals.back();
  EXPECT_FALSE(fs::exists(path("big.wdb")));
}

}  // namespace velmora::editor
