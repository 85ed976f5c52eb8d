// The user's picks in a window's list views. The user changes a list's
// selection in bursts (a click, a key, type-ahead, a drag of the mouse):
// one pick is reported for each, posted so that it comes after the whole
// burst, and reported at once when something else the user does comes
// first.
#pragma once

#include <set>

#include "editor/port.h"
#include "win32/win.h"

namespace velmora::win32 {

// Posted once per burst of the user's changes to a list view's selection;
// wParam is its id.
inline constexpr UINT WM_APP_LIST_PICK = WM_APP + 1;

class ListPicks {
 public:
  // `controls`: the window's, whose lists' selections the picks carry.
  ListPicks(HWND dialog, const editor::Controls& controls) : dialog_(dialog), controls_(controls) {}
  void setEvents(editor::ControlEvents* events) { events_ = events; }

  // The user changed the selection of list `id`.
  void changed(int id);
  // A mouse press on list `id` begins; a click on it is over. A click that
  // left the selection as it was picks its row again.
  void pressBegan(int id) { pickedThisPress_.erase(id); }
  void clicked(int id) {
    if (pickedThisPress_.count(id) == 0) changed(id);
  }
  // The pick of list `id` is not to be reported (another event reads the
  // selection itself).
  void forget(int id) { pending_.erase(id); }
  // Reports the picks still waiting, so that they come before whatever
  // the user does next.
  void flush();
  // WM_APP_LIST_PICK for list `id`.
  void onPosted(int id);

 private:
  void report(int id);

  HWND dialog_;
  const editor::Controls& controls_;
  editor::ControlEvents* events_ = nullptr;
  // Lists whose pick is posted and not yet reported; lists whose current
  // mouse press has changed the selection already.
  std::set<int> pending_;
  std::set<int> pickedThisPress_;
};

}  // namespace velmora::win32
