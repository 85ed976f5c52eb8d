// Loading a database file by name: each refusal has the kind its callers
// decide by, in the window's words and in the command line's, and a file
// that loads gives what the reader gives.
#include "wdb/load.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <utility>

#include "support/db_builders.h"
#include "texts.h"
#include "wdb/file_io.h"

namespace velmora::wdb {
using namespace velmora::test;
namespace fs = std::filesystem;

namespace {

fs::path dir() {
  return fs::temp_directory_path() /
         ("velmora-load-" +
          std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
}

std::vector<std::byte> image(ChannelDb db) {
  int counter = 0;
  return writeWdb(db, Layout::TypeI, FavouriteList{}, counter).bytes;
}

bool sameContent(const ChannelDb& a, const ChannelDb& b) {
  return a.satCount == b.satCount && a.sats == b.sats && a.tpTables == b.tpTables &&
         a.svcTables == b.svcTables;
}

std::pair<FailureKind, std::string> refusal(const fs::path& file, bool commandLine) {
  LoadOptions options;
  options.commandLine = commandLine;
  const ReadResult r = loadDatabaseFile(file.string(), options);
  return {r.failure.kind, r.failure.message};
}

}  // namespace

TEST(Load, RefusalsHaveTheKindTheirCallersDecideBy) {
  fs::remove_all(dir());
  fs::create_directories(dir() / "folder.wdb");
  const std::vector<std::byte> good = image(makeDb(2, 2, 2));
  std::vector<std::byte> tooMany = good;
  tooMany[2] = std::byte{0x41};  // 1601 transponders
  tooMany[3] = std::byte{0x06};
  ASSERT_TRUE(writeFileAtomically(dir() / "empty.wdb", {}));
  ASSERT_TRUE(writeFileAtomically(dir() / "list.txt", good));
  ASSERT_TRUE(writeFileAtomically(dir() / "long.wdb", std::vector<std::byte>(MAX_FILE_BYTES + 1)));
  ASSERT_TRUE(
      writeFileAtomically(dir() / "junk.wdb", bytesOf(std::string("\x40\0\0\0\0\0junk", 10))));
  ASSERT_TRUE(writeFileAtomically(dir() / "many.wdb", tooMany));

  using enum FailureKind;
  const std::string noData(text::NO_DATA_IN_FILE), notAFormat(text::NOT_A_FORMAT);
  // The path as the system spells it, with backslashes on Windows.
  auto cannotRead = [](const char* name) {
    return std::string(text::CANNOT_READ) + (dir() / name).string();
  };
  const struct {
    const char* name;
    std::pair<FailureKind, std::string> window, commandLine;
  } cases[] = {
      {"missing.wdb",
       {Empty, noData},
       {Missing, cannotRead("missing.wdb") + ": No such file or directory."}},
      {"folder.wdb", {Empty, noData}, {Missing, cannotRead("folder.wdb") + ": It is a folder."}},
      {"empty.wdb", {Empty, noData}, {Empty, noData}},
      {"list.txt", {None, ""}, {Unsupported, std::string(text::SUPPORT_FILE)}},
      {"long.wdb", {TooLong, notAFormat}, {TooLong, notAFormat}},
      {"junk.wdb", {NotAFormat, notAFormat}, {NotAFormat, notAFormat}},
      {"many.wdb",
       {OverLimits, std::string(text::MAX_TP)},
       {OverLimits, std::string(text::MAX_TP)}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(refusal(dir() / c.name, false), c.window) << c.name;
    EXPECT_EQ(refusal(dir() / c.name, true), c.commandLine) << c.name;
  }
  fs::remove_all(dir());
}

// Loaded by name, a file gives the reader's database, layout and lost
// counts; with the window's option its unnamed channels, and nothing else,
// become "....".
TEST(Load, ALoadedFileIsWhatTheReaderGivesWithUnnamedChannelsNamedOnRequest) {
  fs::remove_all(dir());
  fs::create_directories(dir());
  std::mt19937 rng(2312);
  for (int round = 0; round < 20; ++round) {
    ChannelDb db = makeDb(1 + static_cast<int>(rng() % 4), 3, 1 + static_cast<int>(rng() % 9));
    for (int s = 0; s < db.satCount; ++s)
      for (SvcRecord& v : db.svcTables[s])
        if (rng() % 3 == 0) v.name.clear();
    const std::vector<std::byte> bytes = image(db);
    ASSERT_TRUE(writeFileAtomically(dir() / "db.wdb", bytes));
    const ReadResult read = readWdb(bytes);
    const ReadResult asFile = loadDatabaseFile((dir() / "db.wdb").string());
    ASSERT_TRUE(asFile.ok());
    EXPECT_TRUE(sameContent(asFile.db, read.db));
    EXPECT_EQ(asFile.layout, read.layout);
    EXPECT_EQ(asFile.lostChannels, read.lostChannels);

    LoadOptions dots;
    dots.unnamedChannelsAsDots = true;
    ChannelDb expected = read.db;
    for (int s = 0; s < expected.satCount; ++s)
      for (SvcRecord& v : expected.svcTables[s]) v.name = v.name.empty() ? "...." : v.name;
    EXPECT_TRUE(sameContent(loadDatabaseFile((dir() / "db.wdb").string(), dots).db, expected));
  }
  fs::remove_all(dir());
}

}  // namespace velmora::wdb
