// The rules every window behind the port keeps, whatever draws it. The
// same tests run over the in-memory window of the editor's tests, the Qt
// window and the native Windows one; each has a harness that builds the
// main window and acts on it as a user would:
//
//   explicit H(EventLog& log)     the window, with what the user does told to log
//   C& controls()                        an editor::Controls that also reads back comboItem
//   int rowCount(int list)               the rows the list's view knows of
//   std::string cell(int list, int row, int column)   a cell as the view reads it
//   void click(int list, int row)        a left click on a row
//   void beginDrag(int list, int row)    the left button pressed on a row, then moved
//   void pressEsc()
//   void loseCapture()                   the mouse taken away from the window mid-drag
//   bool dragShown()                     the image of a dragged row is on the screen
//   int currentRow(int list)             the row the list's arrow keys go on from
//   bool noDropShown()                   the pointer shows "no drop"
//   void settle()                        the window handles what it has queued
//   bool drawnAsDefault(int id)          the push button shows itself as the default one
//   std::string statusText()             the status line's text, UTF-8
//   int windowWidth()                    the main window's width in pixels
//   void fitColumn(int list, int column) a double click on the right edge of
//                                        the column's header (hasHeaders)
//   SaveAsSeen saveAs(request, steps)    Save As put to a user who, for each
//                                        step, chooses its type and confirms
//                                        its name, answering every message
//                                        with OK; cancels when steps run out
//   void setClipboardText(utf8)          the window's Shell puts text on the
//                                        system clipboard
//   std::string clipboardText()          the clipboard's plain text as the
//                                        toolkit reads it back, UTF-8;
//                                        lines end in H::clipboardLineEnd
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "editor/port.h"
#include "resource_ids.h"

namespace velmora::test {

// What reached the window's events sink, in order.
struct EventLog {
  editor::Controls* controls = nullptr;
  std::vector<std::string> events;
  // The rows each click carried, and the clicked list's selection at the
  // moment it was told.
  std::vector<std::vector<int>> rowsOfClick;
  std::vector<std::vector<int>> selectionAtClick;

  void note(const char* what, int id = 0) { events.push_back(what + (" " + std::to_string(id))); }
  void listClick(int id, const std::vector<int>& rows) {
    note("listClick", id);
    rowsOfClick.push_back(rows);
    selectionAtClick.push_back(controls->listSelectedRows(id));
  }
  // The logic takes up every drag offered, as the editor does on its
  // current tab: the row's image follows the pointer.
  void dragBegin(int id, int row) {
    note("dragBegin", id);
    controls->dragBegin(id, row, 8, 8);
  }
  int count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }
};

// Every notification of a toolkit adapter's events interface, into a log.
template <class Events>
class Recorder final : public Events {
 public:
  explicit Recorder(EventLog& log) : log_(log) {}
  void command(int id) override { log_.note("command", id); }
  void tabChanged(int id) override { log_.note("tabChanged", id); }
  void listClick(int id, const std::vector<int>& rows) override { log_.listClick(id, rows); }
  void listRightClick(int id) override { log_.note("listRightClick", id); }
  void columnClick(int id) override { log_.note("columnClick", id); }
  void comboChanged(int id) override { log_.note("comboChanged", id); }
  void lineChosen(int id) override { log_.note("lineChosen", id); }
  void dragBegin(int id, int row) override { log_.dragBegin(id, row); }
  void dragMove(int overList, int) override { log_.note("dragMove", overList); }
  void dragRelease(int overList, int) override { log_.note("dragRelease", overList); }
  void dragCancel() override { log_.note("dragCancel"); }

 private:
  EventLog& log_;
};

// What a user did in, and saw of, the Save As dialog.
struct SaveAsStep {
  int type;
  std::string path;
};
struct SaveAsSeen {
  std::optional<editor::SaveAsChoice> choice;
  std::string shownFolder, shownName;  // as the dialog opened
  int shownType = -1;
};

// The main window's satellite list and a combo box of satellites.
inline constexpr int LIST = res::IDC_SAT_LIST;
inline constexpr int COMBO = res::IDC_TP_SAT;

template <class Harness>
class PortConformance : public ::testing::Test {
 protected:
  PortConformance() : harness_(log_), ui_(harness_.controls()) {
    log_.controls = &ui_;
    ui_.listSetSource(LIST, &rows_);
    ui_.listAddColumn(LIST, "No", 40);
    ui_.listAddColumn(LIST, "Name", 120);
    for (const char* title : {"Satellite", "Transponder", "Channel"})
      ui_.tabInsert(res::IDC_TAB, 3, title);
    harness_.settle();
    log_.events.clear();
  }

  ~PortConformance() override { ui_.listSetSource(LIST, nullptr); }

  // The list's source: rows named r0, r1, ... in the order they were made,
  // numbered by their place, and the names of those the program selected.
  struct Rows final : editor::RowSource {
    std::vector<std::string> names;
    std::vector<std::string> selected;
    int rowCount() const override { return static_cast<int>(names.size()); }
    std::string cell(int row, int column) const override {
      if (row < 0 || row >= rowCount()) return "?";
      return column == 0 ? std::to_string(row + 1) : names[static_cast<std::size_t>(row)];
    }
  };
  std::string newName() { return "r" + std::to_string(made_++); }
  void insert(Rows& rows, int at) {
    rows.names.insert(rows.names.begin() + at, newName());
    ui_.listRowsChanged(LIST, editor::ListChange::inserted(at, 1));
  }
  void remove(Rows& rows, int at) {
    rows.names.erase(rows.names.begin() + at);
    ui_.listRowsChanged(LIST, editor::ListChange::removed(at, 1));
  }
  void move(Rows& rows, int from, int to) {
    auto& names = rows.names;
    const std::string moved = names[static_cast<std::size_t>(from)];
    names.erase(names.begin() + from);
    names.insert(names.begin() + to, moved);
    if (from != to) ui_.listRowsChanged(LIST, editor::ListChange::moved(from, to));
  }
  // Every row replaced: the selection goes with them.
  void reset(Rows& rows, int count) {
    rows.names.clear();
    rows.selected.clear();
    for (int i = 0; i < count; ++i) rows.names.push_back(newName());
    ui_.listRowsChanged(LIST, editor::ListChange::reset());
  }
  void select(Rows& rows, const std::vector<int>& picked) {
    ui_.listSelectRows(LIST, picked);
    rows.selected.clear();
    for (const int r : picked) rows.selected.push_back(rows.names[static_cast<std::size_t>(r)]);
  }
  void fill(Rows& rows, int count) {
    for (int i = 0; i < count; ++i) insert(rows, i);
  }
  // The list shows `rows` with their cells, and just the selected ones
  // selected.
  void expectShows(const Rows& rows) {
    harness_.settle();
    ASSERT_EQ(harness_.rowCount(LIST), static_cast<int>(rows.names.size()));
    std::vector<int> selected;
    for (int r = 0; r < static_cast<int>(rows.names.size()); ++r) {
      const std::string& name = rows.names[static_cast<std::size_t>(r)];
      ASSERT_EQ(harness_.cell(LIST, r, 0), std::to_string(r + 1)) << "row " << r;
      ASSERT_EQ(harness_.cell(LIST, r, 1), name) << "row " << r;
      if (std::count(rows.selected.begin(), rows.selected.end(), name)) selected.push_back(r);
    }
    EXPECT_EQ(ui_.listSelectedRows(LIST), selected);
  }

  EventLog log_;
  Rows rows_;
  Harness harness_;
  decltype(std::declval<Harness&>().controls()) ui_;
  std::mt19937 random_{7};

 private:
  int made_ = 0;
};

TYPED_TEST_SUITE_P(PortConformance);

TYPED_TEST_P(PortConformance, AnInsertedRowIsNeverSelectedAndSelectedRowsFollowTheirRows) {
  auto& rows = this->rows_;
  for (int step = 0; step < 60; ++step) {
    const int n = static_cast<int>(rows.names.size());
    if (step % 7 == 3) {
      std::vector<int> picked;
      for (int r = 0; r < n; ++r)
        if (this->random_() % 3 == 0) picked.push_back(r);
      this->select(rows, picked);
    }
    // At the end as often as anywhere else: a refill appends.
    const int at = this->random_() % 2 ? n : static_cast<int>(this->random_() % (n + 1));
    this->insert(rows, at);
    SCOPED_TRACE("step " + std::to_string(step) + ": a row inserted at " + std::to_string(at));
    this->expectShows(rows);
    if (this->HasFatalFailure()) return;
  }
}

TYPED_TEST_P(PortConformance, AChangeTheProgramMakesNeverNotifies) {
  auto& ui = this->ui_;
  auto& rows = this->rows_;
  this->fill(rows, 6);
  this->harness_.settle();
  ui.listSelectRows(LIST, {1, 4});
  this->move(rows, 1, 5);
  this->remove(rows, 5);
  this->insert(rows, 0);
  ui.listSelectRows(LIST, {0});
  this->harness_.settle();
  this->reset(rows, 3);
  this->harness_.settle();
  this->reset(rows, 0);
  for (const char* item : {"13.0E", "19.2E", "28.2E"}) ui.comboInsert(COMBO, -1, item);
  ui.comboSelect(COMBO, 1);
  ui.comboDelete(COMBO, 1);
  ui.comboSelect(COMBO, 0);
  ui.comboClear(COMBO);
  ui.tabSelect(res::IDC_TAB, 2);
  ui.tabSelect(res::IDC_TAB, 0);
  ui.setText(res::IDC_SAT_NAME, "Astra");
  this->harness_.settle();
  EXPECT_EQ(this->log_.events, std::vector<std::string>{});
}

TYPED_TEST_P(PortConformance, AMovedRowKeepsItsSelectionAndCells) {
  auto& rows = this->rows_;
  this->fill(rows, 12);
  this->select(rows, {0, 5, 6, 11});
  for (int step = 0; step < 40; ++step) {
    const int from = static_cast<int>(this->random_() % 12);
    const int to = static_cast<int>(this->random_() % 12);
    this->move(rows, from, to);
    SCOPED_TRACE("step " + std::to_string(step) + ": row " + std::to_string(from) + " moved to " +
                 std::to_string(to));
    this->expectShows(rows);
    if (this->HasFatalFailure()) return;
  }
}

TYPED_TEST_P(PortConformance, AUsersClickOnARowNotifiesWithThatRowSelected) {
  auto& rows = this->rows_;
  this->fill(rows, 8);
  this->select(rows, {1, 2});
  this->harness_.settle();
  this->harness_.click(LIST, 5);
  this->harness_.settle();
  // Clicking the one selected row again is a pick all the same.
  this->harness_.click(LIST, 5);
  this->harness_.settle();
  this->harness_.click(LIST, 0);
  this->harness_.settle();
  const std::string click = "listClick " + std::to_string(LIST);
  EXPECT_EQ(this->log_.events, (std::vector<std::string>{click, click, click}));
  EXPECT_EQ(this->log_.rowsOfClick, (std::vector<std::vector<int>>{{5}, {5}, {0}}));
  EXPECT_EQ(this->log_.selectionAtClick, this->log_.rowsOfClick);
}

// Rows inserted, removed, moved and all replaced at random, with the
// program's selection changed now and then: after each notice the list
// shows the source's rows, numbered by their places, and keeps selected
// just the selected rows that stay.
TYPED_TEST_P(PortConformance, TheListShowsItsSourceAfterEveryNotice) {
  auto& rows = this->rows_;
  this->fill(rows, 10);
  for (int step = 0; step < 80; ++step) {
    const int n = static_cast<int>(rows.names.size());
    if (step % 5 == 2) {
      std::vector<int> picked;
      for (int r = 0; r < n; ++r)
        if (this->random_() % 3 == 0) picked.push_back(r);
      this->select(rows, picked);
    }
    const unsigned what = this->random_() % 16;
    std::string did;
    if (what == 0) {
      const int count = static_cast<int>(this->random_() % 14);
      this->reset(rows, count);
      did = "all replaced by " + std::to_string(count);
    } else if (n == 0 || what < 6) {
      const int at = static_cast<int>(this->random_() % (n + 1));
      this->insert(rows, at);
      did = "inserted at " + std::to_string(at);
    } else if (what < 11) {
      const int at = static_cast<int>(this->random_() % n);
      const std::string gone = rows.names[static_cast<std::size_t>(at)];
      std::erase(rows.selected, gone);
      this->remove(rows, at);
      did = "removed at " + std::to_string(at);
    } else {
      const int from = static_cast<int>(this->random_() % n);
      const int to = static_cast<int>(this->random_() % n);
      this->move(rows, from, to);
      did = "moved from " + std::to_string(from) + " to " + std::to_string(to);
    }
    SCOPED_TRACE("step " + std::to_string(step) + ": " + did);
    this->expectShows(rows);
    if (this->HasFatalFailure()) return;
  }
  EXPECT_EQ(this->log_.events, std::vector<std::string>{});
}

TYPED_TEST_P(PortConformance, RemovingTheSelectedComboItemLeavesNoneSelected) {
  auto& ui = this->ui_;
  for (const char* item : {"a", "b", "c", "d", "e"}) ui.comboInsert(COMBO, -1, item);
  ui.comboSelect(COMBO, 2);
  ui.comboDelete(COMBO, 2);
  EXPECT_EQ(ui.comboSelection(COMBO), -1);
  EXPECT_EQ(ui.comboCount(COMBO), 4);
  // Removing another item keeps the selected one selected.
  ui.comboSelect(COMBO, 2);  // "d"
  ui.comboDelete(COMBO, 0);
  ui.comboDelete(COMBO, 2);
  EXPECT_EQ(ui.comboSelection(COMBO), 1);
  EXPECT_EQ(ui.comboItem(COMBO, 1), "d");
}

TYPED_TEST_P(PortConformance, EscAndTheLossOfTheMouseEndADragTheUserBegan) {
  auto& rows = this->rows_;
  this->fill(rows, 6);
  this->harness_.settle();
  const std::string begun = "dragBegin " + std::to_string(LIST), cancelled = "dragCancel 0";
  auto& harness = this->harness_;
  auto& log = this->log_;
  for (const bool esc : {true, false}) {
    SCOPED_TRACE(esc ? "Esc" : "the mouse taken away");
    log.events.clear();
    harness.beginDrag(LIST, 2);
    harness.settle();
    ASSERT_EQ(log.count(begun), 1);
    ASSERT_TRUE(harness.dragShown());
    if (esc)
      harness.pressEsc();
    else
      harness.loseCapture();
    harness.settle();
    EXPECT_EQ(log.count(cancelled), 1);
    EXPECT_EQ(log.events.back(), cancelled);
    EXPECT_FALSE(harness.dragShown());
  }
}

// The keyboard goes on from the row the program picked: the first of the
// rows it selects becomes current; and the pointer says "no drop" while
// the program says so, until the drag ends.
TYPED_TEST_P(PortConformance, SelectRowsMakesTheFirstCurrentAndNoDropLastsTillTheDragEnds) {
  auto& harness = this->harness_;
  this->fill(this->rows_, 12);
  for (const std::vector<int>& picked : std::vector<std::vector<int>>{{7}, {2, 9}, {11}, {0, 1}}) {
    this->select(this->rows_, picked);
    harness.settle();
    EXPECT_EQ(harness.currentRow(LIST), picked.front());
  }
  for (const bool esc : {true, false}) {
    harness.beginDrag(LIST, 2);
    harness.settle();
    this->ui_.dragShowNoDrop(true);
    EXPECT_TRUE(harness.noDropShown());
    this->ui_.dragShowNoDrop(false);
    EXPECT_FALSE(harness.noDropShown());
    this->ui_.dragShowNoDrop(true);
    if (esc)
      harness.pressEsc();
    else
      this->ui_.dragEnd();
    harness.settle();
    EXPECT_FALSE(harness.noDropShown()) << (esc ? "after Esc" : "after the drag ended");
  }
}

// Enter's button follows the pick: exactly the button the program names
// looks like the default one, and naming it tells the program nothing.
TYPED_TEST_P(PortConformance, OneButtonAtATimeIsDrawnAsTheDefault) {
  const int buttons[] = {res::IDC_ADD, res::IDC_CHANGE, res::IDC_REMOVE};
  for (const int id : {res::IDC_CHANGE, res::IDC_ADD, res::IDC_CHANGE, res::IDC_REMOVE}) {
    this->ui_.setDefaultButton(id);
    this->harness_.settle();
    for (const int b : buttons)
      EXPECT_EQ(this->harness_.drawnAsDefault(b), b == id) << "set " << id << ", button " << b;
  }
  EXPECT_EQ(this->log_.events, std::vector<std::string>{});
}

// The status line shows the last text whole, in any script, and a long one
// never widens the window.
TYPED_TEST_P(PortConformance, TheStatusLineShowsTheLastTextAndKeepsTheWindowsWidth) {
  auto& harness = this->harness_;
  harness.settle();
  const int width = harness.windowWidth();
  const std::string named =
      "Saved \xC3\x9C"
      "bersicht \xD0\xA1\xD0\xBF.wdb (Type I: 1 satellite)";
  this->ui_.setStatusText(std::string(400, 'x'));
  this->ui_.setStatusText(named);
  harness.settle();
  EXPECT_EQ(harness.statusText(), named);
  this->ui_.setStatusText(std::string(400, 'x'));
  harness.settle();
  EXPECT_EQ(harness.windowWidth(), width);
}

// Save As opens at the file it is given with its type chosen; a type the
// user turns to is explained, and a name the check refuses keeps the dialog
// open for the next.
TYPED_TEST_P(PortConformance, SaveAsStartsAtItsFileAndARefusalKeepsItOpen) {
  if (!TypeParam::drivesSaveAs) GTEST_SKIP() << "no user for this window's Save As yet";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "velmora-save-as";
  std::filesystem::create_directories(dir);
  const std::string folder = dir.generic_string();
  std::vector<int> explained;
  std::vector<std::pair<std::string, int>> checked;
  editor::SaveAsRequest request;
  request.initialPath = folder + "/list.wdb";
  request.types = {"Type A (new)", "Type B (old)"};
  request.chosenType = 1;
  request.aboutType = [&](int type) {
    explained.push_back(type);
    return std::string("About ") + (type == 0 ? "A" : "B");
  };
  request.check = [&](const std::string& path, int type) {
    checked.emplace_back(std::filesystem::path(path).filename().string(), type);
    return type == 0 ? std::string("Not as A") : std::string();
  };
  const SaveAsSeen seen = this->harness_.saveAs(
      request, {{0, folder + "/a.wdb"}, {1, folder + "/b.wdb"}, {1, folder + "/c.wdb"}});
  EXPECT_EQ(std::filesystem::path(seen.shownFolder), dir);
  EXPECT_EQ(seen.shownName, "list.wdb");
  EXPECT_EQ(seen.shownType, 1);
  EXPECT_EQ(explained, (std::vector<int>{0, 1}));
  EXPECT_EQ(checked, (std::vector<std::pair<std::string, int>>{{"a.wdb", 0}, {"b.wdb", 1}}));
  ASSERT_TRUE(seen.choice.has_value());
  EXPECT_EQ(std::filesystem::path(seen.choice->path).filename(), "b.wdb");
  EXPECT_EQ(seen.choice->type, 1);
}

// A list's columns read back as given; a double click on a header's edge
// fits that column to its widest cell, sorting nothing.
TYPED_TEST_P(PortConformance, ColumnsReadBackAndADoubleClickOnAnEdgeFitsTheWidestCell) {
  EXPECT_EQ(this->ui_.listColumnWidths(LIST), (std::vector<int>{40, 120}));
  if (!TypeParam::hasHeaders) return;
  this->fill(this->rows_, 5);
  this->rows_.names[2] = std::string(60, 'W');
  this->ui_.listRowsChanged(LIST, editor::ListChange::reset());
  this->harness_.fitColumn(LIST, 1);
  this->harness_.settle();
  EXPECT_GT(this->ui_.listColumnWidths(LIST).at(1), 300);
  EXPECT_EQ(this->log_.events, std::vector<std::string>{});
}

// The program puts the keyboard in a list on the row the arrow keys go on
// from, and tells itself nothing of it.
TYPED_TEST_P(PortConformance, FocusListPutsTheKeyboardInTheListOnItsCurrentRow) {
  auto& rows = this->rows_;
  this->fill(rows, 6);
  this->select(rows, {3});
  this->ui_.focusList(LIST);
  this->harness_.settle();
  EXPECT_EQ(this->ui_.focusedControl(), LIST);
  EXPECT_EQ(this->harness_.currentRow(LIST), 3);
  EXPECT_EQ(this->ui_.listSelectedRows(LIST), std::vector<int>{3});
  EXPECT_EQ(this->log_.events, std::vector<std::string>{});
}

// Rows copied for a spreadsheet reach the system clipboard whole: every
// letter in any script, the tabs between cells, every line, with the
// platform's line ends; the last text put there replaces the one before.
TYPED_TEST_P(PortConformance, ClipboardTextReadsBackWholeInAnyScript) {
  auto& harness = this->harness_;
  const std::string rows =
      "1\tDas Erste HD\t10301\n"
      "2\t\xC3\x9C"
      "bersicht \xC3\xA9t\xC3\xA9\t28006\n"
      "3\t\xD0\xA1\xD0\xBF\xD0\xBE\xD1\x80\xD1\x82 \xE2\x82\xAC\t\t0x1FFF\n";
  const auto asRead = [](const std::string& text) {
    std::string out;
    for (const char c : text)
      out += c == '\n' ? std::string(TypeParam::clipboardLineEnd) : std::string(1, c);
    return out;
  };
  harness.setClipboardText(std::string(3000, 'x') + "\n");
  harness.setClipboardText(rows);
  harness.settle();
  EXPECT_EQ(harness.clipboardText(), asRead(rows));
  harness.setClipboardText("\xE2\x82\xAC");
  harness.settle();
  EXPECT_EQ(harness.clipboardText(), "\xE2\x82\xAC");
  EXPECT_EQ(this->log_.events, std::vector<std::string>{});
}

// clang-format off
REGISTER_TYPED_TEST_SUITE_P(PortConformance, SaveAsStartsAtItsFileAndARefusalKeepsItOpen,
                            ClipboardTextReadsBackWholeInAnyScript,
                            ColumnsReadBackAndADoubleClickOnAnEdgeFitsTheWidestCell,
                            FocusListPutsTheKeyboardInTheListOnItsCurrentRow,
                            AnInsertedRowIsNeverSelectedAndSelectedRowsFollowTheirRows,
                            AChangeTheProgramMakesNeverNotifies, AMovedRowKeepsItsSelectionAndCells,
                            AUsersClickOnARowNotifiesWithThatRowSelected,
                            TheListShowsItsSourceAfterEveryNotice,
                            RemovingTheSelectedComboItemLeavesNoneSelected,
                            EscAndTheLossOfTheMouseEndADragTheUserBegan,
                            SelectRowsMakesTheFirstCurrentAndNoDropLastsTillTheDragEnds,
                            OneButtonAtATimeIsDrawnAsTheDefault,
                            TheStatusLineShowsTheLastTextAndKeepsTheWindowsWidth);
// clang-format on

}  // namespace velmora::test
