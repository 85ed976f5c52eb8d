#include "sdx/favourites.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "sdx/program_files.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// A scratch folder that is removed again.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = fs::temp_directory_path() / ("velmora-fav-" + std::to_string(rd()));
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  void write(const fs::path& relative, std::string_view content) const {
    fs::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << content;
  }

 private:
  fs::path path_;
};

using Entries = std::vector<std::string>;

TEST(FavouriteList, ReadingAndPrefixMatching) {
  const FavouriteList list = parseFavouriteList("Hotbird\nAstra\n");
  EXPECT_EQ(favouriteLine(list, "Hotbird 13E"), 1);
  EXPECT_EQ(favouriteLine(list, "Astra 2A"), 2);
  EXPECT_EQ(favouriteLine(list, "Eutelsat W2"), 0);
  EXPECT_EQ(favouriteLine(list, "hotbird"), 0);
  // Trailing blanks belong to the entry.
  EXPECT_EQ(favouriteLine(parseFavouriteList("Hotbird \n"), "Hotbird"), 0);
  // CR LF is one newline; a last line without one loses a real letter.
  EXPECT_EQ(parseFavouriteList("Thor\r\nAstra").entries, (Entries{"Thor", "Astr"}));
  // An empty line, or one starting with NUL, matches every name.
  EXPECT_EQ(parseFavouriteList(std::string("\nX\0Y\n", 5)).entries, (Entries{"", ""}));
  EXPECT_EQ(favouriteLine(parseFavouriteList("Thor\n\n"), "NEW 5"), 2);
  // A line longer than one read gives two entries.
  EXPECT_EQ(parseFavouriteList(std::string(150, 'a') + "\n").entries,
            (Entries{std::string(98, 'a'), std::string(51, 'a')}));

  std::string seventy;
  for (int i = 1; i <= 70; ++i) seventy += "Sat" + std::to_string(i) + "x\n";
  EXPECT_EQ(favouriteLine(parseFavouriteList(seventy), "Sat64x"), 64);
  EXPECT_EQ(favouriteLine(parseFavouriteList(seventy), "Sat65x"), 0);
}

TEST(FavouriteFolder, FindsTheListFileByNameAndSpelling) {
  TempDir dir;
  EXPECT_TRUE(loadFavouritesBesideProgram(dir.path() / "nowhere").entries.empty());
  dir.write("favor/satlist2.sdx", "Astra\n");
  dir.write("favor/satlist1.txt", "Astra\n");
  EXPECT_TRUE(loadFavouritesBesideProgram(dir.path()).entries.empty());
  dir.write("favor/satlist1.sdx", "Astra\n");
  dir.write("favor/my_satlist1.sdx", "Thor\n");  // first in name order
  EXPECT_EQ(loadFavouritesBesideProgram(dir.path()).entries, Entries{"Thor"});
  EXPECT_EQ(loadFavouritesFromFolder(dir.path() / "favor").entries, Entries{"Thor"});

  // Upper-case spellings are found where lower case finds no file; a
  // folder named like a list file is not one.
  TempDir upper;
  upper.write("FAVOR/SATLIST1.SDX", "Hotbird\n");
  // Where the file system ignores case (Windows) both spellings are one.
  if (fs::exists(upper.path() / "favor" / "satlist1.sdx")) return;
  fs::create_directories(upper.path() / "favor" / "satlist1.sdx");
  EXPECT_EQ(loadFavouritesBesideProgram(upper.path()).entries, Entries{"Hotbird"});
}

TEST(FavouriteFolder, InstalledListIsWellFormed) {
  std::ifstream in(fs::path(VELMORA_FAVOR_DIR) / "satlist1.sdx", std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(raw.empty());
  EXPECT_EQ(raw.back(), '\n');
  EXPECT_EQ(raw.find("\n\n"), std::string::npos);
  EXPECT_EQ(raw.find(" \n"), std::string::npos);
  EXPECT_EQ(raw.find('\r'), std::string::npos);

  const FavouriteList list = loadFavouritesFromFolder(VELMORA_FAVOR_DIR);
  ASSERT_FALSE(list.entries.empty());
  EXPECT_LE(list.entries.size(), 64u);
  EXPECT_EQ(favouriteLine(list, "Hotbird 13E"), 1);
  for (int i = 1; i <= 63; ++i) EXPECT_EQ(favouriteLine(list, "NEW " + std::to_string(i)), 0);
}

TEST(ProgramFiles, InstalledProgramFindsItsFilesUnderShare) {
  TempDir prefix;
  fs::create_directories(prefix.path() / "bin");
  prefix.write("share/velmora/favor/satlist1.sdx", "Hotbird\n");
  const fs::path folder = programFilesFolder(prefix.path() / "bin");
  EXPECT_EQ(folder, prefix.path() / "share" / "velmora");
  EXPECT_EQ(loadFavouritesBesideProgram(folder).entries, Entries{"Hotbird"});
  EXPECT_EQ(programFilesFolder(prefix.path() / "bin/"), folder);
}

TEST(ProgramFiles, FilesBesideTheProgramComeFirst) {
  TempDir tree;
  tree.write("share/velmora/favor/satlist1.sdx", "Astra\n");
  tree.write("bin/Velmora.html", "<html></html>");
  EXPECT_EQ(programFilesFolder(tree.path() / "bin"), tree.path() / "bin");
  // A folder not called bin is a build tree or an unpacked folder.
  tree.write("build/FAVOR/SATLIST1.SDX", "Astra\n");
  EXPECT_EQ(programFilesFolder(tree.path() / "build"), tree.path() / "build");
  fs::create_directories(tree.path() / "other");
  EXPECT_EQ(programFilesFolder(tree.path() / "other"), tree.path() / "other");
}

}  // namespace
}  // namespace velmora
