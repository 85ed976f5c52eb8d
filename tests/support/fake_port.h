// An in-memory window for the editor logic: every control of the main
// window template keeps its state here, and prompts are answered from a
// script, so that tests read like a user at the keyboard.
#pragma once

#include <deque>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/port.h"
#include "layout.h"

namespace velmora::test {

class FakeControls : public editor::Controls {
 public:
  explicit FakeControls(const res::DialogDef& dialog);

  struct Combo {
    std::vector<std::string> items;
    int selection = -1;
  };
  struct List {
    std::vector<std::pair<std::string, int>> columns;
    // The editor's rows, and how many of them the notices have told of.
    const editor::RowSource* source = nullptr;
    int rows = 0;
    int resets = 0;  // rows replaced all at once, as a refill does
    std::vector<int> selected;
    int ensuredVisible = -1;
    int current = -1;  // the row the arrow keys go on from
    int top = 0;       // first row in view, of `page` rows of ROW_HEIGHT pixels
    int page = 10;
  };
  static constexpr int ROW_HEIGHT = 16;
  struct Control {
    res::ControlKind kind{};
    std::string text;
    // A character typed that has no byte (text holds '?' for it).
    std::optional<char32_t> foreign;
    bool visible = true;
    bool enabled = true;
    std::string toolTip;
    Combo combo;
    List list;
    std::vector<std::string> tabs;
    int tabSelection = -1;
  };

  bool has(int id) const { return controls_.count(id) != 0; }
  const Control& at(int id) const { return controls_.at(id); }
  std::vector<int> ids() const;

  // Where the user's picks and drags are told, as a window tells the
  // logic; none unless set. What the program does tells nothing.
  void setEvents(editor::ControlEvents* events) { events_ = events; }

  // What a user does.
  void type(int id, std::string text) { setText(id, text); }
  void focus(int id) { focus_ = id; }
  void pickRows(int listId, std::vector<int> rows) {
    listSelectRows(listId, rows);
    if (events_ != nullptr) events_->listClick(listId, get(listId).list.selected);
  }
  // The left button pressed on a row (which picks it, unless it is picked
  // already) and moved.
  void beginDrag(int listId, int row);
  // Esc, or the mouse taken away, while a row is dragged: the drag ends.
  void cancelDrag();
  // The row a dragged row would land before with the pointer at height y
  // of list `id`'s rows area, as a window works it out.
  int dropRowAt(int id, int y) const;
  void pickTab(int index) { tabSelect(1001, index); }
  void pickComboItem(int id, int index) { comboSelect(id, index); }

  std::optional<int> endedWith;
  // The button drawn as the default one: the template's, then the logic's.
  int defaultButton = 0;
  std::map<int, std::string> menuTexts;
  std::map<int, bool> menuShown;
  // The row being dragged, while the logic shows its drag image.
  struct Drag {
    int list, row, hotX, hotY;
  };
  std::optional<Drag> drag;
  // The drop line (list, row above which it lies) while one is shown.
  std::optional<std::pair<int, int>> insertionLine;
  std::vector<int> selectedAll;
  std::string windowTitle;
  std::string statusText;  // the status line under the lists
  bool windowModified = false;
  List& listState(int id) { return get(id).list; }

  void setText(int id, std::string_view text) override;
  std::string text(int id) const override;
  // A path is kept as the UTF-8 it came as; text() gives it back so.
  void setPathText(int id, std::string_view path) override { setText(id, path); }
  std::optional<char32_t> foreignChar(int id) const override;
  void setVisible(int id, bool visible) override;
  bool isVisible(int id) const;
  void setEnabled(int id, bool enabled) override;
  bool isEnabled(int id) const;
  void setToolTip(int id, std::string_view text) override;
  std::string toolTip(int id) const;
  void comboInsert(int id, int index, std::string_view item) override;
  void comboDelete(int id, int index) override;
  void comboClear(int id) override;
  int comboCount(int id) const override;
  std::string comboItem(int id, int index) const;
  void comboSelect(int id, int index) override;
  int comboSelection(int id) const override;
  void listAddColumn(int id, std::string_view header, int width) override;
  std::vector<int> listColumnWidths(int id) const override;
  int listColumnCount(int id) const;
  std::string listColumnHeader(int id, int column) const;
  int listColumnWidth(int id, int column) const;
  void listSetSource(int id, const editor::RowSource* source) override;
  // Throws when the source holds another number of rows than the notices
  // have told of.
  void listRowsChanged(int id, editor::ListChange change) override;
  // The rows as the list shows them, read from the source.
  int listRowCount(int id) const;
  std::string listCell(int id, int row, int column) const;
  std::vector<std::vector<std::string>> rows(int id) const;
  std::vector<int> listSelectedRows(int id) const override;
  void listSelectRows(int id, const std::vector<int>& rows) override;
  void listEnsureVisible(int id, int row) override;
  void dragBegin(int id, int row, int hotX, int hotY) override { drag = Drag{id, row, hotX, hotY}; }
  void dragEnd() override {
    drag.reset();
    insertionLine.reset();
    noDropShown = false;
  }
  void dragShowNoDrop(bool noDrop) override { noDropShown = noDrop; }
  bool noDropShown = false;
  void dragShowInsertion(int id, int row) override {
    if (row < 0)
      insertionLine.reset();
    else
      insertionLine = std::make_pair(id, row);
  }
  void selectAllText(int id) override { selectedAll.push_back(id); }
  void setWindowTitle(std::string_view title, bool modified) override {
    windowTitle = std::string(title);
    windowModified = modified;
  }
  void tabInsert(int id, int index, std::string_view title) override;
  int tabSelection(int id) const override;
  void tabSelect(int id, int index) override;
  void menuCheck(int commandId, bool checked) override;
  bool menuChecked(int commandId) const;
  void menuSetText(int commandId, std::string_view text) override {
    menuTexts[commandId] = std::string(text);
  }
  void menuShow(int commandId, bool shown) override { menuShown[commandId] = shown; }
  void menuEnable(int commandId, bool enabled) override { menuDisabled_[commandId] = !enabled; }
  bool menuEnabled(int commandId) const {
    const auto it = menuDisabled_.find(commandId);
    return it == menuDisabled_.end() || !it->second;
  }
  int focusedControl() const override { return focus_; }
  void focusList(int id) override { focus_ = id; }
  void endDialog(int result) override { endedWith = result; }
  void setDefaultButton(int id) override { defaultButton = id; }
  void setStatusText(std::string_view text) override { statusText = std::string(text); }

  // The desktop: the screens attached, and the window's place on them, as
  // the program last set it or the user left it (width 0: never set).
  std::vector<editor::ScreenArea> screens{{0, 0, 1280, 1024}};
  editor::WindowPlace windowAt;
  editor::WindowPlace windowPlace() const override { return windowAt; }
  std::vector<editor::ScreenArea> screenAreas() const override { return screens; }
  void setWindowPlace(const editor::WindowPlace& p) override { windowAt = p; }

 private:
  Control& get(int id);
  const Control& get(int id) const;
  std::map<int, Control> controls_;
  editor::ControlEvents* events_ = nullptr;
  std::map<int, bool> menuChecks_;
  std::map<int, bool> menuDisabled_;
  int focus_ = 0;
};

class FakePrompts : public editor::Prompts {
 public:
  // Questions. Script: answers to the next questions, files to choose,
  // context-menu choices. An empty script answers Ok/No, cancels and
  // chooses nothing.
  struct Message {
    std::string text;
    std::string caption;
    editor::Buttons buttons;
  };
  std::deque<editor::Answer> answers;
  std::deque<std::optional<std::string>> files;
  std::deque<int> menuChoices;

  std::vector<Message> messages;
  std::vector<int> modalDialogs;
  std::vector<std::string> fileFilters;
  std::vector<editor::FilePurpose> filePurposes;

  // A user at a modal sub-dialog: its window, built from the dialog's
  // template and initialised by the dialog, and the dialog itself.
  struct DialogSession {
    FakeControls ui;
    editor::SubDialog& dialog;
    bool ended = false;
    // Sends a command or a notification of control `id` to the dialog (a
    // button, Enter as ID_OK, Esc as ID_CANCEL, a click in a list); true
    // once the dialog has ended.
    bool send(int id);
  };
  // One script per coming sub-dialog, in order. A script that leaves its
  // dialog open closes it as the close box does. With no script left a
  // sub-dialog ends at once with its initial result.
  std::deque<std::function<void(DialogSession&)>> dialogScripts;

  editor::Answer message(std::string_view text, std::string_view caption, editor::Buttons buttons,
                         editor::Icon icon) override;
  std::optional<std::string> chooseFile(editor::FilePurpose purpose,
                                        std::string_view filter) override;
  // Save As takes its names from `files` too, each with the next of
  // `saveTypes` (none left: the type it offers). A name its check refuses
  // is followed by the next one, as a user tries again.
  std::deque<int> saveTypes;
  std::vector<editor::SaveAsRequest> saveRequests;
  std::vector<std::string> typeNotes, refusals;
  std::optional<editor::SaveAsChoice> chooseSaveAs(const editor::SaveAsRequest& request) override;
  int runModal(editor::SubDialog& dialog) override;
  int contextMenu(int popupIndex) override;

  // Settings, in memory.
  std::map<std::string, std::string, std::less<>> settings;
  std::string setting(std::string_view key) override {
    const auto it = settings.find(key);
    return it == settings.end() ? std::string() : it->second;
  }
  void setSetting(std::string_view key, std::string_view value) override {
    settings[std::string(key)] = std::string(value);
  }

  // Background work runs on a thread of its own, as in the window, so that
  // the thread sanitizer sees the worker beside the test's UI thread; what
  // it hands back waits here until the test finishes it.
  std::deque<std::future<std::function<void()>>> pendingWork;
  void finishBackgroundWork();
  void runInBackground(std::function<std::function<void()>()> work) override {
    pendingWork.push_back(std::async(std::launch::async, std::move(work)));
  }

  // Shell.
  std::vector<std::string> opened;  // shell "open" targets
  bool shellWorks = true;           // false: the desktop opens nothing
  std::vector<std::string> helpShown;
  bool shellOpen(std::string_view target) override {
    opened.emplace_back(target);
    return shellWorks;
  }
  void showHelp(std::string_view file) override { helpShown.emplace_back(file); }
  // The system clipboard's text, as the editor last put it there.
  std::string clipboardText;
  void setClipboardText(const std::string& utf8) override { clipboardText = utf8; }
};

}  // namespace velmora::test
