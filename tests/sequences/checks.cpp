// What a sequence checks after every step, and at its end.
#include <algorithm>

#include "sequences/model.h"

namespace velmora::editor::sequences {

void Sequence::finishStep(Kind kind, const Plan& plan, bool dragged) {
  const bool loading = !prompts_.pendingWork.empty();
  prompts_.finishBackgroundWork();
  if (!prompts_.log.empty()) {
    std::string log;
    for (const std::string& l : prompts_.log) log += (log.empty() ? "" : "; ") + l;
    described_.back() += " [" + log + "]";
  }
  const State after = now();

  // What the disk saw: a save wrote its file when it got to the rename.
  bool wrote = false, failed = false;
  for (const auto& [s, e] : fileSteps_) {
    // Keeping the previous version is no part of the save's success.
    if (e != 0 && s != FileStep::Keep && s != FileStep::Backup) failed = true;
    if (s == FileStep::Rename && e == 0) wrote = true;
  }
  wrote = wrote && !failed;
  if (wrote) checkSavedFile(loading || kind == Kind::New ? before_.db : ed_.database());
  if (!wrote) {
    for (const auto& [p, bytes] : before_.files_) {
      const std::optional<std::vector<std::byte>> nowBytes =
          fs::exists(p) ? readWholeFile(p) : std::nullopt;
      require(nowBytes == bytes, "a save that did not succeed changed " + p);
    }
  }

  bool reset = false;  // a load or New: the history starts again
  // A file replaces the database only once it has loaded and the user
  // agreed; otherwise everything stays, the undo history too.
  // Esc to a question keeps it, and so does a Yes whose save did not
  // happen.
  bool escaped = false, yes = false;
  for (const std::string& l : prompts_.log) {
    escaped |= l.find("-> Esc") != std::string::npos;
    yes |= l.find("-> Yes") != std::string::npos;
  }
  const bool replaced = loading && !escaped && (!yes || wrote) && loadedFromFile();
  if (replaced) {
    checkLoaded();
    reset = true;
  } else if (loading && !wrote) {
    require(after == before_.state, "an Open that replaced nothing changed the database");
  } else if (kind == Kind::New &&
             after.content == stateOf(ChannelDb{}, wdb::Layout::NotChosen).content &&
             after.layout == wdb::Layout::NotChosen) {
    reset = true;
  }

  // The keyboard goes with a tab to its list, and back to the shown list
  // after the dialogs that work on it and after a file has loaded.
  if (kind == Kind::Tab || kind == Kind::Find || kind == Kind::FindAll ||
      (kind == Kind::Move && !dragged) || (kind == Kind::Add && before_.tab == TAB_CHANNEL) ||
      replaced)
    require(ui_.focusedControl() == listOf(shownTab()), "the keyboard is not in the shown list");

  // 1. The command's own effect.
  const std::vector<std::string> pick =
      pickTab_ == before_.tab && pickSat_ == before_.satKey ? pick_ : std::vector<std::string>{};
  switch (kind) {
    case Kind::Click:
    case Kind::RightClick:
    case Kind::Tab:
    case Kind::SatBox:
    case Kind::Type:
    case Kind::Combo:
    case Kind::Nothing:
      require(after == before_.state, "the database changed");
      break;
    case Kind::Find: {
      require(after == before_.state, "Find changed the database");
      const int list = listOf(shownTab());
      const std::vector<int> sel = ui_.listSelectedRows(list);
      const Entries e = entriesOf(ed_.database(), shownTab(), shownSat());
      // A row found is picked alone. The list gives its selection in row
      // order, which after a sort or an undo need not be the order the
      // entries were picked in: only another set of entries is a new pick.
      std::vector<std::string> selected;
      for (int r : sel)
        if (r < static_cast<int>(e.rec.size())) selected.push_back(e.rec[at(r)]);
      std::vector<std::string> picked = pick_;
      std::sort(selected.begin(), selected.end());
      std::sort(picked.begin(), picked.end());
      if (!sel.empty() && sel.front() < static_cast<int>(e.rec.size()) && selected != picked) {
        pick_.clear();
        for (int r : sel)
          if (r < static_cast<int>(e.rec.size())) pick_.push_back(e.rec[at(r)]);
        pickTab_ = shownTab();
        pickSat_ = shownSatKey();
        panelDirty_ = false;
      }
      break;
    }
    case Kind::FindAll: {
      require(after == before_.state, "Find in all satellites changed the database");
      if (!plan.chosen || !*plan.chosen) break;
      // The hit chosen is shown on its tab and satellite, and picked alone.
      const Plan::Chosen& c = **plan.chosen;
      require(shownTab() == c.tab && shownSatKey() == c.satKey,
              "the hit chosen is not on the tab and satellite shown");
      const std::vector<int> sel = ui_.listSelectedRows(listOf(c.tab));
      const Entries e = entriesOf(ed_.database(), c.tab, shownSat());
      require(
          sel.size() == 1 && sel[0] < static_cast<int>(e.rec.size()) && e.rec[at(sel[0])] == c.rec,
          "the hit chosen is not the one entry picked");
      pick_ = {c.rec};
      pickTab_ = c.tab;
      pickSat_ = c.satKey;
      panelDirty_ = false;
      break;
    }
    case Kind::Add:
      // A satellite whose name the user would not have cut is not added,
      // and its name stays in the form to be mended.
      if (declinedCut()) {
        require(after == before_.state && !ui_.text(IDC_SAT_NAME).empty(),
                "No to cutting a new satellite's name did not leave the form as typed");
        break;
      }
      checkAdd();
      panelDirty_ = false;
      break;
    case Kind::Change:
      checkPicked(kind, dragged ? std::vector<std::string>{dragged_} : pick, plan);
      panelDirty_ = false;
      break;
    case Kind::Remove:
    case Kind::Delete:
    case Kind::Move:
    case Kind::Drag:
      checkPicked(kind, dragged ? draggedBlock_ : pick, plan);
      break;
    case Kind::Sort: {
      ChannelDb expected = before_.db;
      order::sortTab(expected, orderTab(before_.tab));
      require(after == stateOf(expected, before_.state.layout),
              "Sort did not sort the shown list as the core sorts it");
      break;
    }
    case Kind::Undo:
    case Kind::Redo:
      break;
    case Kind::Cut:
    case Kind::Copy:
    case Kind::Paste:
      checkClipboard(kind);
      break;
    case Kind::Open:
      if (!loading && openChoice_ && fs::path(*openChoice_).extension() == ".sdx") {
        ChannelDb expected = before_.db;
        const std::optional<std::vector<std::byte>> bytes = readWholeFile(*openChoice_);
        importSdx(expected, *bytes, ed_.skipsFeedTest());
        require(after == stateOf(expected, before_.state.layout),
                "the import did not append the listing's satellite as the core does");
      } else if (!loading && !wrote) {
        require(after == before_.state, "an Open that loaded nothing changed the database");
      }
      break;
    case Kind::ApplyOrder: {
      ChannelDb expected = before_.db;
      if (openChoice_) {
        const std::optional<std::vector<std::byte>> bytes = readWholeFile(*openChoice_);
        const wdb::ReadResult ref = wdb::readWdb(*bytes);
        if (ref.ok() && expected.satCount > 0) match::reorderLike(expected, ref.db);
      }
      require(after == stateOf(expected, before_.state.layout),
              "Apply order did not reorder the database as the core matches it");
      break;
    }
    case Kind::Update: {
      // The editor's update is the core's, unnamed channels named as a
      // loaded file's; a refused one, or none, changes nothing.
      ChannelDb expected = before_.db;
      if (openChoice_) {
        const std::optional<std::vector<std::byte>> bytes = readWholeFile(*openChoice_);
        const match::UpdateOptions options{keepMissing_, !ed_.skipsFeedTest()};
        const std::optional<match::ParsedListing> listing = match::parseListing(*bytes, options);
        match::UpdateResult r =
            listing ? match::updateFromListings(
                          expected, std::vector<match::ParsedListing>{*listing}, options)
                    : match::UpdateResult{{"no listing"}, expected, {}};
        if (r.done()) {
          expected = std::move(r.db);
          for (const match::SatelliteUpdate& sat : r.satellites)
            wdb::nameUnnamedChannels(expected.svcTables[at(sat.position - 1)]);
          expected.recountTotals();
        }
      }
      require(after == stateOf(expected, before_.state.layout),
              "Update from listing did not update the database as the core does");
      break;
    }
    case Kind::Save:
      if (wrote) {
        ChannelDb expected = before_.db;
        for (int s = 0; s < expected.satCount; ++s)
          if (expected.sats[at(s)].name.size() > 16) expected.sats[at(s)].name.resize(16);
        require(after == stateOf(expected, before_.state.layout),
                "a save changed more than the names it cuts to 16 characters");
      } else {
        require(after == before_.state, "a save that did not succeed changed the database");
        require(ed_.isSaved() == before_.saved,
                "a save that did not succeed changed the saved state");
      }
      break;
    case Kind::New:
      if (!reset && !wrote)
        require(after == before_.state, "a New that cleared nothing changed the database");
      break;
  }

  // 4. The undo model: each step that changed the database is one step.
  if (reset) {
    undo_ = {withSummary(after)};
    undoPos_ = 0;
    saved_ = undo_.front();
    pick_.clear();
    panelDirty_ = false;
  } else if (kind == Kind::Undo || kind == Kind::Redo) {
    const bool undo = kind == Kind::Undo;
    if (undo && undoPos_ > 0) {
      require(after == undo_[undoPos_ - 1],
              "Undo did not bring back the state before the last step:\n      expected: " +
                  undo_[undoPos_ - 1].summary);
      --undoPos_;
    } else if (!undo && undoPos_ + 1 < undo_.size()) {
      require(after == undo_[undoPos_ + 1],
              "Redo did not bring back the undone step:\n      expected: " +
                  undo_[undoPos_ + 1].summary);
      ++undoPos_;
    } else {
      require(after == before_.state,
              std::string(undo ? "Undo with nothing to undo" : "Redo with nothing to redo") +
                  " changed the database");
    }
  } else if (!(after == before_.state)) {
    undo_.resize(undoPos_ + 1);
    undo_.push_back(withSummary(after));
    ++undoPos_;
    if (undo_.size() > UndoHistory::MAX_STEPS + 1) {
      undo_.erase(undo_.begin());
      --undoPos_;
    }
  }
  if (wrote && !reset) saved_ = withSummary(after);

  // The pick follows its entries: those no longer in the shown list are
  // gone; another tab or satellite shows none of them.
  if (shownTab() != pickTab_ || shownSatKey() != pickSat_) {
    pick_.clear();
  } else {
    // An entry changed in place (Change, or the undo of one) is still the
    // entry in its row.
    const Entries e = entriesOf(ed_.database(), shownTab(), shownSat());
    const Entries e0 = entriesOf(before_.db, before_.tab, before_.sat);
    std::vector<std::string> left = e.rec, kept;
    for (const std::string& p : pick_) {
      auto it = left.end();
      // Fewer rows hold the picked value than before: the one that changed
      // in place is the picked one, even where an equal entry is left.
      if (e.rec.size() == e0.rec.size() &&
          std::count(e.rec.begin(), e.rec.end(), p) < std::count(e0.rec.begin(), e0.rec.end(), p))
        for (std::size_t r = 0; r < e0.rec.size() && it == left.end(); ++r)
          if (e0.rec[r] == p && e.rec[r] != p) it = std::find(left.begin(), left.end(), e.rec[r]);
      if (it == left.end()) it = std::find(left.begin(), left.end(), p);
      if (it == left.end()) continue;
      kept.push_back(*it);
      left.erase(it);
    }
    pick_ = kept;
  }
  // After a removal the row now standing in the first removed one's place
  // (the last row, when they were at the end) is picked.
  if ((kind == Kind::Remove || kind == Kind::Delete) && !(after == before_.state) &&
      shownTab() == before_.tab) {
    const Entries e0 = entriesOf(before_.db, before_.tab, before_.sat);
    const Entries e1 = entriesOf(ed_.database(), shownTab(), shownSat());
    // The first removed row is the first that differs, or one of the equal
    // rows just above it.
    std::size_t first = 0;
    while (first < e1.full.size() && e0.full[first] == e1.full[first]) ++first;
    std::size_t equalFrom = first;
    while (equalFrom > 0 && e0.full[equalFrom - 1] == e0.full[first]) --equalFrom;
    pick_.clear();
    if (!e1.rec.empty()) {
      const std::size_t last = e1.rec.size() - 1;
      const int current = ui_.listState(listOf(shownTab())).current;
      const std::size_t c = current >= 0 ? at(current) : last + 1;
      require(c >= std::min(equalFrom, last) && c <= std::min(first, last),
              "after the removal the current row is " + std::to_string(current + 1) +
                  ", not the one in the first removed row's place");
      pick_ = {e1.rec[c]};
    }
    pickTab_ = shownTab();
    pickSat_ = shownSatKey();
    panelDirty_ = false;
  }
  // After a command that changed the list under the pick, the picked row
  // is the list's current row, selected and in view: the keyboard goes on
  // from the row the user sees.
  const bool listChanged = kind == Kind::Remove || kind == Kind::Delete || kind == Kind::Change ||
                           kind == Kind::Move || kind == Kind::Drag || kind == Kind::Undo ||
                           kind == Kind::Redo;
  if (listChanged && ed_.view().rowPicked && !leftOut("current")) {
    const int list = listOf(shownTab());
    const FakeControls::List& l = ui_.listState(list);
    const std::vector<int> sel = ui_.listSelectedRows(list);
    require(std::find(sel.begin(), sel.end(), l.current) != sel.end(),
            "the current row " + std::to_string(l.current + 1) + " is not a picked row");
    require(l.current >= l.top && l.current < l.top + l.page,
            "the current row " + std::to_string(l.current + 1) + " is out of view (rows " +
                std::to_string(l.top + 1) + " to " + std::to_string(l.top + l.page) + " shown)");
  }

  checkWindow(after);
}

void Sequence::checkWindow(const State& after) {
  const ChannelDb& db = ed_.database();
  // 3. The saved state.
  require(leftOut("savedflag") || ed_.isSaved() == (after == saved_),
          std::string(ed_.isSaved() ? "saved" : "not saved") + " but the database " +
              (after == saved_ ? "is" : "is not") + " the one last loaded or saved (" +
              saved_.summary + ")");
  // The undo menu items follow the model's stack.
  require(leftOut("undomenu") || ui_.menuEnabled(ID_EDIT_UNDO) == (undoPos_ > 0),
          std::string("Undo is ") + (ui_.menuEnabled(ID_EDIT_UNDO) ? "enabled" : "greyed") +
              " with " + std::to_string(undoPos_) + " steps to undo");
  require(leftOut("undomenu") || ui_.menuEnabled(ID_EDIT_REDO) == (undoPos_ + 1 < undo_.size()),
          std::string("Redo is ") + (ui_.menuEnabled(ID_EDIT_REDO) ? "enabled" : "greyed") +
              " with " + std::to_string(undo_.size() - undoPos_ - 1) + " steps to redo");

  require(leftOut("pastemenu") || ui_.menuEnabled(ID_EDIT_PASTE) == modelCanPaste(),
          std::string("Paste is ") + (ui_.menuEnabled(ID_EDIT_PASTE) ? "enabled" : "greyed") +
              " on the " + tabName(shownTab()) + " tab with " +
              std::to_string(clip_.channels.size()) + " channels and " +
              std::to_string(clip_.transponders.size()) + " transponders in the clip");

  // 2. Lists and SAT Name boxes.
  const int tab = shownTab();
  require(ed_.currentTab() == tab, "the editor's tab is not the one the tab strip shows");
  for (int t = TAB_SATELLITE; t <= TAB_CHANNEL; ++t)
    require(ui_.isVisible(listOf(t)) == (t == tab), "another tab's list is shown");
  for (int box : {IDC_TP_SAT, IDC_SVC_SAT}) {
    bool same = ui_.comboCount(box) == db.satCount;
    for (int s = 0; same && s < db.satCount; ++s)
      same = ui_.comboItem(box, s) == db.sats[at(s)].name;
    require(same, "SAT Name box " + std::to_string(box) + " does not hold the satellites' names");
  }
  const int list = listOf(tab);
  const int s = shownSat();
  std::vector<std::vector<std::string>> rows;
  if (tab == TAB_SATELLITE) {
    for (int r = 0; r < db.satCount; ++r) rows.push_back(satelliteRowCells(db, r));
  } else if (db.satCount > 0) {
    require(s >= 0 && s < db.satCount,
            "the " + std::string(tabName(tab)) + " tab's SAT Name box names no satellite");
    const int n = tab == TAB_TRANSPONDER ? db.tpTables[at(s)].count() : db.svcTables[at(s)].count();
    for (int r = 0; r < n; ++r)
      rows.push_back(tab == TAB_TRANSPONDER ? transponderRowCells(db, s, r)
                                            : channelRowCells(db, s, r));
  }
  require(ui_.rows(list) == rows, "the " + std::string(tabName(tab)) +
                                      " list does not show the database (" +
                                      std::to_string(ui_.rows(list).size()) + " rows for " +
                                      std::to_string(rows.size()) + ")");

  // The information panel: one satellite that exists, the shown one on
  // the Transponder and Channel tabs.
  const bool info = !leftOut("info");
  const std::string selSat = ui_.text(IDC_SEL_SAT), selTp = ui_.text(IDC_SEL_TP),
                    selCh = ui_.text(IDC_SEL_CH);
  auto describes = [&](int i) {
    return selSat == db.sats[at(i)].name && selTp == decimalText(db.tpTables[at(i)].count()) &&
           selCh == decimalText(db.svcTables[at(i)].count());
  };
  if (db.satCount == 0) {
    require(!info || selSat == "." || selSat.empty(),
            "Selected Info. names a satellite of an empty database");
  } else if (tab != TAB_SATELLITE) {
    require(!info || describes(s), "Selected Info. (" + selSat + ", " + selTp + ", " + selCh +
                                       ") is not the satellite the " + tabName(tab) +
                                       " tab shows (" + db.sats[at(s)].name + ")");
  } else {
    bool any = false;
    for (int i = 0; i < db.satCount && !any; ++i) any = describes(i);
    require(!info || any, "Selected Info. (" + selSat + ", " + selTp + ", " + selCh +
                              ") describes no satellite of the database");
  }
  ChannelDb counted = db;
  counted.recountTotals();
  const std::string totalTp = ui_.text(IDC_TOTAL_TP), totalCh = ui_.text(IDC_TOTAL_CH);
  const bool totalsShown = (totalTp == decimalText(counted.totalTp) ||
                            (counted.totalTp == 0 && db.satCount == 0 && totalTp == ".")) &&
                           (totalCh == decimalText(counted.totalSvc) ||
                            (counted.totalSvc == 0 && db.satCount == 0 && totalCh == "."));
  require(!info || totalsShown,
          "Total Num. (" + totalTp + ", " + totalCh + ") is not the database's totals");

  // Enter's button, shown as the default one, follows the pick: Change
  // while rows of the shown list are picked, else Add.
  const std::size_t picked = ui_.listSelectedRows(list).size();
  require(leftOut("enter") || ui_.defaultButton == (picked == 0 ? IDC_ADD : IDC_CHANGE),
          std::string("the default button is ") +
              (ui_.defaultButton == IDC_CHANGE ? "Change" : "not Change") + " with " +
              std::to_string(picked) + " rows picked");

  // The edit panel: empty, or one picked entry, whole.
  if (panelDirty_ || leftOut("panel")) return;
  const std::vector<int> fields = panelFields(tab);
  bool empty = true;
  for (int id : fields) empty = empty && ui_.text(id).empty();
  if (empty) return;
  const Entries e = entriesOf(db, tab, s);
  bool shown = false;
  for (int r = 0; r < static_cast<int>(e.rec.size()) && !shown; ++r)
    shown =
        std::find(pick_.begin(), pick_.end(), e.rec[at(r)]) != pick_.end() && panelShows(tab, r);
  std::string texts;
  for (int id : fields) texts += inQuotes(ui_.text(id)) + " ";
  require(shown, "the edit panel (" + texts + ") is neither empty nor the picked entry");
  if (tab == TAB_SATELLITE && info)
    require(selSat == ui_.text(IDC_SAT_NAME),
            "the edit panel shows " + ui_.text(IDC_SAT_NAME) + " but Selected Info. " + selSat);
}

}  // namespace velmora::editor::sequences
