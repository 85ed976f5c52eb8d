#include "wdb/file_io.h"

#include <gtest/gtest.h>

#include <fstream>

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

TEST_F(FileIo, WritesReplacesAndReadsBackWithoutLeavingTemporaries) {
  const fs::path target = dir_ / "list.wdb";
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("first")));
  ASSERT_TRUE(writeFileAtomically(target, bytesOf("second")));
  EXPECT_EQ(textOf(*readWholeFile(target)), "second");
  EXPECT_EQ(fileSizeOrZero(target), 6u);
  EXPECT_EQ(entries(), 1u);
}

TEST_F(FileIo, AFailedWriteLeavesTheOldFileAlone) {
  // A target that is a folder cannot be replaced by a file.
  const fs::path folder = dir_ / "taken.wdb";
  fs::create_directory(folder);
  EXPECT_FALSE(writeFileAtomically(folder, bytesOf("data")));
  EXPECT_TRUE(fs::is_directory(folder));
  // A folder that does not exist cannot hold the temporary file.
  EXPECT_FALSE(writeFileAtomically(dir_ / "missing" / "x.wdb", bytesOf("data")));
  EXPECT_EQ(entries(), 1u);
}

TEST_F(FileIo, MissingEmptyAndOversizedFilesAreNotData) {
  EXPECT_FALSE(readWholeFile(dir_ / "nothing.wdb"));
  EXPECT_EQ(fileSizeOrZero(dir_ / "nothing.wdb"), 0u);
  EXPECT_EQ(fileSizeOrZero(dir_), 0u);
  std::ofstream(dir_ / "empty.wdb").close();
  EXPECT_EQ(fileSizeOrZero(dir_ / "empty.wdb"), 0u);
  ASSERT_TRUE(writeFileAtomically(dir_ / "big.wdb", bytesOf(std::string(100, 'x'))));
  EXPECT_FALSE(readWholeFile(dir_ / "big.wdb", 99));
  EXPECT_TRUE(readWholeFile(dir_ / "big.wdb", 100));
}

TEST(OpenPath, ExtensionDecidesTheKindCaseSensitively) {
  EXPECT_EQ(classifyOpenPath("/data/list.wdb"), OpenKind::Wdb);
  EXPECT_EQ(classifyOpenPath("/data/LIST.WDB"), OpenKind::Unsupported);
  EXPECT_EQ(classifyOpenPath("/data/hotbird.sdx"), OpenKind::Sdx);
  EXPECT_EQ(classifyOpenPath("/data/hotbird.sdx.txt"), OpenKind::Sdx);
  EXPECT_EQ(classifyOpenPath("/data/hotbird.txt"), OpenKind::Unsupported);
  EXPECT_EQ(classifyOpenPath("/data/HOTBIRD.SDX"), OpenKind::Unsupported);
  EXPECT_EQ(classifyOpenPath("/data/noextension"), OpenKind::Unsupported);
}

}  // namespace velmora
