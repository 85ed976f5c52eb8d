// What a sequence checks after every step, and at its end.
#include <algorithm>

#include "sdx/favourites.h"
#include "sdx/program_files.h"
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
      checkPicked(kind, dragged ? std::vector<std::string>{dragged_} : pick, plan);
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

std::vector<int> Sequence::panelFields(int tab) {
  if (tab == TAB_SATELLITE) return {IDC_SAT_NAME, IDC_LNB_FREQ1, IDC_LNB_FREQ2, IDC_LONGITUDE};
  if (tab == TAB_TRANSPONDER) return {IDC_FREQUENCY, IDC_SYMBOL_RATE};
  return {IDC_CH_NAME, IDC_VIDEO_PID, IDC_AUDIO_PID, IDC_PCR_PID, IDC_SERVICE_ID};
}

bool Sequence::panelShows(int tab, int row) const {
  const ChannelDb& db = ed_.database();
  const auto offOn = [](const std::string& t) { return has(t, "Off") && !has(t, "On") ? 0 : 1; };
  if (tab == TAB_SATELLITE) {
    if (row >= db.satCount) return false;
    const SatRecord& s = db.sats[at(row)];
    const int lnb = has(s.lnbType, "Universal") ? 0
                    : has(s.lnbType, "OCS")     ? 1
                    : has(s.lnbType, "Single")  ? 2
                                                : 0;
    const std::int64_t c = leadingValue(s.diseqcCommitted), u = leadingValue(s.diseqcUncommitted);
    const int tone = s.tone22k == "On" ? 1 : s.tone22k == "Off" ? 0 : s.tone22k == "Auto" ? 2 : 1;
    return ui_.text(IDC_SAT_NAME) == s.name && ui_.text(IDC_LNB_FREQ1) == s.lnbFreq1 &&
           ui_.text(IDC_LNB_FREQ2) == s.lnbFreq2 && ui_.text(IDC_LONGITUDE) == s.sdxCode &&
           ui_.comboSelection(IDC_LNB_TYPE) == lnb &&
           ui_.comboSelection(IDC_DISEQC) == diseqcMode(s.diseqc) &&
           ui_.comboSelection(IDC_COMMITTED) == (c >= 0 && c < 5 ? c : 0) &&
           ui_.comboSelection(IDC_UNCOMMITTED) == (u >= 0 && u < 17 ? u : 0) &&
           ui_.comboSelection(IDC_TONE) == tone &&
           ui_.comboSelection(IDC_12V) == offOn(s.switch12v) &&
           ui_.comboSelection(IDC_LNB_POWER) == offOn(s.lnbPower);
  }
  const int s = shownSat();
  if (s < 0 || s >= db.satCount) return false;
  if (tab == TAB_TRANSPONDER) {
    if (row >= db.tpTables[at(s)].count()) return false;
    const TpRecord& t = db.tpTables[at(s)][row];
    return ui_.text(IDC_FREQUENCY) == t.frequency && ui_.text(IDC_SYMBOL_RATE) == t.symbolRate &&
           ui_.comboSelection(IDC_POLARITY) == (has(t.polarization, "H") ? 0 : 1);
  }
  if (row >= db.svcTables[at(s)].count()) return false;
  const SvcRecord& v = db.svcTables[at(s)][row];
  return ui_.text(IDC_CH_NAME) == v.name &&
         ui_.text(IDC_VIDEO_PID) == normalisedNumber(v.videoPid) &&
         ui_.text(IDC_AUDIO_PID) == normalisedNumber(v.audioPid) &&
         ui_.text(IDC_PCR_PID) == normalisedNumber(v.pcrPid) &&
         ui_.text(IDC_SERVICE_ID) == normalisedNumber(v.serviceId) &&
         ui_.comboSelection(IDC_SCRAMBLED) == (v.serviceType == 5 || v.serviceType == 9 ? 1 : 0);
}

void Sequence::checkPicked(Kind kind, const std::vector<std::string>& pick, const Plan& plan) {
  const State after = now();
  const int tab = before_.tab, s = before_.sat;
  const char* name = kind == Kind::Change   ? "Change"
                     : kind == Kind::Remove ? "Remove"
                     : kind == Kind::Delete ? "Delete"
                     : kind == Kind::Move   ? "Move"
                                            : "the drop";
  if (after == before_.state) {
    // Refused: it must say why (a Change that changed nothing and a Move
    // that was cancelled or to the same place need not).
    const bool silentOk =
        (kind == Kind::Change && !pick.empty()) ||
        (kind == Kind::Move && !pick.empty() && prompts_.modalDialogs.size() > before_.dialogs) ||
        kind == Kind::Drag;
    require(silentOk || spoke(), std::string(name) + " did nothing and said nothing" +
                                     (pick.empty() ? " (nothing was picked)" : ""));
    return;
  }
  require(!pick.empty(), std::string(name) + " changed the database with nothing picked");
  require(kind != Kind::Move || !plan.moveRefused,
          "Move changed the database although its position was refused or cancelled");
  require(shownTab() == tab &&
              (tab == TAB_SATELLITE || shownSat() == s || ed_.database().satCount == 0),
          std::string(name) + " switched the tab or the shown satellite");
  const Entries e0 = entriesOf(before_.db, tab, s), e1 = entriesOf(ed_.database(), tab, s);
  const std::string rest0 = restOf(before_.db, tab, s), rest1 = restOf(ed_.database(), tab, s);
  auto inPick = [&](const std::string& rec, std::vector<std::string>& left) {
    const auto it = std::find(left.begin(), left.end(), rec);
    if (it == left.end()) return false;
    left.erase(it);
    return true;
  };
  if (kind == Kind::Remove || kind == Kind::Delete) {
    // The shown list lost picked entries and nothing else.
    std::vector<std::string> left = pick, removedTps;
    std::size_t j = 0;
    for (std::size_t i = 0; i < e0.full.size(); ++i) {
      if (j < e1.full.size() && e1.full[j] == e0.full[i]) {
        ++j;
        continue;
      }
      require(inPick(e0.rec[i], left),
              std::string(name) + " removed " + inQuotes(e0.label[i]) + ", which was not picked");
      if (tab == TAB_TRANSPONDER)
        removedTps.push_back(tpKeyLong(before_.db.tpTables[at(s)][static_cast<int>(i)]));
    }
    require(j == e1.full.size(), std::string(name) + " changed entries it did not remove");
    require(rest0 == rest1, std::string(name) + " changed entries outside the shown list");
    if (tab == TAB_TRANSPONDER) {
      SvcTable expected;
      for (const SvcRecord& v : before_.db.svcTables[at(s)])
        if (std::find(removedTps.begin(), removedTps.end(), v.tpKey) == removedTps.end())
          expected.append(v);
      require(s < ed_.database().satCount &&
                  svcTableRec(expected) == svcTableRec(ed_.database().svcTables[at(s)]),
              "removing transponders did not remove exactly their channels");
    }
    require(after.layout == before_.state.layout ||
                (tab == TAB_SATELLITE && ed_.database().satCount == 0),
            std::string(name) + " changed the file layout");
    return;
  }
  require(after.layout == before_.state.layout, std::string(name) + " changed the file layout");
  require(e0.full.size() == e1.full.size(), std::string(name) + " changed the number of entries");
  if (kind == Kind::Change) {
    std::vector<std::size_t> diff;
    for (std::size_t i = 0; i < e0.rec.size(); ++i)
      if (e0.rec[i] != e1.rec[i]) diff.push_back(i);
    require(diff.size() == 1, "Change changed " + std::to_string(diff.size()) + " entries");
    const std::size_t i = diff.front();
    std::vector<std::string> left = pick;
    require(inPick(e0.rec[i], left),
            "Change changed " + inQuotes(e0.label[i]) +
                ", which was not picked (picked: " + std::to_string(pick.size()) + " entries)");
    if (tab == TAB_SATELLITE) {
      require(tablesRec(before_.db, static_cast<int>(i)) ==
                  tablesRec(ed_.database(), static_cast<int>(i)),
              "Change of a satellite changed its transponders or channels");
    } else {
      require(rest0 == rest1, "Change changed entries outside the shown list");
      if (tab == TAB_TRANSPONDER) {
        const std::string oldKey = tpKeyLong(before_.db.tpTables[at(s)][static_cast<int>(i)]);
        const std::string newKey = tpKeyLong(ed_.database().tpTables[at(s)][static_cast<int>(i)]);
        SvcTable expected = before_.db.svcTables[at(s)];
        for (SvcRecord& v : expected)
          if (v.tpKey == oldKey) v.tpKey = newKey;
        require(svcTableRec(expected) == svcTableRec(ed_.database().svcTables[at(s)]),
                "the channels did not follow their changed transponder");
      } else {
        require(before_.db.svcTables[at(s)][static_cast<int>(i)].tpKey ==
                    ed_.database().svcTables[at(s)][static_cast<int>(i)].tpKey,
                "Change moved a channel to another transponder");
      }
    }
    return;
  }
  // Move and drop on the list: one picked (or dragged) entry moved.
  require(rest0 == rest1 &&
              (tab != TAB_TRANSPONDER || svcTableRec(before_.db.svcTables[at(s)]) ==
                                             svcTableRec(ed_.database().svcTables[at(s)])),
          std::string(name) + " changed entries outside the shown list");
  // Every way of moving one entry that gives the new list (equal entries
  // make several), one of them of a picked entry to the planned place.
  const std::size_t n = e0.full.size();
  bool ok = false;
  std::string movedLabel;
  auto tryMove = [&](std::size_t from, std::size_t to) {
    std::vector<std::string> moved = e0.full;
    const std::string x = moved[from];
    moved.erase(moved.begin() + static_cast<std::ptrdiff_t>(from));
    moved.insert(moved.begin() + static_cast<std::ptrdiff_t>(to), x);
    if (moved != e1.full) return;
    std::vector<std::string> left = pick;
    movedLabel = e0.label[from];
    if (!inPick(e0.rec[from], left)) return;
    if (plan.position && static_cast<std::size_t>(*plan.position) != to) return;
    ok = true;
  };
  for (std::size_t from = 0; from < n && !ok; ++from)
    for (std::size_t to = 0; to < n && !ok; ++to)
      if (from != to) tryMove(from, to);
  require(ok, std::string(name) + " did not move the picked entry" +
                  (plan.position ? " to position " + std::to_string(*plan.position + 1) : "") +
                  (movedLabel.empty() ? "" : " (it moved " + inQuotes(movedLabel) + ")"));
}

bool Sequence::declinedCut() const {
  const std::string_view head = text::NAME_CUT_HEAD.substr(0, text::NAME_CUT_HEAD.find('\n'));
  const std::string asked = "question \"" + std::string(head);
  for (const std::string& l : prompts_.log)
    if (l.starts_with(asked) && !l.ends_with("-> Yes")) return true;
  return false;
}

void Sequence::checkAdd() {
  const State after = now();
  if (after == before_.state) return;
  const int tab = before_.tab, s = before_.sat;
  const Entries e0 = entriesOf(before_.db, tab, s), e1 = entriesOf(ed_.database(), tab, s);
  require(after.layout == before_.state.layout, "Add changed the file layout");
  require(restOf(before_.db, tab, s) == restOf(ed_.database(), tab, s) &&
              (tab != TAB_TRANSPONDER || svcTableRec(before_.db.svcTables[at(s)]) ==
                                             svcTableRec(ed_.database().svcTables[at(s)])),
          "Add changed entries outside the shown list");
  if (e1.full.size() == e0.full.size() + 1) {
    require(std::equal(e0.full.begin(), e0.full.end(), e1.full.begin()),
            "Add changed entries besides the one it appended");
    return;
  }
  require(tab == TAB_SATELLITE && e1.full.size() == e0.full.size(),
          "Add changed the list in another way than appending one entry");
  std::vector<std::size_t> diff;
  for (std::size_t i = 0; i < e0.full.size(); ++i)
    if (e0.full[i] != e1.full[i]) diff.push_back(i);
  bool yes = false;
  for (const std::string& l : prompts_.log) yes |= l.find("-> Yes") != std::string::npos;
  require(diff.size() == 1 && yes, "Add replaced a satellite without a Yes to its question");
}

void Sequence::checkSavedFile(const ChannelDb& savedDb) {
  require(!lastSavePath_.empty(), "a file was written without a file being chosen");
  const std::optional<std::vector<std::byte>> bytes = readWholeFile(lastSavePath_);
  require(bytes.has_value(), "the saved file cannot be read");
  const wdb::ReadResult r = wdb::readWdb(*bytes);
  require(r.ok(), "the saved file does not load: " + r.failure.message);
  const wdb::Layout expected =
      before_.state.layout == wdb::Layout::TypeII ? wdb::Layout::TypeII : wdb::Layout::TypeI;
  require(r.layout == expected, std::string("the database was saved as ") + layoutText(r.layout) +
                                    ", not " + layoutText(expected));
  if (inPlace_) {
    // A save to the open file writes what Save As writes of the database.
    ChannelDb copy = savedDb;
    int counter = 26;
    const wdb::WriteResult image = wdb::writeWdb(
        copy, before_.state.layout,
        loadFavouritesBesideProgram(programFilesFolder(ed_.env().programDir)), counter);
    require(image.ok() && image.bytes == *bytes,
            "a save to the open file wrote other bytes than Save As would");
    require(ed_.isSaved(), "a save to the open file left the database unsaved");
  }
  const std::string want = fileView(savedDb, r.layout), got = fileView(r.db, r.layout);
  require(want == got,
          "the saved file reads back otherwise:\n--- database\n" + want + "--- file\n" + got);
}

bool Sequence::loadedFromFile() const {
  if (!openChoice_) return false;
  const std::optional<std::vector<std::byte>> bytes = readWholeFile(*openChoice_);
  if (!bytes) return false;
  const wdb::ReadResult r = wdb::readWdb(*bytes);
  if (!r.ok()) return false;
  ChannelDb expected = r.db;
  for (int s = 0; s < expected.satCount; ++s)
    for (SvcRecord& v : expected.svcTables[at(s)])
      if (v.name.empty()) v.name = "....";
  return now() == stateOf(expected, r.layout);
}

void Sequence::checkLoaded() {
  require(openChoice_.has_value(), "a load began without a file being chosen");
  const std::optional<std::vector<std::byte>> bytes = readWholeFile(*openChoice_);
  require(bytes.has_value(), "the opened file cannot be read");
  const wdb::ReadResult r = wdb::readWdb(*bytes);
  require(r.ok(), "the opened file does not load: " + r.failure.message);
  ChannelDb expected = r.db;
  for (int s = 0; s < expected.satCount; ++s)
    for (SvcRecord& v : expected.svcTables[at(s)])
      if (v.name.empty()) v.name = "....";
  require(now() == stateOf(expected, r.layout), "the loaded database is not the file's");
}

void Sequence::undoAndRedoEverything() {
  if (ed_.isDragging()) return;
  while (undoPos_ > 0) {
    begin("Edit > Undo (undoing everything)");
    ed_.onCommand(ID_EDIT_UNDO);
    finishStep(Kind::Undo);
  }
  require(now() == undo_.front(),
          "undoing everything did not come back to the state after the load");
  begin("Edit > Undo (nothing left)");
  ed_.onCommand(ID_EDIT_UNDO);
  finishStep(Kind::Undo);
  while (undoPos_ + 1 < undo_.size()) {
    begin("Edit > Redo (redoing everything)");
    ed_.onCommand(ID_EDIT_REDO);
    finishStep(Kind::Redo);
  }
}

}  // namespace velmora::editor::sequences
