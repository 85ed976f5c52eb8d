// Cut, Copy and Paste of the picked channels or transponders: the entries
// are kept here, in the window, so that they can go into another
// satellite's lists; the system clipboard gets their rows as text for a
// spreadsheet. Cutting takes the entries out as Remove does, pasting puts
// them in before the picked row of the shown list (at its end with none).
#include <algorithm>

#include "editor/editor_dialog.h"
#include "editor/status_texts.h"
#include "match/clip.h"
#include "resource_ids.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

int channelCount(const match::Clip& clip) {
  int n = static_cast<int>(clip.channels.size());
  for (const match::ClipTransponder& tp : clip.transponders)
    n += static_cast<int>(tp.channels.size());
  return n;
}

}  // namespace

// The picked rows of the shown Transponder or Channel list, in list
// order; none (after saying so) when nothing of it is picked.
std::vector<int> EditorDialog::clipRows() {
  if (curTab == TAB_SATELLITE || db.satCount == 0) return {};
  if (!view_.rowPicked || !clickedRowExists() || picks_.tab() != curTab) {
    warn(text::SELECT_A_LIST);
    return {};
  }
  return picks_.rows();
}

// Takes rows `rows` of the shown list into the window's clip, and as text
// onto the system clipboard.
void EditorDialog::copyRows(const std::vector<int>& rows) {
  const int s = view_.listedSat;
  const bool tps = curTab == TAB_TRANSPONDER;
  clip_ = tps ? match::copyTransponders(db, s, rows) : match::copyChannels(db, s, rows);
  prompts_.setClipboardText(tps ? match::transponderRowsText(db, s, rows)
                                : match::channelRowsText(db, s, rows));
}

void EditorDialog::copyEntries() {
  const std::vector<int> rows = clipRows();
  if (rows.empty()) return;
  copyRows(rows);
  say(copiedStatus(static_cast<int>(clip_.transponders.size()), channelCount(clip_)));
}

void EditorDialog::cutEntries() {
  const std::vector<int> rows = clipRows();
  if (rows.empty()) return;
  copyRows(rows);
  const int s = view_.listedSat;
  if (curTab == TAB_TRANSPONDER)
    match::removeTransponders(db, s, rows);
  else
    match::removeChannels(db, s, rows);
  say(cutStatus(static_cast<int>(clip_.transponders.size()), channelCount(clip_),
                db.sats[at(s)].name));
  relistCurrentTab();
  refreshInfoPanel(s);
  // The keyboard goes on as after Remove.
  pickAfterRemoval(*std::min_element(rows.begin(), rows.end()));
}

bool EditorDialog::canPaste() const {
  if (view_.listedSat < 0 || view_.listedSat >= db.satCount) return false;
  if (curTab == TAB_CHANNEL) return !clip_.channels.empty();
  return curTab == TAB_TRANSPONDER && !clip_.transponders.empty();
}

void EditorDialog::pasteEntries() {
  if (!canPaste()) return;
  const int s = view_.listedSat;
  const bool tps = curTab == TAB_TRANSPONDER;
  const int before = view_.rowPicked && clickedRowExists() ? pickedRow(curTab) : -1;
  const match::PasteResult done = tps ? match::pasteTransponders(db, s, before, clip_.transponders)
                                      : match::pasteChannels(db, s, before, clip_.channels);
  if (!done.done()) {
    warn(done.refusal);
    return;
  }
  say(pastedStatus(tps ? done.transponders : 0, done.channels, tps ? 0 : done.transponders,
                   db.sats[at(s)].name));
  clearPick();
  clearEditPanel();
  relistCurrentTab();
  refreshInfoPanel(s);
  // The pasted rows are picked, so that the next Paste goes before them
  // and a Cut takes them out again.
  std::vector<int> pasted;
  const int n = tps ? done.transponders : done.channels;
  for (int r = done.firstRow; r < done.firstRow + n; ++r) pasted.push_back(r);
  pickRows(ListsPresenter::listOfTab(curTab), pasted);
  showPickedRow_ = true;
}

// Cut and Copy want a Transponder or Channel list to pick in; Paste a
// list that takes what the clip holds.
void EditorDialog::updateClipboardItems() {
  const bool listed = curTab != TAB_SATELLITE && db.satCount > 0;
  controls_.menuEnable(ID_EDIT_CUT, listed);
  controls_.menuEnable(ID_EDIT_COPY, listed);
  controls_.menuEnable(ID_EDIT_PASTE, canPaste());
}

}  // namespace velmora::editor
