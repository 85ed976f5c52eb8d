// A SatcoDX listing chosen in Open: imported as one more satellite.
#include <algorithm>

#include "editor/editor_dialog.h"
#include "editor/status_texts.h"
#include "resource_ids.h"
#include "sdx/import.h"
#include "texts.h"
#include "wdb/load.h"

namespace velmora::editor {

using namespace velmora::res;

void EditorDialog::importListing() {
  const wdb::FileBytes file = wdb::readInputFile(filePath, {}, {});
  if (!file.ok()) {
    // The file vanished or cannot be read since Open looked at it: add nothing.
    warn(file.failure.message);
    return;
  }
  const std::vector<std::byte>& bytes = file.bytes;
  // A file of another kind named like a listing is refused as Open refuses
  // any unsupported file: nothing is shown as opened.
  if (!isSdxListing(bytes)) {
    warn(text::SUPPORT_FILE);
    return;
  }
  // The File line and the title keep naming the database's file: a listing
  // is only read into it.
  const ImportResult result = importSdx(db, bytes, skipFeedTest);
  for (const std::string& message : result.messages) warn(message);
  if (db.satCount == 0) return;

  if (result.added) {
    // The new satellite is the one the window shows, its unnamed channels
    // kept as "...." as a loaded database's are.
    wdb::nameUnnamedChannels(db.svcTables[static_cast<std::size_t>(db.satCount - 1)]);
    // The window turns to the new satellite: what was picked is let go.
    clearPick();
    clearEditPanel();
    showSatellite(db.satCount - 1);
    lists_.rewriteSatelliteCombos();
    say(importStatus(filePath, result.counts));
  }
  // Refused or not, the list, its SAT Name box and the information panel
  // show one satellite that exists.
  followShownSatellite();
  refillTab(curTab);
}

}  // namespace velmora::editor
