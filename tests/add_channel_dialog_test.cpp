// The Add channel dialog on its own window: picking a transponder in
// either list, the list box's lines, OK, Enter and Esc.
#include "editor/add_channel_dialog.h"

#include <gtest/gtest.h>

#include <optional>

#include "layout.h"
#include "support/db_builders.h"
#include "support/fake_port.h"
#include "texts.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;

class AddChannel : public ::testing::Test {
 protected:
  AddChannel() : ui(addChannelDialog()) {}

  void open(int transponders, ChannelFields start = {}) {
    for (int r = 0; r < transponders; ++r)
      table.append(makeTp(std::to_string(10700 + r), r % 2 ? "V" : "H", "27500"));
    dialog.emplace(prompts, table, std::move(start));
    dialog->onInit(ui);
  }
  bool send(int id) { return dialog->onCommand(ui, id); }
  void pickInList(std::vector<int> rows) {
    ui.pickRows(IDC_ACH_TP_LIST, std::move(rows));
    send(IDC_ACH_TP_LIST);
  }

  FakeControls ui;
  FakePrompts prompts;
  TpTable table;
  std::optional<AddChannelDialog> dialog;
};

TEST_F(AddChannel, StartsWithTheListViewAndTheMainWindowsValues) {
  open(2, {"News", "160", "80", "161", "7", 1});
  EXPECT_EQ(ui.text(IDC_ACH_NAME), "News");
  EXPECT_EQ(ui.text(IDC_ACH_PPID), "161");
  EXPECT_EQ(ui.text(IDC_ACH_SID), "7");
  EXPECT_EQ(ui.comboItem(IDC_ACH_SCRAMBLED, ui.comboSelection(IDC_ACH_SCRAMBLED)), "Yes");
  ASSERT_EQ(ui.listColumnCount(IDC_ACH_TP_LIST), 4);
  EXPECT_EQ(ui.listColumnHeader(IDC_ACH_TP_LIST, 2), "Polarization");
  EXPECT_EQ(ui.listColumnWidth(IDC_ACH_TP_LIST, 0), 30);
  EXPECT_EQ(ui.rows(IDC_ACH_TP_LIST).at(1), (std::vector<std::string>{"2", "10701", "V", "27500"}));
  EXPECT_TRUE(ui.isVisible(IDC_ACH_TP_LIST));
  for (int id : {IDC_ACH_TP_LINES, IDC_ACH_CAP_NUM, IDC_ACH_CAP_SR}) EXPECT_FALSE(ui.isVisible(id));
  EXPECT_EQ(addChannelDialog().w, 215);
  EXPECT_EQ(addChannelDialog().fontFamily, "Arial");
}

TEST_F(AddChannel, ListBoxLinesIndentNumbersBelowOneHundred) {
  const auto line = [](const char* number, int r) {
    return std::string(number) + std::string(14, ' ') + std::to_string(10700 + r) +
           std::string(17, ' ') + (r % 2 ? "V" : "H") + std::string(18, ' ') + "27500";
  };
  open(120);
  send(IDC_ACH_LINES_MODE);
  ASSERT_EQ(ui.comboCount(IDC_ACH_TP_LINES), 120);
  EXPECT_EQ(ui.comboItem(IDC_ACH_TP_LINES, 0), line("   1", 0));
  EXPECT_EQ(ui.comboItem(IDC_ACH_TP_LINES, 98), line("  99", 98));
  EXPECT_EQ(ui.comboItem(IDC_ACH_TP_LINES, 99), line("100", 99));
  EXPECT_EQ(ui.comboItem(IDC_ACH_TP_LINES, 119), line("120", 119));
  EXPECT_FALSE(ui.isVisible(IDC_ACH_TP_LIST));
  EXPECT_TRUE(ui.isVisible(IDC_ACH_TP_LINES));
  EXPECT_TRUE(ui.isVisible(IDC_ACH_CAP_FREQ));
}

TEST_F(AddChannel, APickInEitherListSurvivesSwitchingBetweenThem) {
  open(3);
  send(IDC_ACH_LINES_MODE);
  ui.pickComboItem(IDC_ACH_TP_LINES, 2);
  send(IDC_ACH_TP_LINES);
  send(IDC_ACH_LINES_MODE);  // back to the list view: the list box is emptied
  EXPECT_EQ(ui.comboCount(IDC_ACH_TP_LINES), 0);
  EXPECT_FALSE(ui.isVisible(IDC_ACH_TP_LINES));
  EXPECT_TRUE(ui.isVisible(IDC_ACH_TP_LIST));
  EXPECT_TRUE(send(ID_OK));
  EXPECT_EQ(dialog->result, ID_OK);
  EXPECT_EQ(dialog->chosenTpRow, 2);
}

TEST_F(AddChannel, OkWantsARowAndThenTakesTheFields) {
  open(2, {"News", "160", "80", "160", "7", 0});
  EXPECT_FALSE(send(ID_OK));
  pickInList({1});
  pickInList({});  // a click below the last row undoes the pick
  EXPECT_FALSE(send(ID_OK));
  EXPECT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages.back().text, text::SELECT_A_TP);

  pickInList({1});
  ui.type(IDC_ACH_NAME, "News 24");
  ui.pickComboItem(IDC_ACH_SCRAMBLED, 1);
  send(IDC_ACH_SCRAMBLED);
  ui.focus(IDC_ACH_NAME);
  EXPECT_TRUE(send(ID_OK));  // Enter in a field
  EXPECT_EQ(dialog->result, ID_OK);
  EXPECT_EQ(dialog->chosenTpRow, 1);
  EXPECT_EQ(dialog->chName, "News 24");
  EXPECT_EQ(dialog->sid, "7");
  EXPECT_EQ(dialog->scrambledChoice, 1);
}

TEST_F(AddChannel, EnterOnCancelAndEscCancel) {
  open(1);
  pickInList({0});
  ui.focus(ID_CANCEL);
  EXPECT_TRUE(send(ID_OK));
  EXPECT_EQ(dialog->result, ID_CANCEL);
  EXPECT_TRUE(dialog->chName.empty());

  dialog->result = 0;
  ui.focus(0);
  EXPECT_TRUE(send(ID_CANCEL));
  EXPECT_EQ(dialog->result, ID_CANCEL);
  EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace velmora::editor
