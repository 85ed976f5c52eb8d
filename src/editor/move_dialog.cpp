#include "editor/move_dialog.h"

#include <algorithm>
#include <climits>

#include "db/text_number.h"

namespace velmora::editor {

using namespace velmora::res;

void MoveDialog::onInit(Controls&) { position = 0; }

bool MoveDialog::onCommand(Controls& c, int commandId) {
  switch (commandId) {
    case IDOK:
      if (c.focusedControl() == IDC_MOVE_CANCEL) break;
      [[fallthrough]];
    case IDC_MOVE_OK:
      // A number too long for an int stays out of every list's range.
      position = static_cast<int>(
          std::clamp<std::int64_t>(leadingValue(c.text(IDC_MOVE_POSITION)), INT_MIN, INT_MAX));
      result = IDOK;
      return true;
    case IDCANCEL:
    case IDC_MOVE_CANCEL:
      break;
    default:
      return false;
  }
  result = IDCANCEL;
  return true;
}

}  // namespace velmora::editor
