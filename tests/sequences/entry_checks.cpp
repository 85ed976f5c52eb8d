// The checks of single entries and files: the edit panel against the
// picked entry, what Add made, what a save wrote and a load read back,
// and the undo history walked whole at the end.
#include <algorithm>

#include "sdx/favourites.h"
#include "sdx/program_files.h"
#include "sequences/model.h"

namespace velmora::editor::sequences {

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
  if (!plan.block.empty()) {
    // A block: every entry kept, the picked ones together at the planned
    // place in their order, the others in theirs; and still picked there.
    std::vector<std::string> expected, moved, picked;
    for (std::size_t i = 0; i < e0.full.size(); ++i) {
      const bool in = std::binary_search(plan.block.begin(), plan.block.end(), static_cast<int>(i));
      (in ? moved : expected).push_back(e0.full[i]);
    }
    require(plan.position.has_value(), std::string(name) + " moved a block to no planned place");
    expected.insert(expected.begin() + *plan.position, moved.begin(), moved.end());
    require(e1.full == expected, std::string(name) + " did not move the " +
                                     std::to_string(moved.size()) + " picked entries to position " +
                                     std::to_string(*plan.position + 1) + " as one block");
    for (int r : ui_.listSelectedRows(listOf(tab))) picked.push_back(e1.full[at(r)]);
    std::sort(picked.begin(), picked.end());
    std::sort(moved.begin(), moved.end());
    require(picked == moved, std::string(name) + " left the moved block not picked");
    return;
  }
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
