// Files the desktop hands over (the command line, a drop on the window) and
// the recent files at the end of the File menu.
#include <algorithm>
#include <filesystem>

#include "db/path_text.h"
#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "texts.h"
#include "wdb/file_io.h"
#include "wdb/open_path.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {
// The setting holding the recent files, one path a line.
constexpr std::string_view RECENT_KEY = "recentFiles";

// A path as a whole path from the file system's root; one that is whole
// already is kept as it was given.
std::string absolutePath(const std::string& path) {
  const std::filesystem::path p = pathFromUtf8(path);
  if (p.is_absolute()) return path;
  std::error_code ec;
  const std::filesystem::path whole = std::filesystem::absolute(p, ec);
  return ec ? path : utf8FromPath(whole.lexically_normal());
}

// A path as a menu item's text: an ampersand in it is shown, not taken as
// the mark of the key that chooses the item.
std::string menuTextOf(const std::string& path) {
  std::string text;
  for (const char c : path) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}
}  // namespace

void EditorDialog::openPaths(const std::vector<std::string>& given) {
  if (given.empty() || loaderBusy || drag_.active()) return;
  // Named relative to the folder the program started in: kept as whole
  // paths, so that the recent files open the same files from anywhere.
  std::vector<std::string> paths;
  for (const std::string& path : given) paths.push_back(absolutePath(path));
  const bool allListings = std::all_of(paths.begin(), paths.end(), [](const std::string& p) {
    return classifyOpenPath(p) == OpenKind::Sdx;
  });
  if (!allListings || paths.size() == 1) {
    asStep([&] { openChosenFile(paths.front()); });
  } else {
    // Each listing is one more satellite and one step of its own.
    for (const std::string& path : paths) asStep([&] { openChosenFile(path); });
  }
  settleView();
}

void EditorDialog::rememberRecentFile(const std::string& given) {
  if (given.empty()) return;
  const std::string path = absolutePath(given);
  recentFiles_.erase(std::remove(recentFiles_.begin(), recentFiles_.end(), path),
                     recentFiles_.end());
  recentFiles_.insert(recentFiles_.begin(), path);
  if (recentFiles_.size() > static_cast<std::size_t>(RECENT_FILES))
    recentFiles_.resize(RECENT_FILES);
  std::string joined;
  for (const std::string& file : recentFiles_) joined += file + "\n";
  prompts_.setSetting(RECENT_KEY, joined);
  showRecentFiles();
}

void EditorDialog::showRecentFiles() {
  for (int i = 0; i < RECENT_FILES; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const bool shown = at < recentFiles_.size();
    if (shown) {
      // "&1 path": the digit chooses the item from the keyboard.
      controls_.menuSetText(ID_FILE_RECENT1 + i,
                            "&" + std::to_string(i + 1) + " " + menuTextOf(recentFiles_[at]));
    }
    controls_.menuShow(ID_FILE_RECENT1 + i, shown);
  }
}

void EditorDialog::openRecentFile(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= recentFiles_.size()) return;
  const std::string path = recentFiles_[static_cast<std::size_t>(index)];
  // A file gone since (moved, deleted, a drive not there) says why and may
  // leave the list.
  const std::string reason = whyUnreadable(pathFromUtf8(path), SIZE_MAX);
  if (reason.empty()) {
    openChosenFile(path);
    return;
  }
  const Answer a = prompts_.message(
      std::string(text::CANNOT_READ) + path + ": " + reason + std::string(text::REMOVE_RECENT),
      text::RECENT_CAPTION, Buttons::YesNo, Icon::Question);
  if (a != Answer::Yes) return;
  recentFiles_.erase(recentFiles_.begin() + index);
  std::string joined;
  for (const std::string& file : recentFiles_) joined += file + "\n";
  prompts_.setSetting(RECENT_KEY, joined);
  showRecentFiles();
}

}  // namespace velmora::editor
