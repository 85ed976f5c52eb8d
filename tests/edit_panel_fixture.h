// The main window on fake controls, with the edit panel's fields typed in
// through it, for the tests of Add, Change and Remove.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "support/fake_port.h"
#include "texts.h"

namespace velmora::editor {
using namespace velmora::res;
using namespace velmora::test;
using Fields = std::vector<std::pair<int, std::string>>;

class EditPanelCommands : public ::testing::Test {
 protected:
  EditPanelCommands() : ui(editorDialog()), editor(ui, prompts, EditorEnv{"/opt/velmora", {}}) {
    editor.initDialog();
  }

  // A database as it stands after loading it.
  void load(ChannelDb db) {
    switchTo(TAB_SATELLITE);
    wdb::ReadResult loaded;
    loaded.db = std::move(db);
    loaded.layout = wdb::Layout::TypeI;
    editor.finishLoading(std::move(loaded));
  }
  void switchTo(int tab) {
    ui.pickTab(tab - 1);
    editor.onTabChanged();
  }
  void click(int list, std::vector<int> rows) {
    ui.pickRows(list, std::move(rows));
    editor.onListClick(list, ui.listSelectedRows(list));
  }
  void choose(int combo, int item) {
    ui.pickComboItem(combo, item);
    editor.onComboChanged(combo);
  }
  // Types into the fields, then presses Enter in the last one (Add).
  void enter(const Fields& fields) {
    for (const auto& [id, text] : fields) ui.type(id, text);
    ui.focus(fields.back().first);
    editor.onKeyDown(KEY_RETURN);
  }
  void press(int button) {
    ui.focus(button);
    editor.onKeyDown(KEY_RETURN);
  }
  void addSat(const std::string& name, const std::string& longitude) {
    enter({{IDC_SAT_NAME, name},
           {IDC_LNB_FREQ1, "9750"},
           {IDC_LNB_FREQ2, "10600"},
           {IDC_LONGITUDE, longitude}});
  }
  void addTp(const std::string& freq, const std::string& rate) {
    enter({{IDC_FREQUENCY, freq}, {IDC_SYMBOL_RATE, rate}});
  }
  // Add on the Channel tab; the dialog picks `tpRow` and the scrambled
  // choice, then OK.
  void addSvc(const Fields& fields, int tpRow, int scrambled = 0) {
    prompts.dialogScripts.push_back([=](FakePrompts::DialogSession& d) {
      d.ui.pickRows(IDC_ACH_TP_LIST, {tpRow});
      d.send(IDC_ACH_TP_LIST);
      d.ui.pickComboItem(IDC_ACH_SCRAMBLED, scrambled);
      d.send(IDC_ACH_SCRAMBLED);
      d.send(ID_OK);
    });
    enter(fields);
  }
  static Fields svcFields(std::string name, std::string v, std::string a, std::string p,
                          std::string sid) {
    return {{IDC_CH_NAME, name},
            {IDC_VIDEO_PID, v},
            {IDC_AUDIO_PID, a},
            {IDC_PCR_PID, p},
            {IDC_SERVICE_ID, sid}};
  }
  // The messages shown since the last call.
  std::vector<std::string> said() {
    std::vector<std::string> out;
    for (const auto& m : prompts.messages) out.emplace_back(m.text);
    prompts.messages.clear();
    return out;
  }
  std::vector<std::string> satNames() const {
    std::vector<std::string> out;
    for (int s = 0; s < editor.database().satCount; ++s)
      out.push_back(editor.database().sats[static_cast<std::size_t>(s)].name);
    return out;
  }
  void expectCombosHoldTheNames() {
    EXPECT_EQ(ui.at(IDC_TP_SAT).combo.items, satNames());
    EXPECT_EQ(ui.at(IDC_SVC_SAT).combo.items, satNames());
  }
  std::vector<std::string> row(int list, int r) const { return ui.rows(list).at(r); }
  std::string key(int sat, int svc) const { return editor.database().svcTables[sat][svc].tpKey; }

  FakeControls ui;
  FakePrompts prompts;
  EditorDialog editor;
};

}  // namespace velmora::editor
