#include "wdb/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <vector>

#include "support/db_builders.h"
#include "wdb/open_path.h"

namespace velmora {
namespace fs = std::filesystem;
using velmora::test::bytesOf;
using velmora::test::textOf;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("velmora-io-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  fs::path dir_;
};

TEST_F(FileIo, WritesReplacesAndKeepsOnePreviousVersion) {
  const fs::path target = dir_ / "list.wdb";
  const fs::path backup = dir_ / "list.wdb.bak";
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("first")));
  EXPECT_FALSE(fs::exists(backup));  // nothing was replaced
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("second")));
  EXPECT_EQ(textOf(*readWholeFile(backup)), "first");
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("third")));
  EXPECT_EQ(textOf(*readWholeFile(target)), "third");
  EXPECT_EQ(textOf(*readWholeFile(backup)), "second");
  WriteOptions noBackup;
  noBackup.keepBackup = false;
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("fourth"), noBackup));
  EXPECT_EQ(textOf(*readWholeFile(backup)), "second");
  EXPECT_EQ(fileSizeOrZero(target), 6u);
  EXPECT_EQ(entries(), 2u);
}

TEST_F(FileIo, TheReplacedFileKeepsItsLinkModeAndOwner) {
  const fs::path real = dir_ / "real.wdb";
  ASSERT_TRUE(writeFileAtomically(real, bytesOf("old")));
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  // Only root may give a file away; elsewhere the owner stays ours anyway.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(real.c_str(), 4242, 4343), 0);
  }
  fs::create_symlink("real.wdb", dir_ / "link.wdb");

  const FileWrite written = writeFileAtomically(dir_ / "link.wdb", bytesOf("new"));
  ASSERT_TRUE(written) << written.failure;
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.wdb"));
  EXPECT_EQ(textOf(*readWholeFile(real)), "new");
  EXPECT_EQ(textOf(*readWholeFile(dir_ / "real.wdb.bak")), "old");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, 4242u);
    EXPECT_EQ(st.st_gid, 4343u);
  }

  // A new file gets the mode new files get.
  const mode_t mask = ::umask(027);
  ASSERT_TRUE(writeFileAtomically(dir_ / "fresh.wdb", bytesOf("x")));
  ::umask(mask);
  ASSERT_EQ(::stat((dir_ / "fresh.wdb").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(FileIo, RefusesWhatMustNotBeReplaced) {
  fs::create_directory(dir_ / "folder.wdb");
  ASSERT_EQ(::mkfifo((dir_ / "pipe.wdb").c_str(), 0644), 0);
  fs::create_symlink("/dev/null", dir_ / "device.wdb");
  ASSERT_TRUE(writeFileAtomically(dir_ / "locked.wdb", bytesOf("kept")));
  ASSERT_EQ(::chmod((dir_ / "locked.wdb").c_str(), 0444), 0);
  const std::string tooLong(256, 'n');
  const struct {
    const char* name;
    std::string target;
    std::string reason;
  } cases[] = {
      {"folder", "folder.wdb", "It is a folder."},
      {"fifo", "pipe.wdb", "It is not a regular file."},
      {"device behind a link", "device.wdb", "It is not a regular file."},
      {"read-only, for root too", "locked.wdb", "The file is read-only."},
      {"missing folder", "missing/x.wdb", "No such file or directory."},
      {"name too long", tooLong, "File name too long."},
  };
  const std::size_t before = entries();
  for (const auto& c : cases) {
    const FileWrite written = writeFileAtomically(dir_ / c.target, bytesOf("data"));
    EXPECT_FALSE(written) << c.name;
    EXPECT_EQ(written.failure, c.reason) << c.name;
  }
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.wdb"));
  EXPECT_TRUE(fs::is_fifo(dir_ / "pipe.wdb"));
  EXPECT_EQ(textOf(*readWholeFile(dir_ / "locked.wdb")), "kept");
  EXPECT_EQ(entries(), before);
}

TEST_F(FileIo, EachFailingStepLeavesTheOldFileAndNoTemporary) {
  const fs::path target = dir_ / "list.wdb";
  const fs::path backup = dir_ / "list.wdb.bak";
  const struct {
    FileStep step;
    int error;
    const char* reason;  // empty: the file is saved, its backup note says this
  } cases[] = {
      {FileStep::Open, EACCES, "Permission denied."},
      {FileStep::Write, ENOSPC, "No space left on device."},
      {FileStep::Sync, EIO, "Input/output error."},
      {FileStep::Keep, EMLINK, ""},
      {FileStep::Rename, EXDEV, "Invalid cross-device link."},
      {FileStep::Backup, EPERM, ""},
  };
  for (const auto& c : cases) {
    WriteOptions plain;
    plain.keepBackup = false;
    ASSERT_TRUE(writeFileAtomically(target, bytesOf("old"), plain));
    ASSERT_TRUE(writeFileAtomically(backup, bytesOf("older"), plain));
    WriteOptions options{.failStep = [&](FileStep s) { return s == c.step ? c.error : 0; }};
    const FileWrite written = writeFileAtomically(target, bytesOf("new"), options);
    const bool saved = *c.reason == '\0';
    SCOPED_TRACE(static_cast<int>(c.step));
    EXPECT_EQ(written.failure, c.reason);
    EXPECT_EQ(written.backupNote.empty(), !saved);
    EXPECT_EQ(textOf(*readWholeFile(target)), saved ? "new" : "old");
    // NAME.bak changes only when the new file has the name.
    EXPECT_EQ(textOf(*readWholeFile(backup)), "older");
    EXPECT_EQ(entries(), 2u);
  }
}

TEST_F(FileIo, ABackupThatIsAlreadyTheSameFileLeavesNoHiddenName) {
  const fs::path target = dir_ / "list.wdb";
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("old")));
  fs::create_hard_link(target, dir_ / "list.wdb.bak");
  const FileWrite written = writeFileAtomically(target, bytesOf("new"));
  ASSERT_TRUE(written) << written.failure;
  EXPECT_EQ(written.backupNote, "");
  EXPECT_EQ(textOf(*readWholeFile(dir_ / "list.wdb.bak")), "old");
  EXPECT_EQ(entries(), 2u);
}

TEST_F(FileIo, ASaveRefusedInAStickySharedFolderLeavesNothingBehind) {
  // Another user's file in a folder like /tmp: only its owner may replace it.
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
  ASSERT_EQ(::chmod(dir_.c_str(), 01777), 0);
  const fs::path target = dir_ / "list.wdb";
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("old")));
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const pid_t child = ::fork();
    if (child == 0) {
      const bool refused =
          ::setuid(65534) == 0 &&
          writeFileAtomically(target, bytesOf("new")).failure == "Operation not permitted.";
      ::_exit(refused ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(textOf(*readWholeFile(target)), "old");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(FileIo, ABackupThatCannotBeMadeDoesNotStopTheSave) {
  const fs::path target = dir_ / "list.wdb";
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("old")));
  fs::create_directories(dir_ / "list.wdb.bak" / "inside");
  FileWrite written = writeFileAtomically(target, bytesOf("new"));
  ASSERT_TRUE(written);
  EXPECT_EQ(textOf(*readWholeFile(target)), "new");
  EXPECT_TRUE(written.backupNote.starts_with("The previous version could not be kept as " +
                                             (dir_ / "list.wdb.bak").string() + ": "))
      << written.backupNote;

  // A name that fits a folder entry saves, through a shorter temporary
  // name; its backup name no longer fits.
  const fs::path longest = dir_ / std::string(255, 'n');
  ASSERT_TRUE(writeFileAtomically(longest, bytesOf("one")));
  written = writeFileAtomically(longest, bytesOf("two"));
  ASSERT_TRUE(written) << written.failure;
  EXPECT_TRUE(written.backupNote.ends_with(": File name too long.")) << written.backupNote;
  EXPECT_EQ(textOf(*readWholeFile(longest)), "two");
  EXPECT_EQ(entries(), 3u);
}

TEST_F(FileIo, MissingEmptyAndOversizedFilesAreNotData) {
  EXPECT_FALSE(readWholeFile(dir_ / "nothing.wdb"));
  EXPECT_EQ(fileSizeOrZero(dir_ / "nothing.wdb"), 0u);
  EXPECT_EQ(fileSizeOrZero(dir_), 0u);
  std::ofstream(dir_ / "empty.wdb").close();
  EXPECT_EQ(fileSizeOrZero(dir_ / "empty.wdb"), 0u);
  std::ofstream(dir_ / "big.wdb") << std::string(100, 'x');
  EXPECT_FALSE(readWholeFile(dir_ / "big.wdb", 99));
  EXPECT_TRUE(readWholeFile(dir_ / "big.wdb", 100));
}

TEST(OpenPath, ExtensionDecidesTheKindInAnyCase) {
  EXPECT_EQ(classifyOpenPath("/data/list.wdb"), OpenKind::Wdb);
  EXPECT_EQ(classifyOpenPath("/data/LIST.WDB"), OpenKind::Wdb);
  EXPECT_EQ(classifyOpenPath("/data/LIST.WDB.old"), OpenKind::Unsupported);
  EXPECT_EQ(classifyOpenPath("/data/hotbird.sdx"), OpenKind::Sdx);
  EXPECT_EQ(classifyOpenPath("/data/hotbird.sdx.txt"), OpenKind::Sdx);
  EXPECT_EQ(classifyOpenPath("/data/HOTBIRD.Sdx.TXT"), OpenKind::Sdx);
  EXPECT_EQ(classifyOpenPath("/data/hotbird.txt"), OpenKind::Unsupported);
  EXPECT_EQ(classifyOpenPath("/data/HOTBIRD.SDX"), OpenKind::Sdx);
  EXPECT_EQ(classifyOpenPath("/data/noextension"), OpenKind::Unsupported);
  EXPECT_EQ(classifyOpenPath("/data/wdb"), OpenKind::Unsupported);
}

}  // namespace velmora
