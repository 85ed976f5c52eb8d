// Find: the dialog, and the search through the list the window shows.
#include "editor/find_dialog.h"

#include <algorithm>
#include <cctype>

#include "editor/editor_dialog.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

// The last text searched for is offered selected, so that typing replaces
// it.
void FindDialog::onInit(Controls& c) {
  c.setText(IDC_FIND_TEXT, text);
  c.selectAllText(IDC_FIND_TEXT);
}

bool FindDialog::onCommand(Controls& c, int commandId) {
  switch (commandId) {
    case ID_OK:
      // Enter on Close closes, as on any button.
      if (c.focusedControl() == ID_CANCEL) break;
      text = c.text(IDC_FIND_TEXT);
      if (!findNext_(text)) prompts_.message(text::NOT_FOUND, "", Buttons::Ok, Icon::Exclamation);
      return false;
    case IDC_FIND_ALL_SATS:
      // The same text looked for in every satellite, in a list of its own.
      text = c.text(IDC_FIND_TEXT);
      result = IDC_FIND_ALL_SATS;
      return true;
    case ID_CANCEL:
      break;
    default:
      return false;
  }
  result = ID_CANCEL;
  return true;
}

namespace {

bool containsIgnoringCase(const std::string& haystack, const std::string& needle) {
  const auto lower = [](char ch) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  };
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                     [&](char a, char b) { return lower(a) == lower(b); }) != haystack.end();
}

}  // namespace

// The next row after the selected one (from the top when none is) whose
// name holds the text, on the Transponder tab whose frequency does; the
// search wraps at the end. A row found is picked as by a click.
bool EditorDialog::findNextRow(const std::string& wanted) {
  if (wanted.empty()) return false;
  const int list = ListsPresenter::listOfTab(curTab);
  const auto s = static_cast<std::size_t>(std::clamp(view_.listedSat, 0, MAX_SATS - 1));
  int count = 0;
  std::function<const std::string&(int)> textOf;
  if (curTab == TAB_SATELLITE) {
    count = db.satCount;
    textOf = [&](int r) -> const std::string& { return db.sats[static_cast<std::size_t>(r)].name; };
  } else if (curTab == TAB_TRANSPONDER) {
    count = view_.listedSat < db.satCount ? db.tpTables[s].count() : 0;
    textOf = [&](int r) -> const std::string& { return db.tpTables[s][r].frequency; };
  } else {
    count = view_.listedSat < db.satCount ? db.svcTables[s].count() : 0;
    textOf = [&](int r) -> const std::string& { return db.svcTables[s][r].name; };
  }
  count = std::min(count, lists_.rowCount(list));
  const std::vector<int> selected = controls_.listSelectedRows(list);
  const int from = selected.empty() ? -1 : selected.front();
  for (int step = 1; step <= count; ++step) {
    const int r = ((from + step) % count + count) % count;
    if (!containsIgnoringCase(textOf(r), wanted)) continue;
    controls_.listSelectRows(list, {r});
    controls_.listEnsureVisible(list, r);
    onListClick(list, {r});
    return true;
  }
  return false;
}

void EditorDialog::findEntry() {
  FindDialog dialog(prompts_, lastFind_,
                    [this](const std::string& wanted) { return findNextRow(wanted); });
  const int ended = prompts_.runModal(dialog);
  lastFind_ = dialog.text;
  if (ended == IDC_FIND_ALL_SATS) findEverywhere(lastFind_);
}

}  // namespace velmora::editor
