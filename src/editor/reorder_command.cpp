// Apply order from...: the open database takes the order of another one (a
// receiver's older list, a dealer's file), as one undoable step. The
// matching itself is the core's (match/match.h).
#include <algorithm>

#include "db/path_text.h"
#include "editor/editor_dialog.h"
#include "json/json_db.h"
#include "match/match.h"
#include "resource_ids.h"
#include "texts.h"
#include "wdb/file_io.h"
#include "wdb/open_path.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

// The reference database, or the message why it cannot be read.
std::optional<ChannelDb> readReference(const std::string& path, std::string& refusal) {
  const bool json = hasExtension(path, "json");
  const std::filesystem::path file = pathFromUtf8(path);
  const std::uintmax_t size = fileSizeOrZero(file);
  if (size == 0) {
    refusal = text::NO_DATA_IN_FILE;
    return std::nullopt;
  }
  const std::size_t limit = json ? cli::MAX_JSON_BYTES : wdb::MAX_FILE_BYTES;
  if (size > limit) {
    refusal = json ? cli::jsonTooLongRefusal(path) : std::string(text::NOT_A_FORMAT);
    return std::nullopt;
  }
  const std::optional<std::vector<std::byte>> bytes = readWholeFile(file, limit);
  if (!bytes) {
    refusal = text::NO_DATA_IN_FILE;
    return std::nullopt;
  }
  ChannelDb ref;
  if (json) {
    cli::JsonDocument doc =
        cli::parseDatabaseJson({reinterpret_cast<const char*>(bytes->data()), bytes->size()}, path);
    refusal = doc.ok() ? cli::fillDatabase(std::move(doc), ref) : doc.message;
  } else {
    wdb::ReadResult read = wdb::readWdb(*bytes);
    refusal = read.message;
    ref = std::move(read.db);
  }
  if (!refusal.empty()) return std::nullopt;
  return ref;
}

}  // namespace

void EditorDialog::applyOrderFrom() {
  if (db.satCount == 0) {
    warn(text::NO_DATA);
    return;
  }
  const std::optional<std::string> chosen =
      prompts_.chooseFile(FilePurpose::Open, text::APPLY_ORDER_FILTER);
  if (!chosen || chosen->empty()) return;
  std::string refusal;
  const std::optional<ChannelDb> ref = readReference(*chosen, refusal);
  if (!ref) {
    warn(refusal);
    return;
  }
  const match::ReorderReport report = match::reorderLike(db, *ref);
  if (!report.changed) return;
  // The satellite on show stays on show, wherever it went; picks follow
  // their entries when the window settles after the command.
  const auto it =
      std::find(report.satelliteOrder.begin(), report.satelliteOrder.end(), view_.shownSat);
  if (it != report.satelliteOrder.end())
    view_.shownSat = static_cast<int>(it - report.satelliteOrder.begin());
  rewriteSatelliteCombos();
  refillTab(curTab);
}

}  // namespace velmora::editor
