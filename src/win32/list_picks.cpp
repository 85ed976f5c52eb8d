#include "win32/list_picks.h"

#include <utility>

namespace velmora::win32 {

void ListPicks::changed(int id) {
  pickedThisPress_.insert(id);
  if (pending_.insert(id).second)
    PostMessageW(dialog_, WM_APP_LIST_PICK, static_cast<WPARAM>(id), 0);
}

void ListPicks::flush() {
  for (const int id : std::exchange(pending_, {})) report(id);
}

void ListPicks::onPosted(int id) {
  if (pending_.erase(id) != 0) report(id);
}

void ListPicks::report(int id) {
  if (events_ != nullptr) events_->listClick(id, controls_.listSelectedRows(id));
}

}  // namespace velmora::win32
