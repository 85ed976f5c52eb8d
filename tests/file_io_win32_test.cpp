// The Windows writer, run under Windows or Wine: the same promises as on a
// POSIX system, with the system's own calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "db/path_text.h"
#include "support/db_builders.h"
#include "wdb/file_io.h"

namespace velmora {
namespace fs = std::filesystem;
using velmora::test::bytesOf;
using velmora::test::textOf;

class FileIoWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("velmora-io-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  fs::path dir_;
};

TEST_F(FileIoWindows, EachFailingStepLeavesTheOldFileTheBackupAndNoTemporary) {
  const fs::path target = dir_ / "list.wdb";
  const fs::path backup = dir_ / "list.wdb.bak";
  const struct {
    FileStep step;
    bool saved;
  } cases[] = {{FileStep::Open, false}, {FileStep::Write, false},  {FileStep::Sync, false},
               {FileStep::Keep, true},  {FileStep::Rename, false}, {FileStep::Backup, true}};
  for (const auto& c : cases) {
    WriteOptions plain;
    plain.keepBackup = false;
    ASSERT_TRUE(writeFileAtomically(target, bytesOf("old"), plain));
    ASSERT_TRUE(writeFileAtomically(backup, bytesOf("older"), plain));
    WriteOptions options;
    options.failStep = [&](FileStep s) { return s == c.step ? ERROR_ACCESS_DENIED : 0; };
    const FileWrite written = writeFileAtomically(target, bytesOf("new"), options);
    SCOPED_TRACE(static_cast<int>(c.step));
    EXPECT_EQ(bool(written), c.saved) << written.failure;
    EXPECT_EQ(written.backupNote.empty(), !c.saved);
    EXPECT_EQ(textOf(*readWholeFile(target)), c.saved ? "new" : "old");
    EXPECT_EQ(textOf(*readWholeFile(backup)), "older");
    EXPECT_EQ(entries(), 2u);
  }
  // Every step runs: the previous version becomes the backup.
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("newest")));
  EXPECT_EQ(textOf(*readWholeFile(backup)), "new");
  EXPECT_EQ(entries(), 2u);
}

TEST_F(FileIoWindows, ReadOnlyFilesAndAHardLinkedBackup) {
  const fs::path target = dir_ / "list.wdb";
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("old")));
  ASSERT_TRUE(CreateHardLinkW((dir_ / "list.wdb.bak").c_str(), target.c_str(), nullptr));
  const FileWrite written = writeFileAtomically(target, bytesOf("new"));
  ASSERT_TRUE(written) << written.failure;
  EXPECT_EQ(textOf(*readWholeFile(dir_ / "list.wdb.bak")), "old");
  EXPECT_EQ(entries(), 2u);

  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(writeFileAtomically(target, bytesOf("x")).failure, "The file is read-only.");
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  // The system's own sentence, in UTF-8.
  const std::string missing = writeFileAtomically(dir_ / "no" / "x.wdb", bytesOf("x")).failure;
  EXPECT_TRUE(!missing.empty() && missing.back() == '.') << missing;
  EXPECT_EQ(textOf(*readWholeFile(target)), "new");
  EXPECT_EQ(entries(), 2u);
}

TEST_F(FileIoWindows, ASymbolicLinkStaysALinkToTheReplacedFile) {
  const fs::path real = dir_ / "real.wdb";
  ASSERT_TRUE(writeFileAtomically(real, bytesOf("old")));
  // Wine 8 says it made the link and makes nothing.
  const DWORD made = CreateSymbolicLinkW((dir_ / "link.wdb").c_str(), L"real.wdb",
                                         SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)
                         ? GetFileAttributesW((dir_ / "link.wdb").c_str())
                         : INVALID_FILE_ATTRIBUTES;
  if (made == INVALID_FILE_ATTRIBUTES || (made & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    GTEST_SKIP() << "no symbolic links here";
  }
  const FileWrite written = writeFileAtomically(dir_ / "link.wdb", bytesOf("new"));
  ASSERT_TRUE(written) << written.failure;
  EXPECT_NE(GetFileAttributesW((dir_ / "link.wdb").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  EXPECT_EQ(textOf(*readWholeFile(real)), "new");
  EXPECT_EQ(textOf(readWholeFile(dir_ / "real.wdb.bak").value_or(bytesOf("none"))), "old");
}

// A folder and a name the ANSI code page cannot spell, and a path longer
// than the old limit of 260 characters: replaced with a backup, read, and
// found under their own names with nothing left beside them.
TEST_F(FileIoWindows, NamesInAnyScriptAndPathsBeyondTheOldLimit) {
  const fs::path unicode =
      dir_ /
      pathFromUtf8("\xC5\x81ukasz \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xE2\x82\xAC");
  const fs::path deep = dir_ / std::wstring(150, L'a') / std::wstring(150, L'b');
  CreateDirectoryW(systemPath(deep.parent_path()).c_str(), nullptr);
  for (const fs::path& folder : {unicode, deep}) {
    ASSERT_TRUE(CreateDirectoryW(systemPath(folder).c_str(), nullptr));
    const fs::path target = folder / L"\u0141ukasz \u20AC.wdb";
    ASSERT_TRUE(writeFileAtomically(target, bytesOf("old")));
    const FileWrite written = writeFileAtomically(target, bytesOf("new"));
    ASSERT_TRUE(written && written.backupNote.empty()) << written.failure << written.backupNote;
    EXPECT_TRUE(pathExists(target) && fileSizeOrZero(target) == 3 && whyUnreadable(target).empty());
    EXPECT_EQ(textOf(readWholeFile(target).value_or(bytesOf("none"))), "new");
    EXPECT_EQ(textOf(readWholeFile(target.native() + L".bak").value_or(bytesOf("none"))), "old");
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(systemPath(folder / L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
      if (found.cFileName[0] != L'.' || found.cFileName[1] > L'.') names.push_back(found.cFileName);
    FindClose(search);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"\u0141ukasz \u20AC.wdb",
                                                L"\u0141ukasz \u20AC.wdb.bak"}));
  }
  // What lies beyond the limit the fixture's cleaning cannot reach.
  for (const wchar_t* name : {L"\u0141ukasz \u20AC.wdb", L"\u0141ukasz \u20AC.wdb.bak"})
    DeleteFileW(systemPath(deep / name).c_str());
  RemoveDirectoryW(systemPath(deep).c_str());
  RemoveDirectoryW(systemPath(deep.parent_path()).c_str());
}

}  // namespace velmora
