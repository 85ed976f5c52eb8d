// Update from listing...: satellites the database already holds are
// brought up to date from fresh SatcoDX listings, keeping what the user made
// of them (names, order, LNB and switch settings); a listing of a satellite
// the database lacks is added as the import adds it. The whole update is
// one undoable step; the matching is the core's (match/update.h).
#include <algorithm>

#include "editor/editor_dialog.h"
#include "editor/status_texts.h"
#include "match/update.h"
#include "resource_ids.h"
#include "texts.h"
#include "wdb/load.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

// The dialog that names the chosen listings and asks whether what they no
// longer have stays.
class UpdateDialog : public SubDialog {
 public:
  explicit UpdateDialog(std::string files) : files_(std::move(files)) {}
  int dialogId() const override { return IDD_UPDATE; }
  void onInit(Controls& c) override {
    keepMissing = false;
    c.setText(IDC_UPDATE_FILES, files_);
  }
  bool onCommand(Controls&, int commandId) override {
    switch (commandId) {
      case IDC_UPDATE_KEEP:
        // The check box turns itself over; its state is followed here.
        keepMissing = !keepMissing;
        return false;
      case ID_OK:
      case ID_CANCEL:
        result = commandId;
        return true;
      default:
        return false;
    }
  }
  bool keepMissing = false;

 private:
  std::string files_;
};

}  // namespace

void EditorDialog::updateFromListing() {
  const std::vector<std::string> chosen = prompts_.chooseFiles(text::UPDATE_FILTER);
  if (chosen.empty()) return;
  // Every listing is read and checked before anything is asked or changed.
  std::vector<match::ParsedListing> listings;
  std::string names;
  for (const std::string& path : chosen) {
    const wdb::FileBytes file = wdb::readInputFile(path, {}, {});
    if (!file.ok()) {
      warn(file.failure.message);
      return;
    }
    std::optional<match::ParsedListing> listing =
        match::parseListing(file.bytes, {.includeFeedTest = !skipFeedTest});
    if (!listing) {
      warn(std::string(fileName(path)) + std::string(text::NOT_A_LISTING));
      return;
    }
    listings.push_back(std::move(*listing));
    names += (names.empty() ? "" : ", ") + std::string(fileName(path));
  }
  UpdateDialog dialog(std::string(text::UPDATE_FROM) + names + "?");
  if (prompts_.runModal(dialog) != ID_OK) return;

  match::UpdateResult result = match::updateFromListings(
      db, listings, {.keepMissing = dialog.keepMissing, .includeFeedTest = !skipFeedTest});
  if (!result.done()) {
    // Refused: the receiver's limits; the database is as it was.
    for (const std::string& message : result.messages) warn(message);
    return;
  }
  db = std::move(result.db);
  for (const match::SatelliteUpdate& sat : result.satellites)
    if (sat.position >= 1 && sat.position <= db.satCount)
      wdb::nameUnnamedChannels(db.svcTables[static_cast<std::size_t>(sat.position - 1)]);

  // The window shows the first satellite updated; what was picked is let
  // go, as its rows may be gone.
  clearPick();
  clearEditPanel();
  if (!result.satellites.empty()) showSatellite(result.satellites.front().position - 1);
  lists_.rewriteSatelliteCombos();
  followShownSatellite();
  refillTab(curTab);

  std::vector<std::string> lines;
  for (const match::SatelliteUpdate& sat : result.satellites) lines.push_back(updateStatus(sat));
  if (lines.size() == 1) {
    say(lines.front());
    return;
  }
  std::string report;
  for (const std::string& line : lines) report += (report.empty() ? "" : "\n") + line;
  say(updatedSatellitesStatus(static_cast<int>(lines.size())));
  prompts_.message(report, text::UPDATE_REPORT_CAPTION, Buttons::Ok, Icon::Information);
}

}  // namespace velmora::editor
