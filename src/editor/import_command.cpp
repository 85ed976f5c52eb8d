// A SatcoDX listing chosen in Open: imported as one more satellite.
#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "sdx/import.h"
#include "texts.h"
#include "wdb/file_io.h"

namespace velmora::editor {

using namespace velmora::res;

void EditorDialog::importListing() {
  const std::optional<std::vector<std::byte>> bytes = readWholeFile(filePath);
  if (!bytes) {
    // The file vanished or cannot be read since Open looked at it: add nothing.
    warn(text::NO_DATA_IN_FILE);
    return;
  }
  const ImportResult result = importSdx(db, *bytes, skipFeedTest != 0);
  for (const std::string& message : result.messages) warn(message);
  if (!result.added) return;

  const int s = db.satCount - 1;
  for (int i = 0; i < db.satCount; ++i) {
    const std::string& name = db.sats[static_cast<std::size_t>(i)].name;
    for (int combo : {IDC_TP_SAT, IDC_SVC_SAT}) {
      controls_.comboDelete(combo, i);
      controls_.comboInsert(combo, i, name);
    }
  }
  refillTab(curTab);
  refreshInfoPanel(s);
}

}  // namespace velmora::editor
