// The rules every window behind the port keeps, whatever draws it. The
// same tests run over the in-memory window of the editor's tests, the Qt
// window and the native Windows one; each has a harness that builds the
// main window and acts on it as a user would:
//
//   explicit H(EventLog& log)     the window, with what the user does told to log
//   C& controls()        C an editor::Controls that also reads back comboItem
//   void click(int list, int row)        a left click on a row
//   void beginDrag(int list, int row)    the left button pressed on a row, then moved
//   void pressEsc()
//   void loseCapture()                   the mouse taken away from the window mid-drag
//   bool dragShown()                     the image of a dragged row is on the screen
//   void settle()                        the window handles what it has queued
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
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
  // The clicked list's selection at the moment each click was told.
  std::vector<std::vector<int>> selectionAtClick;

  void note(const char* what, int id = 0) { events.push_back(what + (" " + std::to_string(id))); }
  void listClick(int id) {
    note("listClick", id);
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
  void listClick(int id) override { log_.listClick(id); }
  void listRightClick(int id) override { log_.note("listRightClick", id); }
  void columnClick(int id) override { log_.note("columnClick", id); }
  void comboChanged(int id) override { log_.note("comboChanged", id); }
  void lineChosen(int id) override { log_.note("lineChosen", id); }
  void dragBegin(int id, int row) override { log_.dragBegin(id, row); }
  void dragMove(int overList, int, int) override { log_.note("dragMove", overList); }
  void dragRelease(int overList, int, int) override { log_.note("dragRelease", overList); }
  void dragCancel() override { log_.note("dragCancel"); }

 private:
  EventLog& log_;
};

// The main window's satellite list and a combo box of satellites.
inline constexpr int LIST = res::IDC_SAT_LIST;
inline constexpr int COMBO = res::IDC_TP_SAT;

template <class Harness>
class PortConformance : public ::testing::Test {
 protected:
  PortConformance() : harness_(log_), ui_(harness_.controls()) {
    log_.controls = &ui_;
    ui_.listAddColumn(LIST, "No", 40);
    ui_.listAddColumn(LIST, "Name", 120);
    for (const char* title : {"Satellite", "Transponder", "Channel"})
      ui_.tabInsert(res::IDC_TAB, 3, title);
    harness_.settle();
    log_.events.clear();
  }

  // Rows named r0, r1, ... in the order they were made, as the list
  // should show them, and the names of those the program selected.
  struct Rows {
    std::vector<std::string> names;
    std::vector<std::string> selected;
  };
  void insert(Rows& rows, int at) {
    const std::string name = "r" + std::to_string(made_++);
    ui_.listInsertRow(LIST, at, {std::to_string(at + 1), name});
    rows.names.insert(rows.names.begin() + at, name);
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
    ASSERT_EQ(ui_.listRowCount(LIST), static_cast<int>(rows.names.size()));
    std::vector<int> selected;
    for (int r = 0; r < static_cast<int>(rows.names.size()); ++r) {
      const std::string& name = rows.names[static_cast<std::size_t>(r)];
      ASSERT_EQ(ui_.listCell(LIST, r, 1), name) << "row " << r;
      if (std::count(rows.selected.begin(), rows.selected.end(), name)) selected.push_back(r);
    }
    EXPECT_EQ(ui_.listSelectedRows(LIST), selected);
  }

  EventLog log_;
  Harness harness_;
  decltype(std::declval<Harness&>().controls()) ui_;
  std::mt19937 random_{7};

 private:
  int made_ = 0;
};

TYPED_TEST_SUITE_P(PortConformance);

TYPED_TEST_P(PortConformance, AnInsertedRowIsNeverSelectedAndSelectedRowsFollowTheirRows) {
  typename TestFixture::Rows rows;
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
  typename TestFixture::Rows rows;
  this->fill(rows, 6);
  this->harness_.settle();
  ui.listSelectRows(LIST, {1, 4});
  ui.listMoveRow(LIST, 1, 5);
  ui.listSetCell(LIST, 5, 1, "renamed");
  ui.listDeleteRow(LIST, 5);
  ui.listInsertRow(LIST, 0, {"0", "first"});
  ui.listSelectRows(LIST, {0});
  this->harness_.settle();
  ui.listDeleteAll(LIST);
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
  typename TestFixture::Rows rows;
  this->fill(rows, 12);
  this->select(rows, {0, 5, 6, 11});
  for (int step = 0; step < 40; ++step) {
    const int from = static_cast<int>(this->random_() % 12);
    const int to = static_cast<int>(this->random_() % 12);
    this->ui_.listMoveRow(LIST, from, to);
    auto& names = rows.names;
    const std::string moved = names[static_cast<std::size_t>(from)];
    names.erase(names.begin() + from);
    names.insert(names.begin() + to, moved);
    SCOPED_TRACE("step " + std::to_string(step) + ": row " + std::to_string(from) + " moved to " +
                 std::to_string(to));
    this->expectShows(rows);
    if (this->HasFatalFailure()) return;
  }
}

TYPED_TEST_P(PortConformance, AUsersClickOnARowNotifiesWithThatRowSelected) {
  typename TestFixture::Rows rows;
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
  EXPECT_EQ(this->log_.selectionAtClick, (std::vector<std::vector<int>>{{5}, {5}, {0}}));
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
  typename TestFixture::Rows rows;
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

REGISTER_TYPED_TEST_SUITE_P(PortConformance,
                            AnInsertedRowIsNeverSelectedAndSelectedRowsFollowTheirRows,
                            AChangeTheProgramMakesNeverNotifies, AMovedRowKeepsItsSelectionAndCells,
                            AUsersClickOnARowNotifiesWithThatRowSelected,
                            RemovingTheSelectedComboItemLeavesNoneSelected,
                            EscAndTheLossOfTheMouseEndADragTheUserBegan);

}  // namespace velmora::test
