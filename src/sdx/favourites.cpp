#include "sdx/favourites.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>
#include <utility>

#include "db/path_text.h"
#include "sdx/text_reads.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

// 64 reads of at most 99 characters each, plus one raw byte per read for the
// CR of a CR LF: nothing after this can become an entry.
constexpr std::size_t LIST_BYTES_USED =
    static_cast<std::size_t>(FAVOURITE_MAX_LINES) * (FAVOURITE_READ_CHARS + 1);

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Regular files of `folder` whose name ends with `extension`, in name order.
// A missing or unreadable folder has none.
std::vector<fs::path> filesWithExtension(const fs::path& folder, std::string_view extension) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    if (endsWith(utf8FromPath(it->path().filename()), extension)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The favourite list among the scanned files: the first whose name holds
// "satlist1" or "SATLIST1"; other numbers are lists of other purposes.
FavouriteList readListAmong(const std::vector<fs::path>& files) {
  for (const fs::path& file : files) {
    const std::string name = utf8FromPath(file.filename());
    if (name.find("satlist1") == std::string::npos && name.find("SATLIST1") == std::string::npos) {
      continue;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::string content(LIST_BYTES_USED, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return parseFavouriteList(content);
  }
  return {};
}

}  // namespace

FavouriteList parseFavouriteList(std::string_view content) {
  FavouriteList list;
  for (std::string& line :
       detail::textModeReads(content, FAVOURITE_READ_CHARS, FAVOURITE_MAX_LINES)) {
    // Every read loses its last character: normally the newline, but on a
    // last line without one its last letter.
    std::string_view entry = detail::untilNul(line);
    if (!entry.empty()) entry.remove_suffix(1);
    line.resize(entry.size());
    list.entries.push_back(std::move(line));
  }
  return list;
}

FavouriteList loadFavouritesBesideProgram(const fs::path& programDir) {
  // On a file system that tells case apart the folder and the files may be
  // spelt either way; the first spelling that finds a file is used.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> SPELLINGS = {{
      {"favor", ".sdx"},
      {"FAVOR", ".SDX"},
      {"favor", ".SDX"},
      {"FAVOR", ".sdx"},
  }};
  for (const auto& [folder, extension] : SPELLINGS) {
    const std::vector<fs::path> files = filesWithExtension(programDir / folder, extension);
    if (!files.empty()) return readListAmong(files);
  }
  return {};
}

FavouriteList loadFavouritesFromFolder(const fs::path& folder) {
  for (std::string_view extension : {std::string_view(".sdx"), std::string_view(".SDX")}) {
    const std::vector<fs::path> files = filesWithExtension(folder, extension);
    if (!files.empty()) return readListAmong(files);
  }
  return {};
}

int favouriteLine(const FavouriteList& list, std::string_view name) {
  int line = 0;
  for (const std::string& entry : list.entries) {
    ++line;
    if (name.starts_with(entry)) return line;
  }
  return 0;
}

}  // namespace velmora
