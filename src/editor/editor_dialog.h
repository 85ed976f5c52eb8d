// The main window's logic: it owns the channel database and every flag of
// the window, and receives every command, key and notification. It speaks
// to the toolkit only through Controls and Prompts.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "db/channel_db.h"
#include "editor/edit_panel.h"
#include "editor/lists_presenter.h"
#include "editor/picked_entries.h"
#include "editor/port.h"
#include "editor/row_drag.h"
#include "editor/undo_history.h"
#include "editor/view_state.h"
#include "match/clip.h"
#include "match/find_all.h"
#include "wdb/file_io.h"
#include "wdb/wdb_format.h"

namespace velmora::editor {

struct EditorEnv {
  // The folder of the program's own file: the help file and the favourite
  // folder lie there.
  std::filesystem::path programDir;
  // How saves write their file (tests make a step of it fail here).
  WriteOptions writeOptions;
};

// What the window does with a key after the logic has seen it.
enum class KeyAction {
  Pass,      // the toolkit handles it as usual
  Clear,     // swallowed: the window must not act on it
  Consumed,  // handled here
};

class EditorDialog {
 public:
  EditorDialog(Controls& controls, Prompts& prompts, EditorEnv env);

  // Dialog initialisation, once the window and all its controls exist.
  void initDialog();

  // Events from the window.
  void onCommand(int id);  // menu items, toolbar buttons, push buttons, system menu
  // `ctrl`: the Ctrl key is held (the editor's added commands).
  KeyAction onKeyDown(int key, bool ctrl = false);
  // The same with Shift held too (Ctrl+Shift+F).
  KeyAction onKeyDown(int key, bool ctrl, bool shift);
  void onTabChanged();
  void onListClick(int listId, const std::vector<int>& rows);
  void onListRightClick(int listId);
  void onColumnClick(int listId);
  void onComboChanged(int comboId);
  // Dragging a list row: the drag begins on row `row` of a list; the
  // pointer moves or the button is released with the pointer over list
  // `overList` (IDC_TAB over the tab strip, 0 for anywhere else on the
  // window), the row to land just before row `row` of that list (its row
  // count: below the last row; -1 off any list). A release outside the
  // window, Esc, a lost mouse capture, the window losing the focus or a
  // modal dialog coming up abandon the drag: onDragCancel.
  void onDragBegin(int listId, int row);
  void onDragMove(int overList, int row);
  void onDragRelease(int overList, int row);
  void onDragCancel();
  bool isDragging() const { return drag_.active(); }
  // Whether closing now would lose work: asked by the window when the
  // session ends (log-off, shutdown, an update's restart).
  bool hasUnsavedWork() const;
  // Title bar close, Alt+F4, system menu: ignored while a file is loading.
  void onCloseRequest();
  // Text of a toolbar button's tip, whole: a window that holds less cuts it.
  std::string toolbarTip(int commandId) const;

  // What the window holds and shows, for the adapters and the tests.
  const ChannelDb& database() const { return db; }
  const ViewState& view() const { return view_; }
  int currentTab() const { return curTab; }
  wdb::Layout layout() const { return wdbLayout; }
  // The file last chosen to open or save.
  const std::string& chosenFile() const { return filePath; }
  // A file is being read: commands that touch the database are refused.
  bool isLoading() const { return loaderBusy; }
  // Import leaves feed and test channels out.
  bool skipsFeedTest() const { return skipFeedTest; }
  // Whether the database (content and layout) is the one last loaded or
  // saved, or the empty one a new window starts with.
  bool isSaved() const;

  // List views and information panel.
  void bringUpList(int tab);
  void refillSatelliteTab();
  void refillTransponderTab();
  void refillChannelTab();
  void refillTab(int tab);
  void refreshInfoPanel(int s);
  void resetInfoPanel();
  void clearEditFields();
  void ensureRowVisible(int r);

  // The satellite chosen in the Transponder or Channel tab's SAT Name box.
  void chooseSatellite(int comboId, int s);

  // Help and web links.
  void openHelp();
  void openWebLink();
  void showAbout();

  // Files: open, load, import, save, clear. finishLoading installs what
  // the loader read (tests hand it a database of their own).
  enum class SaveOutcome {
    Saved,
    Cancelled,  // "No Data!", the file dialog cancelled, or no to the overwrite question
    Failed,     // refused or not written, with a message
  };
  // Save As: the file and its type chosen in the dialog.
  SaveOutcome saveDatabase();
  // Save: to the database's file without a dialog; Save As while it has
  // none.
  SaveOutcome saveToOpenFile();
  // Empties the editor as New does; with `ask`, offers to save unsaved
  // changes first. false when the user cancelled or the save failed.
  bool clearDatabase(bool ask);
  // Reads `path` on the worker into a new database; the open one is
  // replaced only once the file has loaded (and the user agreed).
  void startLoading(const std::string& path);
  void finishLoading(wdb::ReadResult result);
  void importListing();
  void updateFromListing();
  void openChosenFile(std::optional<std::string> chosen);
  // Puts the database in the order of another one chosen in a file dialog
  // (a *.wdb file or a JSON document); nothing is added or removed.
  void applyOrderFrom();

  // Files handed over by the desktop: on the command line at start, or
  // dropped on the window. One file opens as Open would with it chosen;
  // several listings are imported one after another.
  void openPaths(const std::vector<std::string>& paths);
  // The last databases opened or saved, newest first, kept between runs.
  const std::vector<std::string>& recentFiles() const { return recentFiles_; }
  // The File line: the path, and the whole path as its tip.
  void showFileLine(const std::string& path);

  const UndoHistory& history() const { return history_; }
  Controls& controls() { return controls_; }
  Prompts& prompts() { return prompts_; }
  const EditorEnv& env() const { return env_; }

 private:
  using Handler = void (EditorDialog::*)();
  void buildCommandTable();
  void showTabFields(int tab);
  void selectSatelliteDefaults(bool lnbPowerOn);
  void toggleFeedTest();
  void closeSequence();
  void applyTabDefaultsAfterLoad();
  void rememberRecentFile(const std::string& path);
  void showRecentFiles();
  void openRecentFile(int index);
  void runCommand(int id);
  // The keyboard after a command: back in the shown list when it came
  // from a list or the command's dialog works on the shown list.
  bool opensDialogOverList(int command) const;
  void returnFocus(int before, int command);
  void focusShownList();

  // Command handlers.
  void newDatabase();
  void openFile();
  void saveFile();
  void saveFileInPlace();
  SaveOutcome writeDatabase(std::string path, wdb::Layout layout);
  std::string saveAsCheck(const std::string& path, int type) const;
  void loadedFile(const std::string& path, wdb::ReadResult result);
  void addEntry();
  void changeEntry();
  void removeEntry();
  void moveEntry();
  void sortEntries();
  void undoStep();
  void redoStep();
  void findEntry();
  bool findNextRow(const std::string& wanted);
  // Find in every satellite, starting from the text last looked for or
  // from `start`; the hit chosen is shown and picked.
  void findEverywhere();
  void findEverywhere(const std::string& start);
  void showFound(const match::Found& found);

  // Cut, Copy and Paste of channels and transponders (clipboard_commands.cpp).
  void cutEntries();
  void copyEntries();
  void pasteEntries();
  std::vector<int> clipRows();
  void copyRows(const std::vector<int>& rows);
  bool canPaste() const;
  void updateClipboardItems();

  // Undo: runs a command that may change the database and records the
  // change as one step.
  void asStep(const std::function<void()>& change);
  void showRestoredContent();
  void updateUndoItems();
  FileState fileState() const { return {wdbLayout, shownFile_}; }
  void applyFileState(const FileState& state);

  // Picks by the entries' content, the shown satellite, and the window's
  // state worked out after every event (picks.cpp).
  std::string entryKey(int tab, int row) const;
  int rowsOnTab(int tab) const;
  int& pickedRow(int tab);
  void capturePick(int listId, const std::vector<int>& rows);
  void clearPick();
  // Rows `rows` of list `listId` picked as a click on them picks them.
  void pickRows(int listId, const std::vector<int>& rows);
  void recapturePick();
  void followPicks();
  void followShownSatellite();
  void showSatellite(int s);
  void settleView();
  // The button Enter presses, shown as the default one: Change while an
  // entry of the shown list is picked, else Add.
  int enterButton() const;
  void showEnterButton();
  // The window opens where it last closed, when a screen still shows it.
  void restoreWindowPlace();
  void markSavedState();
  void updateTitle();
  void clearEditPanel();

  // Ordering.
  bool moveTo(int position);
  bool moveRow(int from, int position);
  // Several picked entries moved together: the picked rows of the shown
  // list, ascending (none unless more than one is picked), and the block
  // put with its first entry at `position` (from 1).
  std::vector<int> pickedBlock() const;
  bool moveBlockTo(const std::vector<int>& rows, int position);
  bool moveBlockRows(const std::vector<int>& rows, int position);
  void dropBlockOnList();
  void rewriteSatelliteCombos();
  void dropOnList();
  void resetDrag();

  // Edit panel operations.
  // false when the user kept the typed name: the form stays as it is.
  bool addSatellite();
  void addTransponder();
  void addChannel();
  void changeSatellite();
  void changeTransponder();
  void changeChannel();
  void removeSatellites();
  void removeTransponders();
  void removeChannels();
  bool clickedRowExists() const;
  bool rowInShownTable(int row) const;
  void removeRows(bool picked);
  void pickAfterRemoval(int firstGone);
  bool transponderFromPanel(TpRecord& tp);
  void relistCurrentTab();
  void warn(std::string_view message);

  // The status line (status_texts.cpp): what a command did, said without
  // a box; nothing for an empty text.
  void say(const std::string& text);
  std::string removalToSay() const;
  std::vector<SatRecord> satellitesNow() const;
  void sayTypeIILosses(const std::vector<SatRecord>& before);

  // The window's state.
  ChannelDb db;
  int curTab = TAB_SATELLITE;
  bool loaderBusy = false;
  bool skipFeedTest = false;
  wdb::Layout wdbLayout = wdb::Layout::NotChosen;
  std::string filePath;
  int satCodeCounter = 26;
  // Files written, to tell whether a save came between reading a file and
  // taking it.
  int savesWritten_ = 0;

  ViewState view_;
  // A command changed the shown list under the pick (Remove, Change, Move,
  // a drop, undo, redo): the picked row is made current and scrolled into
  // view when the pick is found again.
  bool showPickedRow_ = false;

  RowDrag drag_;

  Controls& controls_;
  Prompts& prompts_;
  EditorEnv env_;
  EditPanel panel_{controls_};
  ListsPresenter lists_{controls_, db};
  std::map<int, Handler> commands_;
  bool tabChangedWhileLoading_ = false;
  UndoHistory history_;
  std::string lastFind_;
  std::vector<std::string> recentFiles_;
  // The picked rows of the shown list, the first being the one the edit
  // panel shows, each with what identifies its entry.
  Picks picks_;
  // What Cut and Copy took, for Paste.
  match::Clip clip_;
  // What identifies the satellite the information panel names.
  std::string shownSatKey_;
  // The file the File line names; empty when it names none.
  std::string shownFile_;
  // The database as last loaded or saved, to tell unsaved changes.
  ChannelDb savedContent_;
  wdb::Layout savedLayout_ = wdb::Layout::NotChosen;
  std::string shownTitle_;
  bool shownModified_ = false;
  int shownDefault_ = 0;
};

}  // namespace velmora::editor
