// File > Apply order from...: the open database takes a reference's order
// as one undoable step; and the word after opening a file that lost
// channels on loading.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/fake_port.h"
#include "texts.h"
#include "wdb/file_io.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;

TEST(ApplyOrder, TakesTheReferenceOrderAsOneUndoableStep) {
  FakeControls ui(editorDialog());
  FakePrompts prompts;
  const auto dir = std::filesystem::temp_directory_path() / "velmora-apply-order";
  std::filesystem::create_directories(dir);
  EditorDialog editor(ui, prompts, EditorEnv{dir, {}});
  editor.initDialog();
  // A Type I file of `db`, with byte `spoilAt` (when not 0) set to 0.
  auto choose = [&](const char* name, ChannelDb db, std::size_t spoilAt = 0) {
    int counter = 0;
    std::vector<std::byte> bytes = wdb::writeWdb(db, wdb::Layout::TypeI, {}, counter).bytes;
    if (spoilAt != 0) bytes[spoilAt] = std::byte{0};
    EXPECT_TRUE(writeFileAtomically(dir / name, bytes));
    prompts.files.push_back((dir / name).string());
  };
  auto order = [&] {
    std::string out;
    for (int s = 0; s < editor.database().satCount; ++s)
      out += editor.database().sats[std::size_t(s)].name + ";";
    return out;
  };

  // Service record 2 names transponder 0: it cannot be placed.
  choose("open.wdb", makeDb(3, 2, 2), 2066 + 6 * 12 + 8 + 32 + 2);
  editor.onCommand(ID_FILE_OPEN);
  prompts.finishBackgroundWork();
  // Said on the status line, not in a box that only informs.
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(ui.statusText,
            "Opened open.wdb (Type I: 3 satellites, 6 transponders, 5 channels). 1 channel could "
            "not be placed and was left out; velmora-cli check lists them.");

  ChannelDb ref = makeDb(3, 2, 2);
  std::swap(ref.sats[0], ref.sats[2]);
  std::swap(ref.tpTables[0], ref.tpTables[2]);
  std::swap(ref.svcTables[0], ref.svcTables[2]);
  choose("ref.wdb", ref);
  editor.onCommand(ID_FILE_APPLY_ORDER);
  EXPECT_EQ(prompts.fileFilters.back(), text::APPLY_ORDER_FILTER);
  EXPECT_EQ(order(), "Sat 3;Sat 2;Sat 1;");
  EXPECT_EQ(ui.at(IDC_TP_SAT).combo.items.front(), "Sat 3");
  EXPECT_FALSE(editor.isSaved());
  editor.onCommand(ID_EDIT_UNDO);
  EXPECT_EQ(order(), "Sat 1;Sat 2;Sat 3;");
  editor.onCommand(ID_EDIT_REDO);
  EXPECT_EQ(order(), "Sat 3;Sat 2;Sat 1;");

  std::filesystem::remove_all(dir);
}

}  // namespace velmora::editor
