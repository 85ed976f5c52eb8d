// The road of a file through the window: Open (a receiver database or a
// SatcoDX listing), the loading worker, Save, New and the clear operation.
#include <filesystem>
#include <memory>

#include "db/path_text.h"
#include "editor/editor_dialog.h"
#include "editor/status_texts.h"
#include "editor/trace.h"
#include "resource_ids.h"
#include "sdx/favourites.h"
#include "sdx/program_files.h"
#include "texts.h"
#include "wdb/file_io.h"
#include "wdb/load.h"
#include "wdb/open_path.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

// The first satellite whose table of the given kind has rows, or 0.
int firstSatelliteWith(const ChannelDb& db, bool transponders) {
  for (int s = 0; s < db.satCount; ++s) {
    const auto i = static_cast<std::size_t>(s);
    if ((transponders ? db.tpTables[i].count() : db.svcTables[i].count()) > 0) return s;
  }
  return 0;
}

}  // namespace

void EditorDialog::openFile() { openChosenFile(std::nullopt); }

// Open with the file already chosen (on the command line, dropped on the
// window, from the recent files) or, without one, chosen in the dialog.
// Either way the same checks and questions follow.
void EditorDialog::openChosenFile(std::optional<std::string> chosen) {
  if (!chosen) chosen = prompts_.chooseFile(FilePurpose::Open, text::OPEN_FILTER);
  if (!chosen) return;
  trace::mark(trace::OPEN_CHOSEN);
  filePath = *chosen;
  // A save offered on the way changes filePath; the chosen file is still
  // the one to load.
  const std::string toOpen = *chosen;

  if (fileSizeOrZero(pathFromUtf8(filePath)) == 0) {
    warn(text::NO_DATA_IN_FILE);
    return;
  }
  switch (classifyOpenPath(filePath)) {
    case OpenKind::Sdx:
      // A listing becomes one more satellite; a database replaces them all.
      if (db.satCount + 1 > MAX_SATS) {
        warn(text::OPEN_SAT_RANGE);
        return;
      }
      importListing();
      return;
    case OpenKind::Unsupported:
      warn(text::SUPPORT_FILE);
      return;
    case OpenKind::Wdb:
      break;
  }

  if (db.satCount > 0 || db.countTransponders() > 0 || db.countServices() > 0) {
    const Answer a = prompts_.message(text::SAVE_BEFORE_OPENING, text::BEFORE_OPENING_CAPTION,
                                      Buttons::YesNoCancel, Icon::Information);
    if (a == Answer::Cancel) return;
    // A save the user asked for that did not happen (cancelled, refused or
    // failed) keeps the work and opens nothing.
    if (a == Answer::Yes && saveDatabase() != SaveOutcome::Saved) return;
    // The clearing asks once more when the changes are still unsaved.
    if (!clearDatabase(true)) return;
    clearEditFields();
    resetInfoPanel();
  }
  filePath = toOpen;
  showFileLine(filePath);
  startLoading();
}

// The file is read and decoded on a worker into a database no one else
// sees; the window installs the result when the worker is done. Until then
// every command that touches the database is refused.
void EditorDialog::startLoading() {
  resetDrag();
  loaderBusy = true;
  // What was there before is gone: nothing to undo into.
  history_.clear();
  const std::string path = filePath;
  prompts_.runInBackground([this, path]() -> std::function<void()> {
    wdb::LoadOptions options;
    options.unnamedChannelsAsDots = true;
    wdb::ReadResult result = wdb::loadDatabaseFile(path, options);
    return [this, r = std::make_shared<wdb::ReadResult>(std::move(result))]() mutable {
      finishLoading(std::move(*r));
    };
  });
}

void EditorDialog::finishLoading(wdb::ReadResult result) {
  if (!result.ok()) {
    // Over the receiver's limits, or with nothing to read, the database is
    // cleared; a file that is not a database leaves the (already empty)
    // database as it is.
    const FailureKind kind = result.failure.kind;
    if (kind != FailureKind::NotAFormat && kind != FailureKind::TooLong) {
      clearDatabase(false);
      showFileLine(filePath);
    }
    loaderBusy = false;
    history_.clear();
    markSavedState();
    applyTabDefaultsAfterLoad();
    settleView();
    warn(result.failure.message);
    return;
  }

  const std::string opened = openedStatus(filePath, result);
  db = std::move(result.db);
  view_ = ViewState{};
  wdbLayout = result.layout;
  clearPick();
  lists_.rewriteSatelliteCombos();

  switch (curTab) {
    case TAB_SATELLITE:
      showSatellite(0);
      refillSatelliteTab();
      view_.listedSat = 0;
      break;
    case TAB_TRANSPONDER:
      showSatellite(firstSatelliteWith(db, true));
      refillTransponderTab();
      break;
    default:
      showSatellite(firstSatelliteWith(db, false));
      refillChannelTab();
      break;
  }
  clearEditPanel();
  loaderBusy = false;
  rememberRecentFile(filePath);
  // After a load the database is the saved state, whatever came before.
  history_.clear();
  markSavedState();
  applyTabDefaultsAfterLoad();
  settleView();
  trace::mark(trace::LOAD_DONE);
  say(opened);
}

// A tab chosen while the file loaded gets its defaults now, as if it had
// been chosen after the load.
void EditorDialog::applyTabDefaultsAfterLoad() {
  if (!tabChangedWhileLoading_) return;
  tabChangedWhileLoading_ = false;
  if (curTab == TAB_SATELLITE) selectSatelliteDefaults(true);
}

void EditorDialog::showFileLine(const std::string& path) {
  shownFile_ = path;
  controls_.setPathText(IDC_FILE, path);
  // The line may show the path shortened; its tip always has all of it.
  controls_.setToolTip(IDC_FILE, path);
}

EditorDialog::SaveOutcome EditorDialog::saveDatabase() {
  if (db.satCount == 0) {
    warn(text::NO_DATA);
    return SaveOutcome::Cancelled;
  }
  const std::optional<std::string> chosen =
      prompts_.chooseFile(FilePurpose::Save, text::SAVE_FILTER);
  if (!chosen || chosen->empty()) return SaveOutcome::Cancelled;
  filePath = *chosen;
  // Any name but a database's gets the database's extension, so that Open
  // takes the file back ("out.txt" is saved as "out.txt.wdb").
  if (!hasExtension(filePath, "wdb")) filePath += ".wdb";

  if (pathExists(pathFromUtf8(filePath))) {
    const Answer a =
        prompts_.message(filePath + std::string(text::ALREADY_EXISTS), text::OVERWRITE_CAPTION,
                         Buttons::YesNoDefaultNo, Icon::Information);
    if (a != Answer::Yes) return SaveOutcome::Cancelled;
  }

  // The channel-overflow warning and a database too big for the older
  // layout come from the writer's own refusal. The writer cuts long names
  // and numbers the transponders in what it is given: a copy, which
  // becomes the database only once the file is written, so that a save
  // that fails leaves everything as it was.
  bool namesCut = false;
  for (int i = 0; i < db.satCount; ++i)
    namesCut |= db.sats[static_cast<std::size_t>(i)].name.size() > 16;
  const FavouriteList favourites = loadFavouritesBesideProgram(programFilesFolder(env_.programDir));
  ChannelDb saved = db;
  int codeCounter = satCodeCounter;
  const wdb::WriteResult image = wdb::writeWdb(saved, wdbLayout, favourites, codeCounter);
  if (!image.ok()) {
    warn(image.failure.message);
    return SaveOutcome::Failed;
  }
  const FileWrite written =
      writeFileAtomically(pathFromUtf8(filePath), image.bytes, env_.writeOptions);
  if (!written) {
    warn(filePath + std::string(text::CANT_BE_CREATED) + "\n\n" + written.failure);
    return SaveOutcome::Failed;
  }
  db = std::move(saved);
  satCodeCounter = codeCounter;
  // The picked entries and the shown satellite keep their rows; a cut name
  // is still the same satellite.
  recapturePick();
  showSatellite(view_.shownSat);
  markSavedState();
  showFileLine(filePath);
  // A previous version that could not be kept does not stop the save; the
  // File line's tip says so.
  if (!written.backupNote.empty())
    controls_.setToolTip(IDC_FILE, filePath + "\n" + written.backupNote);
  rememberRecentFile(filePath);
  say(savedStatus(filePath, wdbLayout, db));

  // Names longer than the file holds were cut: show them as they are now.
  if (namesCut) {
    lists_.rewriteSatelliteCombos(true);
    if (curTab == TAB_SATELLITE) refillSatelliteTab();
    if (curTab == TAB_TRANSPONDER) refillTransponderTab();
  }
  return SaveOutcome::Saved;
}

void EditorDialog::saveFile() { saveDatabase(); }

void EditorDialog::newDatabase() {
  resetDrag();
  if (!clearDatabase(true)) return;
  history_.clear();
  markSavedState();
}

bool EditorDialog::clearDatabase(bool ask) {
  if (ask && hasUnsavedWork()) {
    const Answer a = prompts_.message(text::SAVE_BEFORE_CLEARING, text::BEFORE_OPENING_CAPTION,
                                      Buttons::YesNoCancel, Icon::Information);
    if (a == Answer::Cancel) return false;
    // A save the user asked for that did not happen keeps the work.
    if (a == Answer::Yes && saveDatabase() != SaveOutcome::Saved) return false;
  }
  clearPick();
  clearEditPanel();
  resetInfoPanel();
  for (int list : {IDC_SAT_LIST, IDC_TP_LIST, IDC_SVC_LIST}) lists_.clear(list);
  db = ChannelDb{};
  view_ = ViewState{};
  shownSatKey_.clear();
  wdbLayout = wdb::Layout::NotChosen;
  satCodeCounter = 26;
  lists_.rewriteSatelliteCombos();
  return true;
}

}  // namespace velmora::editor
