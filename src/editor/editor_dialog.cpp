// Start-up of the main window, the command table, the keyboard, switching
// tabs, the feed/test option and closing.
#include "editor/editor_dialog.h"

#include <algorithm>
#include <array>

#include "editor/trace.h"
#include "editor/window_place.h"
#include "layout.h"
#include "resource_ids.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

// Edit-panel fields each tab shows (labels and fields). The NID and TID
// fields exist but are never shown.
constexpr std::array kSatelliteFields = {
    IDC_LBL_SAT_NAME,    IDC_SAT_NAME,      IDC_LBL_LNB_TYPE,  IDC_LNB_TYPE,      IDC_LBL_LNB_FREQ,
    IDC_LNB_FREQ1,       IDC_LBL_LNB_SLASH, IDC_LNB_FREQ2,     IDC_LBL_TONE,      IDC_TONE,
    IDC_LBL_12V,         IDC_12V,           IDC_LBL_LNB_POWER, IDC_LNB_POWER,     IDC_LBL_LONGITUDE,
    IDC_LONGITUDE,       IDC_LBL_DISEQC,    IDC_DISEQC,        IDC_LBL_COMMITTED, IDC_COMMITTED,
    IDC_LBL_UNCOMMITTED, IDC_UNCOMMITTED};
constexpr std::array kTransponderFields = {IDC_LBL_SAT_NAME,  IDC_LBL_TP_SAT,      IDC_TP_SAT,
                                           IDC_LBL_FREQUENCY, IDC_FREQUENCY,       IDC_LBL_POLARITY,
                                           IDC_POLARITY,      IDC_LBL_SYMBOL_RATE, IDC_SYMBOL_RATE};
constexpr std::array kChannelFields = {
    IDC_LBL_TP_SAT,     IDC_SVC_SAT,       IDC_LBL_CH_NAME,   IDC_CH_NAME,     IDC_LBL_VIDEO_PID,
    IDC_VIDEO_PID,      IDC_LBL_AUDIO_PID, IDC_AUDIO_PID,     IDC_LBL_PCR_PID, IDC_PCR_PID,
    IDC_LBL_SERVICE_ID, IDC_SERVICE_ID,    IDC_LBL_SCRAMBLED, IDC_SCRAMBLED};

// Controls of the main window that take typed text.
bool isEditField(int id) {
  for (const ControlDef& def : editorDialog().controls)
    if (def.id == id)
      return def.kind == ControlKind::Edit || def.kind == ControlKind::NumberEdit ||
             def.kind == ControlKind::SearchEdit;
  return false;
}

bool isComboEdit(int id) {
  for (const ControlDef& def : editorDialog().controls)
    if (def.id == id) return def.kind == ControlKind::ComboEdit;
  return false;
}

template <std::size_t N>
bool contains(const std::array<int, N>& ids, int id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

EditorDialog::EditorDialog(Controls& controls, Prompts& prompts, EditorEnv env)
    : controls_(controls), prompts_(prompts), env_(std::move(env)) {
  buildCommandTable();
}

void EditorDialog::buildCommandTable() {
  commands_ = {
      {ID_FILE_NEW, &EditorDialog::newDatabase},
      {ID_TB_NEW, &EditorDialog::newDatabase},
      {ID_FILE_OPEN, &EditorDialog::openFile},
      {ID_TB_OPEN, &EditorDialog::openFile},
      {ID_FILE_SAVE, &EditorDialog::saveFile},
      {ID_TB_MAKE, &EditorDialog::saveFileInPlace},
      {ID_FILE_SAVE_IN_PLACE, &EditorDialog::saveFileInPlace},
      {ID_FILE_CLOSE, &EditorDialog::closeSequence},
      {ID_EDIT_ADD, &EditorDialog::addEntry},
      {IDC_ADD, &EditorDialog::addEntry},
      {ID_EDIT_CHANGE, &EditorDialog::changeEntry},
      {IDC_CHANGE, &EditorDialog::changeEntry},
      {ID_EDIT_REMOVE, &EditorDialog::removeEntry},
      {IDC_REMOVE, &EditorDialog::removeEntry},
      {ID_EDIT_MOVE, &EditorDialog::moveEntry},
      {ID_EDIT_SORT, &EditorDialog::sortEntries},
      {ID_TB_SORT, &EditorDialog::sortEntries},
      {ID_OPTION_FEED_TEST, &EditorDialog::toggleFeedTest},
      {ID_ABOUT, &EditorDialog::showAbout},
      {ID_EDIT_UNDO, &EditorDialog::undoStep},
      {ID_EDIT_REDO, &EditorDialog::redoStep},
      {ID_EDIT_FIND, &EditorDialog::findEntry},
      {ID_EDIT_FIND_ALL, &EditorDialog::findEverywhere},
      {ID_FILE_APPLY_ORDER, &EditorDialog::applyOrderFrom},
      {ID_FILE_UPDATE_LISTING, &EditorDialog::updateFromListing},
      {ID_EDIT_CUT, &EditorDialog::cutEntries},
      {ID_EDIT_COPY, &EditorDialog::copyEntries},
      {ID_EDIT_PASTE, &EditorDialog::pasteEntries},
  };
}

void EditorDialog::initDialog() {
  Controls& c = controls_;
  c.tabInsert(IDC_TAB, 0, "Satellite");
  c.tabInsert(IDC_TAB, 1, "Transponder");
  c.tabInsert(IDC_TAB, 2, "Channel");
  lists_.restoreColumnWidths(prompts_);
  bringUpList(TAB_SATELLITE);
  showTabFields(TAB_SATELLITE);

  panel_.init();

  db = ChannelDb{};
  view_ = ViewState{};
  loaderBusy = false;
  wdbLayout = wdb::Layout::NotChosen;
  c.setText(IDC_WEB_LINK, text::WEB_LINK_START);

  // The option starts with feed and test channels left out.
  skipFeedTest = false;
  toggleFeedTest();

  c.setVisible(IDC_HIDDEN_BUTTON1, false);
  c.setVisible(IDC_HIDDEN_BUTTON2, false);
  c.setVisible(IDC_HIDDEN_BUTTON3, false);
  updateUndoItems();
  updateClipboardItems();

  recentFiles_.clear();
  const std::string recent = prompts_.setting("recentFiles");
  for (std::size_t from = 0; from < recent.size() && recentFiles_.size() < RECENT_FILES;) {
    std::size_t end = recent.find('\n', from);
    if (end == std::string::npos) end = recent.size();
    if (end > from) recentFiles_.push_back(recent.substr(from, end - from));
    from = end + 1;
  }
  showRecentFiles();
  markSavedState();
  updateTitle();
  shownDefault_ = 0;
  showEnterButton();
  restoreWindowPlace();
  focusShownList();
}

void EditorDialog::restoreWindowPlace() {
  const std::vector<ScreenArea> screens = controls_.screenAreas();
  if (const auto place = placeToRestore(prompts_.setting(WINDOW_PLACE_KEY), screens))
    controls_.setWindowPlace(*place);
}

void EditorDialog::selectSatelliteDefaults(bool lnbPowerOn) {
  panel_.selectSatelliteDefaults(lnbPowerOn);
}

void EditorDialog::showTabFields(int tab) {
  auto shownOn = [tab](int id) {
    switch (tab) {
      case TAB_SATELLITE:
        return contains(kSatelliteFields, id);
      case TAB_TRANSPONDER:
        return contains(kTransponderFields, id);
      default:
        return contains(kChannelFields, id);
    }
  };
  auto apply = [&](auto& ids) {
    for (int id : ids) controls_.setVisible(id, shownOn(id));
  };
  apply(kSatelliteFields);
  apply(kTransponderFields);
  apply(kChannelFields);
}

void EditorDialog::onTabChanged() {
  const int tab = controls_.tabSelection(IDC_TAB) + 1;
  if (tab < TAB_SATELLITE || tab > TAB_CHANNEL) return;
  trace::mark(trace::TAB_CHOSEN);
  showTabFields(tab);
  // While a file loads the lists stay as they are; the loader fills the
  // tab that is showing when it has finished.
  if (loaderBusy) {
    bringUpList(tab);
    tabChangedWhileLoading_ = true;
    focusShownList();
    return;
  }
  // A new tab starts with nothing picked and the panel as at start-up.
  clearPick();
  clearEditPanel();
  refillTab(tab);
  settleView();
  // The keyboard goes with the tab to its list, never to a field of the
  // panel that happens to come first.
  focusShownList();
}

void EditorDialog::onCommand(int id) {
  // The About item of the window's system menu.
  if (id == IDM_ABOUTBOX) {
    showAbout();
    return;
  }
  runCommand(id);
}

void EditorDialog::runCommand(int id) {
  const bool recent = id >= ID_FILE_RECENT1 && id < ID_FILE_RECENT1 + RECENT_FILES;
  const auto it = commands_.find(id);
  if (it == commands_.end() && !recent) return;
  // Nothing may read or change the database while a file is loading; the
  // option and the About box do not touch it.
  if (loaderBusy && id != ID_OPTION_FEED_TEST && id != ID_ABOUT) return;
  // A row is being dragged: nothing else happens until it is dropped or
  // the drag is abandoned.
  if (drag_.active()) return;
  const int focusBefore = controls_.focusedControl();
  if (recent) {
    asStep([this, id] { openRecentFile(id - ID_FILE_RECENT1); });
  } else if (id == ID_EDIT_UNDO || id == ID_EDIT_REDO) {
    (this->*(it->second))();
  } else {
    asStep([this, handler = it->second] { (this->*handler)(); });
  }
  settleView();
  returnFocus(focusBefore, id);
}

bool EditorDialog::opensDialogOverList(int command) const {
  switch (command) {
    case ID_EDIT_FIND:
    case ID_EDIT_FIND_ALL:
    case ID_EDIT_MOVE:
      return true;
    case ID_EDIT_ADD:
    case IDC_ADD:
      return curTab == TAB_CHANNEL;
    default:
      return false;
  }
}

// A dialog, a question or a refusal leaves the keyboard where the toolkit
// puts it, often nowhere: it goes back to the list the command came from
// (now the shown one: Find in all satellites may change the tab), so that
// Delete and the arrow keys act on the current row at once. Find, Move and
// the Add channel dialog work on the shown list, so their end goes there
// from wherever they were started.
void EditorDialog::returnFocus(int before, int command) {
  const bool fromList = before == IDC_SAT_LIST || before == IDC_TP_LIST || before == IDC_SVC_LIST;
  if (fromList || opensDialogOverList(command)) focusShownList();
}

void EditorDialog::focusShownList() { controls_.focusList(ListsPresenter::listOfTab(curTab)); }

KeyAction EditorDialog::onKeyDown(int key, bool ctrl, bool shift) {
  if (ctrl && shift && key == 'F' && !drag_.active()) {
    runCommand(ID_EDIT_FIND_ALL);
    return KeyAction::Consumed;
  }
  return onKeyDown(key, ctrl);
}

KeyAction EditorDialog::onKeyDown(int key, bool ctrl) {
  // While a row is dragged, Esc abandons the drag and every other key is
  // ignored.
  if (drag_.active()) {
    if (key == KEY_ESCAPE && !ctrl) onDragCancel();
    return KeyAction::Clear;
  }
  if (ctrl) {
    // Ctrl+Z and Ctrl+Y undo and redo the editor's steps wherever the
    // keyboard is, in a text field too: a field's typing is no step.
    switch (key) {
      case 'Z':
        runCommand(ID_EDIT_UNDO);
        return KeyAction::Consumed;
      case 'Y':
        runCommand(ID_EDIT_REDO);
        return KeyAction::Consumed;
      // In a text field, or the web link's, they cut, copy and paste text.
      case 'X':
      case 'C':
      case 'V': {
        const int focus = controls_.focusedControl();
        if (focus != 0 && (isEditField(focus) || isComboEdit(focus))) return KeyAction::Pass;
        runCommand(key == 'X' ? ID_EDIT_CUT : key == 'C' ? ID_EDIT_COPY : ID_EDIT_PASTE);
        return KeyAction::Consumed;
      }
      case 'F':
        runCommand(ID_EDIT_FIND);
        return KeyAction::Consumed;
      case 'S':
        runCommand(ID_FILE_SAVE_IN_PLACE);
        return KeyAction::Consumed;
      case 'O':
        runCommand(ID_FILE_OPEN);
        return KeyAction::Consumed;
      case 'N':
        runCommand(ID_FILE_NEW);
        return KeyAction::Consumed;
      default:
        return KeyAction::Pass;
    }
  }
  switch (key) {
    case KEY_ESCAPE:
      return KeyAction::Clear;
    case KEY_RETURN:
      // Enter presses the button that has the focus; anywhere else the
      // default one: Change while an entry is picked, else Add.
      switch (controls_.focusedControl()) {
        case IDC_CHANGE:
          runCommand(IDC_CHANGE);
          return KeyAction::Clear;
        case IDC_REMOVE:
          runCommand(IDC_REMOVE);
          return KeyAction::Clear;
        case IDC_ADD:
          runCommand(IDC_ADD);
          return KeyAction::Consumed;
        default:
          runCommand(enterButton());
          return KeyAction::Consumed;
      }
    case KEY_F1:
      openHelp();
      return KeyAction::Pass;
    case KEY_F2:
      runCommand(ID_FILE_NEW);
      return KeyAction::Clear;
    case KEY_F3:
      runCommand(ID_FILE_OPEN);
      return KeyAction::Clear;
    case KEY_F5:
      runCommand(ID_EDIT_MOVE);
      return KeyAction::Consumed;
    case KEY_F7:
      runCommand(ID_FILE_SAVE);
      return KeyAction::Clear;
    case KEY_F8:
      runCommand(ID_EDIT_SORT);
      return KeyAction::Clear;
    case KEY_F9:
      return KeyAction::Clear;
    case KEY_DELETE: {
      // In a list Delete removes the picked rows; in a text field it
      // deletes text.
      const int focus = controls_.focusedControl();
      if (focus != IDC_SAT_LIST && focus != IDC_TP_LIST && focus != IDC_SVC_LIST)
        return KeyAction::Pass;
      runCommand(IDC_REMOVE);
      return KeyAction::Consumed;
    }
    default:
      return KeyAction::Pass;
  }
}

// A message without a caption of its own: titled with the program's name,
// an OK button and an exclamation mark.
void EditorDialog::warn(std::string_view message) {
  prompts_.message(message, "", Buttons::Ok, Icon::Exclamation);
}

void EditorDialog::toggleFeedTest() {
  skipFeedTest = !skipFeedTest;
  controls_.menuCheck(ID_OPTION_FEED_TEST, !skipFeedTest);
}

std::string EditorDialog::toolbarTip(int commandId) const {
  return std::string(stringResource(commandId));
}

bool EditorDialog::hasUnsavedWork() const { return !isSaved() && db.satCount > 0; }

void EditorDialog::onCloseRequest() {
  if (loaderBusy) return;
  closeSequence();
}

void EditorDialog::closeSequence() {
  if (hasUnsavedWork()) {
    const Answer a = prompts_.message(text::SAVE_BEFORE_CLOSING, text::BEFORE_OPENING_CAPTION,
                                      Buttons::YesNo, Icon::Information);
    // A save the user asked for that did not happen (the file dialog
    // cancelled, no to replacing the file, a refusal or a failure) keeps
    // the window and the work.
    if (a == Answer::Yes && saveDatabase() != SaveOutcome::Saved) return;
  }
  lists_.saveColumnWidths(prompts_);
  db = ChannelDb{};
  view_ = ViewState{};
  prompts_.setSetting(WINDOW_PLACE_KEY, windowPlaceText(controls_.windowPlace()));
  controls_.endDialog(ID_OK);
}

}  // namespace velmora::editor
