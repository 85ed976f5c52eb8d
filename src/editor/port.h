// What the editor logic needs of a window toolkit, and nothing more. The
// logic addresses controls by their numeric ids (res/resource_ids.h); the Qt
// adapter (src/qt) implements these interfaces over Qt widgets, the Win32
// adapter (src/win32) over native Windows controls, the tests over plain
// memory. The adapters report what the user does through ControlEvents.
//
// Two kinds of text cross the port. The contents of controls (edits,
// labels, combo items, list cells, tab titles) are byte strings, one byte
// per character, the database's own: a toolkit shows and takes them as the
// Western code page (db/western_text.h). What the program says about
// itself and about files (message boxes, tips, menu item texts, the window
// title, a path shown with setPathText) is UTF-8, and so are the paths the
// file dialog, the desktop and the settings hand over: a file name may be
// in any script. Our own fixed texts are ASCII, the same in both.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::editor {

// The rows of a list view, as the editor keeps them: how many, and the text
// of each cell, asked for when the list needs it.
class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual int rowCount() const = 0;
  virtual std::string cell(int row, int column) const = 0;
};

// How a row source's rows have changed. Inserted: `count` rows now stand
// from `first`. Removed: the `count` rows from `first` are gone. Moved:
// row `first` now stands at `to`, the rows between closing up, and those
// rows show their new places. Reset: every row may be another.
struct ListChange {
  enum class Kind { Reset, Inserted, Removed, Moved };
  Kind kind = Kind::Reset;
  int first = 0;
  int count = 0;
  int to = 0;
  static ListChange reset() { return {}; }
  static ListChange inserted(int first, int count) { return {Kind::Inserted, first, count, 0}; }
  static ListChange removed(int first, int count) { return {Kind::Removed, first, count, 0}; }
  static ListChange moved(int from, int to) { return {Kind::Moved, from, 1, to}; }
};

// The logic reads back only what it decides by (texts, selections); what a
// test wants to see of a window besides, the window offers outside this
// interface.
// The main window's place on the desktop, in the desktop's pixels: its
// rectangle while it is not maximized (kept through a maximize), and
// whether it is maximized.
struct WindowPlace {
  int x = 0, y = 0, width = 0, height = 0;
  bool maximized = false;
  bool operator==(const WindowPlace&) const = default;
};
// The part of one screen that windows may cover (without task bars and
// docks), in the same pixels.
struct ScreenArea {
  int x = 0, y = 0, width = 0, height = 0;
};

class Controls {
 public:
  virtual ~Controls() = default;

  // Any control: its text (edit content, label, button, combo edit part),
  // whether it is shown, whether it can be used.
  virtual void setText(int id, std::string_view text) = 0;
  virtual std::string text(int id) const = 0;
  // A control's text that is a path, given as UTF-8 (the File line).
  virtual void setPathText(int id, std::string_view path) = 0;
  // The first character of a control's text that has no byte (the user
  // typed or pasted it; text() gives '?' for it), or nothing.
  virtual std::optional<char32_t> foreignChar(int id) const = 0;
  virtual void setVisible(int id, bool visible) = 0;
  virtual void setEnabled(int id, bool enabled) = 0;
  // The tip shown when the pointer rests on a control, UTF-8; empty for
  // none.
  virtual void setToolTip(int id, std::string_view text) = 0;

  // Combo boxes, and plain list boxes alike (their lines are the items).
  // index -1 appends; selection -1 is none.
  virtual void comboInsert(int id, int index, std::string_view item) = 0;
  virtual void comboDelete(int id, int index) = 0;
  virtual void comboClear(int id) = 0;
  virtual int comboCount(int id) const = 0;
  virtual void comboSelect(int id, int index) = 0;
  virtual int comboSelection(int id) const = 0;

  // Report-style list views.
  virtual void listAddColumn(int id, std::string_view header, int width) = 0;
  // The rows a list shows are read from the editor's source whenever the
  // list paints or is asked about them; none while the source is null. The
  // source outlives its list's use of it (the editor sets null first).
  virtual void listSetSource(int id, const RowSource* source) = 0;
  // The source's rows have changed as `change` says: the list reads the
  // rows again and keeps the selection with the rows that stay. Rows
  // inserted come unselected; a reset leaves none selected.
  virtual void listRowsChanged(int id, ListChange change) = 0;
  virtual std::vector<int> listSelectedRows(int id) const = 0;
  // Selects just `rows`; the first of them becomes the list's current row,
  // the one the arrow keys go on from (none given: the current row stays).
  virtual void listSelectRows(int id, const std::vector<int>& rows) = 0;
  // Scrolls so that the row is wholly visible.
  virtual void listEnsureVisible(int id, int row) = 0;
  // The widths of a list's columns from the first, in the units
  // listAddColumn takes, as the user may have made them by dragging a
  // header's edge or double-clicking it to fit the widest cell; none before
  // the list has columns.
  virtual std::vector<int> listColumnWidths(int id) const = 0;

  // Dragging a list row: an image of row `row` of list `id` follows the
  // pointer, held at (hotX, hotY) of the image, and the toolkit reports
  // every pointer move and the release to the logic, until dragEnd. While
  // the pointer rests on the first or last row in view of list `id`, the
  // toolkit scrolls that list a row at a time (editor/drop_row.h).
  virtual void dragBegin(int id, int row, int hotX, int hotY) = 0;
  virtual void dragEnd() = 0;
  // While a row is dragged: a line across list `id` where the row would
  // land, just above row `row` (the row count: below the last row); -1
  // takes the line away.
  virtual void dragShowInsertion(int id, int row) = 0;
  // While a row is dragged: the pointer shows "no drop" (the toolkit's
  // forbidden sign), or the normal pointer again. dragEnd restores it.
  virtual void dragShowNoDrop(bool noDrop) = 0;

  // A text edit's whole text selected, so that typing replaces it.
  virtual void selectAllText(int id) = 0;

  // The tab strip.
  virtual void tabInsert(int id, int index, std::string_view title) = 0;
  virtual int tabSelection(int id) const = 0;
  virtual void tabSelect(int id, int index) = 0;

  // Check mark of a menu item.
  virtual void menuCheck(int commandId, bool checked) = 0;
  // A menu item's text (UTF-8, '&' before the character that chooses it,
  // "&&" for an ampersand), and whether it is in its menu at all.
  virtual void menuSetText(int commandId, std::string_view text) = 0;
  virtual void menuShow(int commandId, bool shown) = 0;
  // Whether a menu item can be chosen (greyed when not).
  virtual void menuEnable(int commandId, bool enabled) = 0;

  // The main window's title, UTF-8; `modified` marks unsaved changes (a
  // "*" after the title, as the toolkit shows it).
  virtual void setWindowTitle(std::string_view title, bool modified) = 0;

  // The control that has the keyboard focus, 0 for none.
  virtual int focusedControl() const = 0;
  // Puts the keyboard focus in list view `id`, on its current row, so
  // that the arrow keys and Delete act on it at once. While the window is
  // not active (a modal window over it, not yet shown) the list gets the
  // focus when the window does.
  virtual void focusList(int id) = 0;

  // Ends the window with a result (the program ends with the main window).
  virtual void endDialog(int result) = 0;

  // The push button drawn as the window's default one, the one Enter
  // presses; the others lose that look. The logic still receives Enter as
  // a key and decides what it does.
  virtual void setDefaultButton(int id) = 0;
  // The line under the lists that says what the last command did, UTF-8;
  // it keeps its text until the next one.
  virtual void setStatusText(std::string_view text) = 0;

  // The main window's place now, and the screens attached now.
  virtual WindowPlace windowPlace() const = 0;
  virtual std::vector<ScreenArea> screenAreas() const = 0;
  // Moves and sizes the main window (never below its minimum size), then
  // maximizes it when the place says so.
  virtual void setWindowPlace(const WindowPlace& place) = 0;
};

// YesNoDefaultNo: a question whose Yes destroys data; Enter answers No.
enum class Buttons { Ok, YesNo, YesNoDefaultNo, YesNoCancel };
enum class Icon { Exclamation, Information, Question };
enum class Answer { Ok, Yes, No, Cancel };
// What the file dialog is for: its title and its button say so.
enum class FilePurpose { Open, Save };

// The Save As dialog: it starts in the folder of `initialPath` with its
// name filled in (an empty path: the toolkit's usual folder, no name), and
// offers `types` as its file types (each takes *.wdb files), `chosenType`
// chosen. When the user turns to another type, the dialog shows what
// `aboutType` says of it (nothing when that is empty), and stays open. When
// the user confirms a name, `check` is asked with the path and the type: a
// text refuses them, shown while the dialog stays open for another choice.
// Like chooseFile, the dialog never asks about replacing a file itself.
struct SaveAsRequest {
  std::string initialPath;
  std::vector<std::string> types;
  int chosenType = 0;
  std::function<std::string(int type)> aboutType;
  std::function<std::string(const std::string& path, int type)> check;
};
struct SaveAsChoice {
  std::string path;
  int type = 0;
};

// A small modal dialog whose behaviour lives in the editor logic; the
// toolkit builds its window from the resource `dialogId` and forwards its
// commands.
class SubDialog {
 public:
  virtual ~SubDialog() = default;
  virtual int dialogId() const = 0;
  virtual void onInit(Controls& controls) = 0;
  // A button or key command (Enter as ID_OK, Esc and the close box as
  // ID_CANCEL), or a notification of one of its controls by the control's
  // id: a click in a list view, a selection change of a list box or combo
  // box, a click on a check box, a change the user makes to a search edit
  // (res::ControlKind::SearchEdit). Returns true when the dialog is to end
  // with `result` set.
  virtual bool onCommand(Controls& controls, int commandId) = 0;
  int result = 0;
};

// Questions put to the user: message boxes, the file dialog, modal
// sub-dialogs and the context menu. Each waits for the user's answer.
class Questions {
 public:
  virtual ~Questions() = default;

  // A modal message box; text and caption are UTF-8 (a name from the
  // database in it is converted first). A Yes/No question cannot be
  // dismissed: Esc and the close box do nothing until Yes or No is chosen.
  // Yes/No/Cancel takes Esc and the close box as Cancel.
  virtual Answer message(std::string_view text, std::string_view caption, Buttons buttons,
                         Icon icon) = 0;
  // The standard file dialog; `filter` is "Name|*.ext|Name|*.ext||". The
  // user may pick a file or type a new name; the dialog never asks about
  // replacing a file itself. The whole path as UTF-8; nothing when
  // cancelled.
  virtual std::optional<std::string> chooseFile(FilePurpose purpose, std::string_view filter) = 0;
  // Several existing files to open at once, in the order the dialog gives
  // them; none when cancelled. A window that picks one file at a time
  // offers that one.
  virtual std::vector<std::string> chooseFiles(std::string_view filter) {
    std::optional<std::string> one = chooseFile(FilePurpose::Open, filter);
    if (!one || one->empty()) return {};
    return {std::move(*one)};
  }
  // Runs a modal sub-dialog until it ends; returns its result.
  virtual int runModal(SubDialog& dialog) = 0;
  // The Save As dialog (below): the whole path as UTF-8 and the file type
  // the user chose; nothing when cancelled.
  virtual std::optional<SaveAsChoice> chooseSaveAs(const SaveAsRequest& request) = 0;
  // The popup menu `popupIndex` of the main menu as a context menu at the
  // mouse; the chosen command id, or 0.
  virtual int contextMenu(int popupIndex) = 0;
};

// The user's settings, kept between runs.
class Settings {
 public:
  virtual ~Settings() = default;

  // A UTF-8 text kept under `key`; empty when none.
  virtual std::string setting(std::string_view key) = 0;
  virtual void setSetting(std::string_view key, std::string_view value) = 0;
};

// Work too slow for the user-interface thread, such as reading a file.
class BackgroundWork {
 public:
  virtual ~BackgroundWork() = default;

  // Runs `work` on a worker thread; the function it returns is then run on
  // the user-interface thread.
  virtual void runInBackground(std::function<std::function<void()>()> work) = 0;
};

// What the desktop does for the program: opening addresses and files, and
// the help window.
class Shell {
 public:
  virtual ~Shell() = default;

  // Asks the desktop to open a web address or a file (UTF-8) with its
  // default program; false when it could not.
  virtual bool shellOpen(std::string_view target) = 0;
  // Shows the user guide, an HTML file (its path UTF-8), in a help window;
  // nothing happens when the file is missing.
  virtual void showHelp(std::string_view file) = 0;
  // Puts `utf8` on the system clipboard as plain text, for other programs
  // to paste (a spreadsheet takes tab-separated lines as cells).
  virtual void setClipboardText(const std::string& utf8) = 0;
};

// The outbound half of the port beside Controls, all in one object: the
// editor's window holds one, while a part that needs one concern only
// takes that interface.
class Prompts : public Questions, public Settings, public BackgroundWork, public Shell {};

// What the user does with the controls of a window, as an adapter reports
// it. Changes made through Controls never come back here.
class ControlEvents {
 public:
  virtual ~ControlEvents() = default;
  virtual void command(int id) = 0;  // a push button or check box
  virtual void tabChanged(int /*id*/) {}
  // The user changed a list's selection (a click, even on the row already
  // selected, a key, a press before a drag); `rows` is the selection now,
  // in ascending order.
  virtual void listClick(int /*id*/, const std::vector<int>& /*rows*/) {}
  virtual void listRightClick(int /*id*/) {}
  virtual void columnClick(int /*id*/) {}
  virtual void comboChanged(int /*id*/) {}
  virtual void lineChosen(int /*id*/) {}  // a list box's selection
  // Dragging a list row: its begin, then the pointer over list `overList`
  // (IDC_TAB over the tab strip, 0 for anywhere else on the window) where
  // the dragged row would land just before row `row` of that list (its row
  // count: below the last row; worked out by editor/drop_row.h; -1 off any
  // list), until the release; or the drag abandoned (Esc, a release
  // outside the window, the window losing the focus or the mouse, a modal
  // window coming up).
  virtual void dragBegin(int /*id*/, int /*row*/) {}
  virtual void dragMove(int /*overList*/, int /*row*/) {}
  virtual void dragRelease(int /*overList*/, int /*row*/) {}
  virtual void dragCancel() {}
  // A double click on a row of list `id`. In a sub-dialog it chooses, as
  // Enter does: the dialog's logic receives it as ID_OK.
  virtual void listDoubleClick(int /*id*/) {}
};

}  // namespace velmora::editor
