// The edit panel's Add, Change and Remove on the three tabs: what each one
// checks, in which order and with which message, and what it stores. A
// check that fails shows its message; nothing is stored until every check
// of the operation has passed. Add ends by emptying the panel's texts,
// Change and Remove by setting the whole panel back as at start-up; all
// three forget the pick.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <optional>

#include "db/text_number.h"
#include "db/western_text.h"
#include "editor/add_channel_dialog.h"
#include "editor/editor_dialog.h"
#include "editor/entry_rules.h"
#include "resource_ids.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;
using namespace velmora::editor::rules;

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

std::string joined(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out.append(part);
  return out;
}

// The selected rows of a list that exist in a table of `count` rows, last
// first, so that removing them one by one leaves the others in place.
std::vector<int> selectedRowsLastFirst(const Controls& c, int list, int count) {
  std::vector<int> rows;
  for (int r : c.listSelectedRows(list))
    if (r >= 0 && r < count) rows.push_back(r);
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

// The refusal of an LNB Type that the LNB Freq contradict, naming the type
// they give; empty when they agree.
std::string lnbTypeRefusal(const Controls& c, const EditPanel& panel) {
  const std::optional<std::string> given =
      lnbTypeContradicted(panel.lnbTypeChoice(), c.text(IDC_LNB_FREQ1), c.text(IDC_LNB_FREQ2));
  if (!given) return {};
  return joined({text::LNB_TYPE_HEAD, *given, text::LNB_TYPE_MIDDLE, *given, text::LNB_TYPE_TAIL});
}

}  // namespace

void EditorDialog::addEntry() {
  const std::vector<SatRecord> before = satellitesNow();
  switch (curTab) {
    case TAB_SATELLITE:
      // A name the user declined to cut stays in the form to be mended.
      if (!addSatellite()) return;
      break;
    case TAB_TRANSPONDER:
      addTransponder();
      break;
    case TAB_CHANNEL:
      addChannel();
      break;
    default:
      break;
  }
  sayTypeIILosses(before);
  // The choices stay for the next entry to add; the texts are emptied.
  clearPick();
  clearEditFields();
}

void EditorDialog::changeEntry() {
  const std::vector<SatRecord> before = satellitesNow();
  const bool picked = view_.rowPicked && clickedRowExists();
  const int row = pickedRow(curTab);
  const std::string was = picked ? entryKey(curTab, row) : std::string();
  if (!picked) {
    warn(text::SELECT_A_LIST);
  } else if (curTab == TAB_SATELLITE) {
    changeSatellite();
  } else if (curTab == TAB_TRANSPONDER) {
    changeTransponder();
  } else if (curTab == TAB_CHANNEL) {
    changeChannel();
  }
  sayTypeIILosses(before);
  clearPick();
  clearEditPanel();
  // The keyboard stays on the changed row, which the panel shows as stored.
  // A change refused, or one that changed nothing, uses up the pick.
  if (picked && rowInShownTable(row) && entryKey(curTab, row) != was) {
    pickRows(ListsPresenter::listOfTab(curTab), {row});
    showPickedRow_ = true;
  }
}

void EditorDialog::removeEntry() { removeRows(view_.rowPicked && clickedRowExists()); }

// Removes the selected rows of the shown list when `picked`, else warns.
void EditorDialog::removeRows(bool picked) {
  if (!picked) {
    clearPick();
    warn(text::SELECT_A_LIST);
    return;
  }
  const std::vector<int> gone = controls_.listSelectedRows(ListsPresenter::listOfTab(curTab));
  const std::string removal = removalToSay();
  if (curTab == TAB_SATELLITE)
    removeSatellites();
  else if (curTab == TAB_TRANSPONDER)
    removeTransponders();
  else if (curTab == TAB_CHANNEL)
    removeChannels();
  say(removal);
  pickAfterRemoval(gone.empty() ? -1 : gone.front());
}

// The keyboard stays where the user was: the row now standing where the
// first removed one (`firstGone`) stood, or the last row when those were at
// the end, is picked, so that Down goes on from there and Delete removes
// what is seen.
void EditorDialog::pickAfterRemoval(int firstGone) {
  clearPick();
  clearEditPanel();
  const int rows = rowsOnTab(curTab);
  if (firstGone < 0 || rows == 0) return;
  pickRows(ListsPresenter::listOfTab(curTab), {std::min(firstGone, rows - 1)});
  showPickedRow_ = true;
}

// The row remembered from the last click must still exist in the table the
// tab shows: a click that hit no row, or a row of another satellite's
// table, counts as no pick.
bool EditorDialog::clickedRowExists() const {
  return rowInShownTable(curTab == TAB_SATELLITE     ? view_.pickedSatRow
                         : curTab == TAB_TRANSPONDER ? view_.pickedTpRow
                                                     : view_.pickedSvcRow);
}

bool EditorDialog::rowInShownTable(int row) const {
  const bool satOk = view_.listedSat >= 0 && view_.listedSat < db.satCount;
  switch (curTab) {
    case TAB_SATELLITE:
      return row >= 0 && row < db.satCount;
    case TAB_TRANSPONDER:
      return satOk && row >= 0 && row < db.tpTables[at(view_.listedSat)].count();
    case TAB_CHANNEL:
      return satOk && row >= 0 && row < db.svcTables[at(view_.listedSat)].count();
    default:
      return false;
  }
}

// Writes the rows of the current tab's list again, so that the numbers in
// the first column follow the rows after some were removed.
void EditorDialog::relistCurrentTab() {
  const int s = std::clamp(view_.listedSat, 0, MAX_SATS - 1);
  switch (curTab) {
    case TAB_SATELLITE:
      lists_.clear(IDC_SAT_LIST);
      lists_.listSatellites();
      view_.listedSat = db.satCount;
      break;
    case TAB_TRANSPONDER:
      lists_.clear(IDC_TP_LIST);
      lists_.listTransponders(s);
      break;
    case TAB_CHANNEL:
      lists_.clear(IDC_SVC_LIST);
      lists_.listChannels(s);
      break;
    default:
      break;
  }
}

bool EditorDialog::addSatellite() {
  if (refusedName(prompts_, controls_, IDC_SAT_NAME)) return true;
  const std::string typed = controls_.text(IDC_SAT_NAME);
  if (typed.empty()) {
    warn(text::NO_NAME);
    return true;
  }
  if (!lnbFrequencyOk(controls_.text(IDC_LNB_FREQ1)) ||
      !lnbFrequencyOk(controls_.text(IDC_LNB_FREQ2))) {
    warn(text::LNB_FREQ_INVALID);
    return true;
  }
  if (const std::string refusal = lnbTypeRefusal(controls_, panel_); !refusal.empty()) {
    warn(refusal);
    return true;
  }
  const std::optional<int> tenths = longitudeTenths(controls_.text(IDC_LONGITUDE));
  if (!tenths) {
    warn(text::SDX_CODE_INVALID);
    return true;
  }
  const auto [name, cut] = newSatelliteName(typed, *tenths);
  if (db.satCount >= MAX_SATS) {
    warn(text::MAX_SATS_ADD);
    return true;
  }
  // A cut name may be another satellite's ("Intelsat 20" at 68.5 degrees
  // east would be "Intelsat 2-68.5E"): the user sees it as it would be
  // stored and decides; No keeps the form as typed to mend it.
  if (cut) {
    const Answer a = prompts_.message(
        joined({text::NAME_CUT_HEAD, westernToUtf8(typed), text::NAME_CUT_ARROW,
                westernToUtf8(name), text::NAME_CUT_TAIL, text::NAME_CUT_QUESTION}),
        "", Buttons::YesNoDefaultNo, Icon::Question);
    if (a != Answer::Yes) return false;
  }
  // The stored name against the existing names, the last satellite first.
  // Yes empties the satellite of its transponders and channels: the
  // question's default answer is No.
  int slot = db.satCount;
  for (int s = db.satCount - 1; s >= 0; --s) {
    if (db.sats[at(s)].name != name) continue;
    const Answer a =
        prompts_.message(joined({westernToUtf8(name), text::SAT_REPLACE_QUESTION}),
                         text::SAT_REPLACE_CAPTION, Buttons::YesNoDefaultNo, Icon::Information);
    if (a != Answer::Yes) return true;
    slot = s;
    break;
  }

  SatRecord sat = panel_.satellite();
  sat.name = name;
  const bool replacing = slot < db.satCount;
  if (replacing) {
    // The replaced satellite goes with its transponders and channels.
    db.sats[at(slot)] = std::move(sat);
    db.tpTables[at(slot)].clear();
    db.svcTables[at(slot)].clear();
    lists_.removeRow(IDC_SAT_LIST, slot);
  } else {
    db.appendSatellite(std::move(sat));
  }
  lists_.rewriteSatelliteCombos(true);
  lists_.insertSatRow(slot);
  ensureRowVisible(slot);
  showSatellite(slot);
  // The Transponder and Channel lists are filled afresh when next shown.
  view_.listedSat = db.satCount;
  return true;
}

void EditorDialog::changeSatellite() {
  if (refusedName(prompts_, controls_, IDC_SAT_NAME)) return;
  const int row = view_.pickedSatRow;
  lists_.removeRow(IDC_SAT_LIST, row);
  const std::string typed = controls_.text(IDC_SAT_NAME);
  const std::string name = typed.substr(0, SAT_NAME_LEN);
  bool ok = true;
  if (typed.empty()) {
    warn(text::NO_NAME);
    ok = false;
  }
  for (int s = 0; s < db.satCount && ok; ++s) {
    if (s != row && db.sats[at(s)].name == name) {
      warn(joined({westernToUtf8(name), text::SAT_NAME_EXISTS}));
      ok = false;
    }
  }
  if (ok && (!lnbFrequencyOk(controls_.text(IDC_LNB_FREQ1)) ||
             !lnbFrequencyOk(controls_.text(IDC_LNB_FREQ2)))) {
    warn(text::LNB_FREQ_INVALID);
    ok = false;
  }
  if (ok) {
    const std::string refusal = lnbTypeRefusal(controls_, panel_);
    if (!refusal.empty()) {
      warn(refusal);
      ok = false;
    }
  }
  // The position must be a valid one, as for a new satellite; the name
  // keeps what was typed, without a new suffix.
  if (ok && !longitudeTenths(controls_.text(IDC_LONGITUDE))) {
    warn(text::SDX_CODE_INVALID);
    ok = false;
  }
  if (ok) {
    SatRecord sat = panel_.satellite();
    sat.name = name;
    db.sats[at(row)] = std::move(sat);
    lists_.rewriteSatelliteCombos(true);
  }
  lists_.insertSatRow(row);
  showSatellite(row);
  view_.listedSat = db.satCount;
}

void EditorDialog::removeSatellites() {
  const std::vector<int> rows = selectedRowsLastFirst(controls_, IDC_SAT_LIST, db.satCount);
  if (rows.empty()) return;
  for (int r : rows) db.removeSatellite(r);
  if (db.satCount == 0) {
    clearDatabase(false);
    return;
  }
  // The Transponder and Channel tabs show the satellite they showed, or
  // when it is gone the one now in its place.
  followShownSatellite();
  lists_.rewriteSatelliteCombos();
  relistCurrentTab();
}

// Checks the Transponder tab's fields and builds the transponder from
// them; every failing check shows its message. false when any failed.
bool EditorDialog::transponderFromPanel(TpRecord& tp) {
  bool ok = true;
  const std::string frequency = controls_.text(IDC_FREQUENCY);
  const std::string symbolRate = controls_.text(IDC_SYMBOL_RATE);
  // A window without NID and TID fields reads them empty: the picked
  // transponder's stay.
  auto [nid, tid] = panel_.nidAndTid();
  if (!numberFits(frequency, 3400, 12750)) {
    warn(text::INVALID_FREQUENCY);
    ok = false;
  }
  if (!numberFits(symbolRate, 1000, 45000)) {
    warn(text::INVALID_SYMBOL_RATE);
    ok = false;
  }
  if (nid.size() > NUMBER_LEN || leadingValue(nid) > MAX_U16 || leadingValue(tid) > MAX_U16) {
    warn(text::INVALID_NID_TID);
    ok = false;
  }
  if (nid.empty() && tid.empty()) nid = tid = "0";
  tp = TpRecord{};
  tp.frequency = normalisedNumber(frequency);
  tp.polarization = panel_.polarization();
  tp.symbolRate = normalisedNumber(symbolRate);
  tp.nid = nid;
  tp.tid = tid;
  return ok;
}

void EditorDialog::addTransponder() {
  db.recountTotals();
  if (db.totalTp >= MAX_TOTAL_TP) {
    warn(text::MAX_TP);
    return;
  }
  if (view_.listedSat < 0 || view_.listedSat >= db.satCount) {
    warn(text::NO_SATELLITE);
    return;
  }
  TpTable& tps = db.tpTables[at(view_.listedSat)];
  TpRecord tp;
  const bool ok = transponderFromPanel(tp);
  if (transponderExists(tps, tp, -1)) {
    warn(text::TP_EXISTS);
    return;
  }
  if (!ok || !tps.append(std::move(tp))) return;
  lists_.insertTpRow(view_.listedSat, tps.count() - 1);
  ensureRowVisible(tps.count() - 1);
  ++db.totalTp;
  refreshInfoPanel(view_.listedSat);
}

void EditorDialog::changeTransponder() {
  const int row = view_.pickedTpRow;
  TpTable& tps = db.tpTables[at(view_.listedSat)];
  TpRecord tp;
  bool ok = transponderFromPanel(tp);
  if (transponderExists(tps, tp, row)) {
    warn(text::TP_EXISTS);
    ok = false;
  }
  if (!ok) return;
  // The channels tuned on this transponder follow it to its new key.
  const std::string oldKey = tpKeyLong(tps[row]);
  const std::string newKey = tpKeyLong(tp);
  for (SvcRecord& svc : db.svcTables[at(view_.listedSat)])
    if (svc.tpKey == oldKey) svc.tpKey = newKey;
  tp.seqNo = tps[row].seqNo;
  tps[row] = std::move(tp);
  lists_.removeRow(IDC_TP_LIST, row);
  lists_.insertTpRow(view_.listedSat, row);
  refreshInfoPanel(view_.listedSat);
}

void EditorDialog::removeTransponders() {
  if (view_.listedSat < 0 || view_.listedSat >= db.satCount) return;
  TpTable& tps = db.tpTables[at(view_.listedSat)];
  SvcTable& svcs = db.svcTables[at(view_.listedSat)];
  const std::vector<int> rows = selectedRowsLastFirst(controls_, IDC_TP_LIST, tps.count());
  if (rows.empty()) return;
  for (int r : rows) {
    // The channels tuned on a removed transponder go with it.
    const std::string key = tpKeyLong(tps[r]);
    tps.erase(r);
    SvcTable kept;
    for (SvcRecord& svc : svcs)
      if (svc.tpKey != key) kept.append(std::move(svc));
    svcs = std::move(kept);
  }
  db.recountTotals();
  relistCurrentTab();
  refreshInfoPanel(view_.listedSat);
}

void EditorDialog::addChannel() {
  db.recountTotals();
  if (db.totalSvc >= MAX_TOTAL_SVC) {
    warn(text::MAX_SVC);
    return;
  }
  if (view_.listedSat < 0 || view_.listedSat >= db.satCount ||
      db.tpTables[at(view_.listedSat)].empty()) {
    warn(text::NO_SAT_OR_TP);
    return;
  }
  const TpTable& tps = db.tpTables[at(view_.listedSat)];
  SvcTable& svcs = db.svcTables[at(view_.listedSat)];
  // One satellite's table holds 4000 rows, fewer than the 6000 channels
  // the receiver takes in all.
  if (svcs.full()) {
    warn(text::MAX_ROWS_PER_SAT);
    return;
  }

  if (refusedName(prompts_, controls_, IDC_CH_NAME)) return;
  AddChannelDialog dialog(prompts_, tps, panel_.channelFields());
  if (prompts_.runModal(dialog) != ID_OK) return;
  const int tpRow = dialog.chosenTpRow;
  if (tpRow < 0 || tpRow >= tps.count()) return;
  const ChannelFields f{dialog.chName, dialog.vPid, dialog.aPid,
                        dialog.pPid,   dialog.sid,  dialog.scrambledChoice};
  panel_.showChannelTexts(f);

  if (f.chName.empty() || f.vPid.empty() || f.aPid.empty() || f.pPid.empty() || f.sid.empty()) {
    warn(text::INVALID_DATA);
    return;
  }
  panel_.showScrambled(f.scrambled);
  if (serviceExists(svcs, f, -1)) {
    warn(text::SVC_EXISTS);
    return;
  }
  CheckedService checked = checkedService(f);
  for (std::string_view refusal : checked.refusals) warn(refusal);
  if (!checked.service) return;
  checked.service->tpKey = tpKeyLong(tps[tpRow]);
  if (!svcs.append(std::move(*checked.service))) return;
  lists_.insertSvcRow(view_.listedSat, svcs.count() - 1);
  ensureRowVisible(svcs.count() - 1);
  refreshInfoPanel(view_.listedSat);
}

void EditorDialog::changeChannel() {
  const int row = view_.pickedSvcRow;
  SvcTable& svcs = db.svcTables[at(view_.listedSat)];
  if (refusedName(prompts_, controls_, IDC_CH_NAME)) return;
  const ChannelFields f = panel_.channelFields();
  // As for a new channel, every field must be filled in.
  if (f.chName.empty() || f.vPid.empty() || f.aPid.empty() || f.pPid.empty() || f.sid.empty()) {
    warn(text::INVALID_DATA);
    return;
  }
  if (serviceExists(svcs, f, row)) {
    warn(text::SVC_EXISTS);
    return;
  }
  const CheckedService checked = checkedService(f);
  for (std::string_view refusal : checked.refusals) warn(refusal);
  if (!checked.service) return;
  const std::optional<SvcRecord>& svc = checked.service;
  // The channel stays on its transponder.
  SvcRecord& target = svcs[row];
  target.name = svc->name;
  target.videoPid = svc->videoPid;
  target.audioPid = svc->audioPid;
  target.pcrPid = svc->pcrPid;
  target.serviceId = svc->serviceId;
  target.serviceType = svc->serviceType;
  lists_.removeRow(IDC_SVC_LIST, row);
  lists_.insertSvcRow(view_.listedSat, row);
  refreshInfoPanel(view_.listedSat);
}

void EditorDialog::removeChannels() {
  if (view_.listedSat < 0 || view_.listedSat >= db.satCount) return;
  SvcTable& svcs = db.svcTables[at(view_.listedSat)];
  const std::vector<int> rows = selectedRowsLastFirst(controls_, IDC_SVC_LIST, svcs.count());
  if (rows.empty()) return;
  for (int r : rows) svcs.erase(r);
  relistCurrentTab();
  refreshInfoPanel(view_.listedSat);
}

}  // namespace velmora::editor
