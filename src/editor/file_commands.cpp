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

namespace {
// Why a chosen name cannot be opened at all: "Cannot read NAME: REASON"
// with the system's reason, or nothing when the file can be read.
std::string cannotReadText(const std::string& path) {
  const std::string reason = whyUnreadable(pathFromUtf8(path), SIZE_MAX);
  if (reason.empty()) return {};
  return std::string(text::CANNOT_READ) + path + ": " + reason;
}
}  // namespace

// Open with the file already chosen (on the command line, dropped on the
// window, from the recent files) or, without one, chosen in the dialog.
// Either way the same checks and questions follow. A database is read and
// checked first; the open database is replaced only when the file loaded.
void EditorDialog::openChosenFile(std::optional<std::string> chosen) {
  if (!chosen) chosen = prompts_.chooseFile(FilePurpose::Open, text::OPEN_FILTER);
  if (!chosen) return;
  trace::mark(trace::OPEN_CHOSEN);
  const std::string path = *chosen;

  if (const std::string why = cannotReadText(path); !why.empty()) {
    warn(why);
    return;
  }
  if (fileSizeOrZero(pathFromUtf8(path)) == 0) {
    warn(text::NO_DATA_IN_FILE);
    return;
  }
  switch (classifyOpenPath(path)) {
    case OpenKind::Sdx:
      // A listing becomes one more satellite; a database replaces them all.
      if (db.satCount + 1 > MAX_SATS) {
        warn(text::OPEN_SAT_RANGE);
        return;
      }
      filePath = path;
      importListing();
      return;
    case OpenKind::Unsupported:
      warn(text::SUPPORT_FILE);
      return;
    case OpenKind::Wdb:
      break;
  }
  startLoading(path);
}

// The file is read and decoded on a worker into a database no one else
// sees; the window takes the result when the worker is done. Until then
// every command that touches the database is refused.
void EditorDialog::startLoading(const std::string& path) {
  resetDrag();
  loaderBusy = true;
  prompts_.runInBackground([this, path]() -> std::function<void()> {
    wdb::LoadOptions options;
    options.unnamedChannelsAsDots = true;
    wdb::ReadResult result = wdb::loadDatabaseFile(path, options);
    return [this, path, r = std::make_shared<wdb::ReadResult>(std::move(result))]() mutable {
      loadedFile(path, std::move(*r));
    };
  });
}

// A file that did not load leaves the open database, its lists, the title,
// the File line and the undo history as they were. One that loaded is
// offered the save question first, and Cancel keeps everything too.
void EditorDialog::loadedFile(const std::string& path, wdb::ReadResult result) {
  loaderBusy = false;
  if (result.ok() && (db.satCount > 0 || db.countTransponders() > 0 || db.countServices() > 0)) {
    const Answer a = prompts_.message(text::SAVE_BEFORE_OPENING, text::BEFORE_OPENING_CAPTION,
                                      Buttons::YesNoCancel, Icon::Information);
    // A save the user asked for that did not happen (cancelled, refused or
    // failed) keeps the work and opens nothing; the clearing asks once
    // more when the changes are still unsaved.
    const int savesBefore = savesWritten_;
    if (a == Answer::Cancel || (a == Answer::Yes && saveDatabase() != SaveOutcome::Saved) ||
        !clearDatabase(true)) {
      applyTabDefaultsAfterLoad();
      settleView();
      focusShownList();
      return;
    }
    clearEditFields();
    resetInfoPanel();
    // Saved over the very file being opened: what was read is older than
    // the file now, so it is read again.
    std::error_code ec;
    if (savesWritten_ != savesBefore &&
        std::filesystem::equivalent(pathFromUtf8(filePath), pathFromUtf8(path), ec)) {
      startLoading(path);
      return;
    }
  }
  if (result.ok()) {
    filePath = path;
    showFileLine(filePath);
  }
  finishLoading(std::move(result));
}

void EditorDialog::finishLoading(wdb::ReadResult result) {
  loaderBusy = false;
  if (!result.ok()) {
    applyTabDefaultsAfterLoad();
    settleView();
    warn(result.failure.message);
    focusShownList();
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
  // The keyboard starts in the list, as at start-up.
  focusShownList();
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

namespace {
// The layouts as Save As offers them, in the order of its file types.
constexpr wdb::Layout SAVE_TYPES[] = {wdb::Layout::TypeI, wdb::Layout::TypeII};
}  // namespace

// Why the database cannot be saved as file type `type`: the writer's
// refusal, and for a database too big for a Type II file by how much.
std::string EditorDialog::saveAsCheck(const std::string& /*path*/, int type) const {
  const wdb::Layout layout = SAVE_TYPES[type == 1 ? 1 : 0];
  const Failure refusal = wdb::saveRefusal(db, layout);
  if (!refusal.failed()) return {};
  std::string message = refusal.message;
  const std::size_t size =
      wdb::imageContentSize(layout, static_cast<std::size_t>(db.countTransponders()),
                            static_cast<std::size_t>(db.countServices()));
  if (layout == wdb::Layout::TypeII && size > wdb::TYPE2_MAX_CONTENT) {
    const std::size_t over = size - wdb::TYPE2_MAX_CONTENT;
    const auto fewer = (over + wdb::TYPE2_SVC_SIZE - 1) / wdb::TYPE2_SVC_SIZE;
    message += std::string(text::TYPE2_OVER_HEAD) + withThousands(static_cast<long long>(over)) +
               std::string(text::TYPE2_OVER_MIDDLE) + withThousands(static_cast<long long>(fewer)) +
               std::string(text::TYPE2_OVER_TAIL);
  }
  return message;
}

EditorDialog::SaveOutcome EditorDialog::saveDatabase() {
  if (db.satCount == 0) {
    warn(text::NO_DATA);
    return SaveOutcome::Cancelled;
  }
  // The dialog starts at the database's own file, and offers its layout.
  SaveAsRequest request;
  request.initialPath = shownFile_;
  request.types = {std::string(text::TYPE1_NAME), std::string(text::TYPE2_NAME)};
  request.chosenType = wdbLayout == wdb::Layout::TypeII ? 1 : 0;
  request.aboutType = [](int type) {
    return type == 1 ? std::string(text::TYPE2_DROPS) : std::string();
  };
  request.check = [this](const std::string& path, int type) { return saveAsCheck(path, type); };
  const std::optional<SaveAsChoice> chosen = prompts_.chooseSaveAs(request);
  if (!chosen || chosen->path.empty()) return SaveOutcome::Cancelled;
  std::string path = chosen->path;
  // Any name but a database's gets the database's extension, so that Open
  // takes the file back ("out.txt" is saved as "out.txt.wdb").
  if (!hasExtension(path, "wdb")) path += ".wdb";

  if (pathExists(pathFromUtf8(path))) {
    const Answer a =
        prompts_.message(path + std::string(text::ALREADY_EXISTS), text::OVERWRITE_CAPTION,
                         Buttons::YesNoDefaultNo, Icon::Information);
    if (a != Answer::Yes) return SaveOutcome::Cancelled;
  }
  // A new database saved as Type I stays new: its next Save As offers
  // Type I again, as a loaded Type I database's does.
  wdb::Layout layout = SAVE_TYPES[chosen->type == 1 ? 1 : 0];
  if (layout == wdb::Layout::TypeI && wdbLayout == wdb::Layout::NotChosen)
    layout = wdb::Layout::NotChosen;
  return writeDatabase(std::move(path), layout);
}

EditorDialog::SaveOutcome EditorDialog::saveToOpenFile() {
  if (db.satCount == 0) {
    warn(text::NO_DATA);
    return SaveOutcome::Cancelled;
  }
  if (shownFile_.empty()) return saveDatabase();
  return writeDatabase(shownFile_, wdbLayout);
}

// Writes the database to `path` in `layout`, which becomes the database's
// file and layout once the file is written.
EditorDialog::SaveOutcome EditorDialog::writeDatabase(std::string path, wdb::Layout layout) {
  filePath = std::move(path);
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
  const wdb::WriteResult image = wdb::writeWdb(saved, layout, favourites, codeCounter);
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
  ++savesWritten_;
  db = std::move(saved);
  wdbLayout = layout;
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

void EditorDialog::saveFileInPlace() { saveToOpenFile(); }

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
