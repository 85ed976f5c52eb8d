#include "editor/move_dialog.h"

#include <algorithm>
#include <climits>
#include <string>

#include "db/text_number.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

// A position is a whole number, digits alone (blanks around them allowed);
// anything else ("5x", "1.5", "") is position 0, which no list has. A
// number too long for an int stays out of every list's range too.
int wholeNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (!std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    return 0;
  return static_cast<int>(std::clamp<std::int64_t>(leadingValue(text), 0, INT_MAX));
}

}  // namespace

void MoveDialog::onInit(Controls& c) {
  position = 0;
  const bool several = entries > 1;
  if (several) {
    c.setText(IDC_MOVE_BLOCK_LABEL, std::string(text::MOVE_ENTRIES_HEAD) + std::to_string(entries) +
                                        std::string(text::MOVE_ENTRIES_TAIL));
  }
  c.setVisible(IDC_MOVE_LABEL, !several);
  c.setVisible(IDC_MOVE_BLOCK_LABEL, several);
}

bool MoveDialog::onCommand(Controls& c, int commandId) {
  switch (commandId) {
    case ID_OK:
      if (c.focusedControl() == IDC_MOVE_CANCEL) break;
      [[fallthrough]];
    case IDC_MOVE_OK:
      position = wholeNumber(c.text(IDC_MOVE_POSITION));
      result = ID_OK;
      return true;
    case ID_CANCEL:
    case IDC_MOVE_CANCEL:
      break;
    default:
      return false;
  }
  result = ID_CANCEL;
  return true;
}

}  // namespace velmora::editor
