// The window's file road on real files in a temporary folder: a fake
// window, an editor, and helpers to write, open and save files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/editor_load.h"
#include "support/fake_port.h"
#include "texts.h"
#include "wdb/file_io.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;
namespace fs = std::filesystem;

class FileRoad : public ::testing::Test {
 protected:
  FileRoad() : ui(editorDialog()), editor(ui, prompts, EditorEnv{dir(), {}}) {
    fs::remove_all(dir());
    fs::create_directories(dir());
    editor.initDialog();
  }
  ~FileRoad() override { fs::remove_all(dir()); }

  static fs::path dir() {
    return fs::temp_directory_path() /
           ("velmora-road-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  }
  std::string path(const char* name) const { return (dir() / name).string(); }

  // A file written by the core alone, without the window.
  std::string writeFile(const char* name, ChannelDb db, wdb::Layout layout) {
    int counter = 0;
    const wdb::WriteResult r = wdb::writeWdb(db, layout, {}, counter);
    EXPECT_TRUE(r.ok()) << r.failure.message;
    EXPECT_TRUE(writeFileAtomically(path(name), r.bytes));
    return path(name);
  }
  std::vector<std::byte> bytes(const std::string& p) { return *readWholeFile(p); }

  void open(const std::string& file) {
    prompts.files.push_back(file);
    editor.onCommand(ID_FILE_OPEN);
    prompts.finishBackgroundWork();
  }
  void save(const std::string& file) {
    prompts.files.push_back(file);
    editor.onCommand(ID_FILE_SAVE);
  }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : prompts.messages) out.push_back(m.text);
    return out;
  }
  static ChannelDb sample() {
    ChannelDb db = makeDb(3, 4, 6);
    db.tpTables[0].clear();  // the first satellite has nothing
    db.svcTables[0].clear();
    return db;
  }

  FakeControls ui;
  FakePrompts prompts;
  EditorDialog editor;
};

}  // namespace velmora::editor
