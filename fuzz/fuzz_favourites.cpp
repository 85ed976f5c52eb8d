// The favourite list: any bytes as the list file's contents, and any set of
// file names in the favourite folder beside the program.
//
// Input: a first line of up to four file names separated by '|' (made in
// a fresh folder under "favor" or "FAVOR", chosen by the first byte's low
// bit); the rest is the contents of every one of them.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "sdx/favourites.h"

namespace {

namespace fs = std::filesystem;

const fs::path& sandbox() {
  static const fs::path dir = velmora::fuzz::makeSandbox("favourites");
  return dir;
}

void checkList(const velmora::FavouriteList& list) {
  velmora::fuzz::check(list.entries.size() <= velmora::FAVOURITE_MAX_LINES, "at most 64 lines");
  for (const std::string& e : list.entries) {
    velmora::fuzz::check(e.size() < velmora::FAVOURITE_READ_CHARS, "an entry is one read");
  }
  // Every entry matches a name that begins with it, at its line or earlier.
  int line = 0;
  for (const std::string& e : list.entries) {
    ++line;
    const int found = velmora::favouriteLine(list, e + " 13E");
    velmora::fuzz::check(found >= 1 && found <= line, "an entry finds its own line");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  checkList(velmora::parseFavouriteList(input));

  const std::size_t eol = input.find('\n');
  if (eol == std::string_view::npos || eol > 200) return 0;
  const std::string_view names = input.substr(0, eol);
  const std::string_view contents = input.substr(eol + 1);
  std::error_code ec;
  fs::remove_all(sandbox(), ec);
  const fs::path folder = sandbox() / (size > 0 && (data[0] & 1) ? "FAVOR" : "favor");
  fs::create_directories(folder, ec);
  std::size_t start = 0;
  for (int files = 0; files < 4 && start <= names.size(); ++files) {
    const std::size_t bar = std::min(names.find('|', start), names.size());
    const std::string name(names.substr(start, bar - start));
    start = bar + 1;
    // Names stay inside the folder.
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
      continue;
    }
    std::ofstream(folder / name, std::ios::binary) << contents;
  }
  checkList(velmora::loadFavouritesBesideProgram(sandbox()));
  checkList(velmora::loadFavouritesFromFolder(folder));
  return 0;
}
