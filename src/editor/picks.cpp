// What the user picked, kept by the entries themselves rather than by row
// numbers: after a sort, a move, a drag, an undo or any refill the pick is
// found again where its entry went, or forgotten when the entry is gone.
// The same holds for the satellite the information panel and the
// Transponder and Channel tabs show. Also the window's title and the
// saved state, worked out again after every event.
#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "db/path_text.h"
#include "editor/editor_dialog.h"
#include "layout.h"
#include "resource_ids.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// Each text as its length and bytes, so that no two entries share a key.
void put(std::string& key, const std::string& text) {
  key += std::to_string(text.size());
  key += ':';
  key += text;
}

}  // namespace

// An entry's identity: every field the user can see or set. The numbers a
// save writes (`seqNo`, `tpSeqNo`) follow from the order and do not count.
std::string EditorDialog::entryKey(int tab, int row) const {
  std::string key;
  if (tab == TAB_SATELLITE) {
    const SatRecord& s = db.sats[at(row)];
    for (const std::string* f :
         {&s.name, &s.lnbType, &s.lnbFreq1, &s.lnbFreq2, &s.diseqc, &s.tone22k, &s.switch12v,
          &s.lnbPower, &s.sdxCode, &s.diseqcCommitted, &s.diseqcUncommitted})
      put(key, *f);
  } else if (tab == TAB_TRANSPONDER) {
    const TpRecord& t = db.tpTables[at(view_.listedSat)][row];
    for (const std::string* f : {&t.polarization, &t.frequency, &t.symbolRate, &t.nid, &t.tid})
      put(key, *f);
  } else {
    const SvcRecord& v = db.svcTables[at(view_.listedSat)][row];
    for (const std::string* f :
         {&v.videoPid, &v.audioPid, &v.pcrPid, &v.serviceId, &v.name, &v.spare, &v.tpKey})
      put(key, *f);
    key += std::to_string(v.serviceType);
  }
  return key;
}

// Rows of the shown tab's table: the satellites, or the transponders or
// channels of the satellite the tab shows.
int EditorDialog::rowsOnTab(int tab) const {
  if (tab == TAB_SATELLITE) return db.satCount;
  if (view_.listedSat < 0 || view_.listedSat >= db.satCount) return 0;
  return tab == TAB_TRANSPONDER ? db.tpTables[at(view_.listedSat)].count()
                                : db.svcTables[at(view_.listedSat)].count();
}

int& EditorDialog::pickedRow(int tab) {
  return tab == TAB_SATELLITE     ? view_.pickedSatRow
         : tab == TAB_TRANSPONDER ? view_.pickedTpRow
                                  : view_.pickedSvcRow;
}

void EditorDialog::capturePick(int listId) {
  const int tab = ListsPresenter::tabOfList(listId);
  picks_.clear();
  pickTab_ = tab;
  const int count = rowsOnTab(tab);
  for (int row : controls_.listSelectedRows(listId))
    if (row >= 0 && row < count) picks_.push_back({row, entryKey(tab, row)});
  view_.pickedSatRow = view_.pickedTpRow = view_.pickedSvcRow = -1;
  view_.rowPicked = !picks_.empty();
  if (!picks_.empty()) pickedRow(tab) = picks_.front().row;
}

// Nothing picked, and no row of the shown list looks picked.
void EditorDialog::clearPick() {
  picks_.clear();
  view_.rowPicked = false;
  view_.pickedSatRow = view_.pickedTpRow = view_.pickedSvcRow = -1;
  const int list = ListsPresenter::listOfTab(curTab);
  if (!controls_.listSelectedRows(list).empty()) controls_.listSelectRows(list, {});
}

void EditorDialog::recapturePick() {
  for (PickedEntry& p : picks_)
    if (p.row >= 0 && p.row < rowsOnTab(pickTab_)) p.key = entryKey(pickTab_, p.row);
}

// Finds each picked entry again in the shown table: first where it was,
// else the same entry nearest to where it was. When the entry the panel
// shows is gone, the whole pick goes and the panel is emptied.
void EditorDialog::followPicks() {
  if (picks_.empty() || pickTab_ != curTab) {
    if (view_.rowPicked || !picks_.empty()) {
      clearPick();
      clearEditPanel();
    }
    view_.pickedSatRow = view_.pickedTpRow = view_.pickedSvcRow = -1;
    return;
  }
  const int count = rowsOnTab(curTab);
  std::vector<bool> taken(at(count), false);
  std::unordered_multimap<std::string, int> rowsByKey;
  auto lookUp = [&](const PickedEntry& p) {
    if (p.row >= 0 && p.row < count && !taken[at(p.row)] && entryKey(curTab, p.row) == p.key)
      return p.row;
    if (rowsByKey.empty())
      for (int r = 0; r < count; ++r) rowsByKey.emplace(entryKey(curTab, r), r);
    int best = -1;
    const auto [from, to] = rowsByKey.equal_range(p.key);
    for (auto it = from; it != to; ++it) {
      const int r = it->second;
      if (taken[at(r)]) continue;
      if (best < 0 || std::abs(r - p.row) < std::abs(best - p.row)) best = r;
    }
    return best;
  };

  std::vector<PickedEntry> kept;
  for (std::size_t i = 0; i < picks_.size(); ++i) {
    const int row = lookUp(picks_[i]);
    if (row < 0) {
      if (i == 0) break;  // the entry the panel shows is gone
      continue;
    }
    taken[at(row)] = true;
    kept.push_back({row, std::move(picks_[i].key)});
  }
  if (kept.empty()) {
    clearPick();
    clearEditPanel();
    return;
  }
  const bool moved = kept.front().row != picks_.front().row;
  picks_ = std::move(kept);
  view_.pickedSatRow = view_.pickedTpRow = view_.pickedSvcRow = -1;
  pickedRow(curTab) = picks_.front().row;
  view_.rowPicked = true;

  const int list = ListsPresenter::listOfTab(curTab);
  std::vector<int> rows;
  for (const PickedEntry& p : picks_) rows.push_back(p.row);
  std::vector<int> shown = controls_.listSelectedRows(list);
  std::vector<int> wanted = rows;
  std::sort(shown.begin(), shown.end());
  std::sort(wanted.begin(), wanted.end());
  if (shown != wanted) controls_.listSelectRows(list, rows);
  if (moved) controls_.listEnsureVisible(list, picks_.front().row);
}

// The satellite the information panel names (and the Transponder and
// Channel tabs show) is followed the same way; when it is gone, the one
// now in its place is shown.
void EditorDialog::followShownSatellite() {
  if (db.satCount <= 0) {
    view_.shownSat = 0;
    shownSatKey_.clear();
    return;
  }
  int s = std::clamp(view_.shownSat, 0, db.satCount - 1);
  if (!shownSatKey_.empty() &&
      (view_.shownSat != s || entryKey(TAB_SATELLITE, s) != shownSatKey_)) {
    int best = -1;
    for (int r = 0; r < db.satCount; ++r)
      if (entryKey(TAB_SATELLITE, r) == shownSatKey_ &&
          (best < 0 || std::abs(r - view_.shownSat) < std::abs(best - view_.shownSat)))
        best = r;
    if (best >= 0) s = best;
  }
  view_.shownSat = s;
  shownSatKey_ = entryKey(TAB_SATELLITE, s);
}

void EditorDialog::showSatellite(int s) {
  view_.shownSat = s;
  shownSatKey_ = s >= 0 && s < db.satCount ? entryKey(TAB_SATELLITE, s) : std::string();
}

// After every event: the shown satellite and the pick found again, the
// Transponder and Channel tabs on the shown satellite, the information
// panel, the saved state, the title and the Undo and Redo items.
void EditorDialog::settleView() {
  if (loaderBusy) return;
  followShownSatellite();
  if (curTab != TAB_SATELLITE && db.satCount > 0 && view_.listedSat != view_.shownSat) {
    clearPick();
    refillTab(curTab);
  }
  followPicks();
  if (db.satCount > 0) {
    refreshInfoPanel(view_.shownSat);
  } else {
    for (int id : {IDC_SEL_SAT, IDC_SEL_CH, IDC_SEL_TP, IDC_TOTAL_TP, IDC_TOTAL_CH})
      controls_.setText(id, ".");
  }
  updateUndoItems();
  updateTitle();
}

// The database as it is now is the one in the file (or the empty one).
void EditorDialog::markSavedState() {
  savedContent_ = db;
  savedLayout_ = wdbLayout;
}

bool EditorDialog::isSaved() const {
  return wdbLayout == savedLayout_ && sameContent(db, savedContent_);
}

void EditorDialog::updateTitle() {
  std::string title(editorDialog().caption);
  if (!shownFile_.empty()) {
    title += " - " + utf8FromPath(pathFromUtf8(shownFile_).filename());
  }
  const bool modified = hasUnsavedWork();
  if (title == shownTitle_ && modified == shownModified_) return;
  shownTitle_ = title;
  shownModified_ = modified;
  controls_.setWindowTitle(title, modified);
}

// The panel's fields empty and its choices as at start-up.
void EditorDialog::clearEditPanel() { panel_.clear(); }

}  // namespace velmora::editor
