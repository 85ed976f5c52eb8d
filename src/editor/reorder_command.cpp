// Apply order from...: the open database takes the order of another one (a
// receiver's older list, a dealer's file), as one undoable step. The
// matching itself is the core's (match/match.h).
#include <algorithm>

#include "editor/editor_dialog.h"
#include "editor/status_texts.h"
#include "json/json_db.h"
#include "match/match.h"
#include "resource_ids.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

void EditorDialog::applyOrderFrom() {
  if (db.satCount == 0) {
    warn(text::NO_DATA);
    return;
  }
  const std::optional<std::string> chosen =
      prompts_.chooseFile(FilePurpose::Open, text::APPLY_ORDER_FILTER);
  if (!chosen || chosen->empty()) return;
  // The reference is matched with its names as its file has them; one
  // without satellites changes nothing.
  const wdb::ReadResult ref = json::loadReferenceFile(*chosen);
  if (!ref.ok()) {
    warn(ref.failure.message);
    return;
  }
  const match::ReorderReport report = match::reorderLike(db, ref.db);
  say(orderStatus(*chosen, report));
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
