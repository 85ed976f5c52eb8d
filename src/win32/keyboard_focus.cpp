// Where the keyboard goes when the program decides it: into a list view,
// on the row its focus rectangle marks.
#include "win32/win_controls.h"

namespace velmora::win32 {

// A window that is not shown yet takes no focus: the list gets it once the
// window is shown (applyFocus). A list on a tab not showing takes none.
void WinControls::focusList(int id) {
  focusWanted_ = id;
  HWND w = item(id);
  if (w == nullptr || !IsWindowVisible(w) || !IsWindowEnabled(w)) return;
  if (GetFocus() == w) return;
  SetFocus(w);
}

void WinControls::applyFocus() {
  if (focusWanted_ != 0) focusList(focusWanted_);
}

}  // namespace velmora::win32
