// The favourite list: a text file of satellite names, one per line, in the
// folder "favor" next to the program. The writer numbers the placeholder
// satellite slots of a *.wdb file by the line their name begins with.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct FavouriteList {
  // At most the first 64 entries, each line without its last character.
  std::vector<std::string> entries;
};

inline constexpr int FAVOURITE_MAX_LINES = 64;
inline constexpr int FAVOURITE_READ_CHARS = 99;

// Entries from the bytes of a list file: lines of at most 99 characters
// (CR LF counts as one newline), each losing its last character.
FavouriteList parseFavouriteList(std::string_view content);

// Looks in the program's folder for favor/*.sdx (then FAVOR/*.SDX,
// favor/*.SDX, FAVOR/*.sdx, the first spelling that finds a file), visits the
// files in name order and reads the first whose name contains "satlist1" or
// "SATLIST1". An empty list when there is none.
FavouriteList loadFavouritesBesideProgram(const std::filesystem::path& programDir);

// The same search inside a given favourite folder (*.sdx, then *.SDX).
FavouriteList loadFavouritesFromFolder(const std::filesystem::path& folder);

// 1-based number of the first entry that `name` begins with, 0 for none.
int favouriteLine(const FavouriteList& list, std::string_view name);

}  // namespace velmora
