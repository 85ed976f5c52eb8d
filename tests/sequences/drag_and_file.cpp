// The steps of a sequence that drag a row, and that save, start anew,
// open a file, apply an order or update from a listing.
#include "sequences/model.h"

namespace velmora::editor::sequences {

void Sequence::drag() {
  const int tab = shownTab();
  const int list = listOf(tab);
  const int n = ui_.listRowCount(list);
  if (n == 0) return click(false);
  const int row = uniform(0, n - 1);
  const std::vector<int> selected = ui_.listSelectedRows(list);
  const bool pressSelects =
      std::find(selected.begin(), selected.end(), row) == selected.end() || chance(30);
  std::string what = "drag " + std::string(tabName(tab)) + " row " + std::to_string(row + 1) + " " +
                     rowText(tab, row);
  begin(what);
  const Entries e = entriesOf(ed_.database(), tab, shownSat());
  const std::string dragged = e.rec[at(row)];
  // Pressed on one of several picked rows, the drag takes them all.
  const std::vector<int> block = pressSelects ? std::vector<int>{} : pickedBlock(list);
  std::vector<std::string> draggedBlock;
  for (int r : block) draggedBlock.push_back(e.rec[at(r)]);
  if (!block.empty()) described_.back() += " with " + std::to_string(block.size()) + " picked";
  ui_.focus(list);
  if (pressSelects) {
    ui_.pickRows(list, {row});
    ed_.onListClick(list, ui_.listSelectedRows(list));
    pick_ = {dragged};
    pickTab_ = tab;
    pickSat_ = shownSatKey();
    panelDirty_ = false;
  }
  ed_.onDragBegin(list, row);
  require(ed_.isDragging() && ui_.drag.has_value(), "a drag on a row did not begin");
  const int moves = uniform(0, 3);
  bool cancelled = false;
  for (int m = 0; m < moves && !cancelled; ++m) {
    const int over = oneOf<int>({list, list, 0, IDC_TAB});
    const int y = uniform(0, (n + 1) * FakeControls::ROW_HEIGHT);
    ed_.onDragMove(over, over == list ? ui_.dropRowAt(list, y) : -1);
    described_.back() += ", move over " +
                         std::string(over == list ? "the list"
                                     : over == 0  ? "the window"
                                                  : "the tabs") +
                         " y " + std::to_string(y);
    require(over == list || !ui_.insertionLine,
            "a drop line is shown while the row is off its list");
    require(ui_.noDropShown == (over != list),
            over == list ? "the pointer says no drop over the row's own list"
                         : "the pointer does not say no drop off the row's list");
    if (chance(30) && !leftOut("dragkeys")) cancelled = keyDuringDrag();
  }
  if (cancelled) return finishStep(Kind::Nothing);
  const int end = uniform(0, 9);
  Plan plan;
  if (end < 5) {
    const int y = uniform(0, std::min(n, ui_.listState(list).page) * FakeControls::ROW_HEIGHT + 8);
    const int before = ui_.dropRowAt(list, y);
    ed_.onDragMove(list, before);
    const auto line = ui_.insertionLine;
    described_.back() += ", drop on the list at y " + std::to_string(y);
    require(line && line->first == list, "no drop line while the row is over its list");
    ed_.onDragRelease(list, before);
    plan.kind = Kind::Move;
    plan.block = block;
    if (line && line->first == list && !block.empty()) {
      // The block lands before the row under the line, counted without it.
      const int above = static_cast<int>(
          std::count_if(block.begin(), block.end(), [&](int r) { return r < line->second; }));
      plan.position = line->second - above;
      described_.back() += " (line above row " + std::to_string(line->second + 1) + ")";
    } else if (line && line->first == list) {
      plan.position = line->second <= row ? line->second : line->second - 1;
      described_.back() += " (line above row " + std::to_string(line->second + 1) + ")";
    }
  } else if (end < 8) {
    // A drop outside the list changes nothing: not the database, not the
    // pick, not the undo history.
    const int over = end < 7 ? 0 : IDC_TAB;
    described_.back() += over == 0 ? ", drop on the window outside the list" : ", drop on the tabs";
    const std::vector<int> picked = ui_.listSelectedRows(list);
    const bool wasPicked = ed_.view().rowPicked;
    const std::size_t steps = ed_.history().undoCount();
    const bool canRedo = ed_.history().canRedo();
    ed_.onDragMove(over, -1);
    ed_.onDragRelease(over, -1);
    require(ui_.listSelectedRows(list) == picked && ed_.view().rowPicked == wasPicked,
            "a drop outside the list changed the pick");
    require(ed_.history().undoCount() == steps && ed_.history().canRedo() == canRedo,
            "a drop outside the list changed the undo history");
  } else {
    described_.back() += ", drag abandoned";
    ed_.onDragCancel();
  }
  require(!ed_.isDragging() && !ui_.drag.has_value() && !ui_.insertionLine.has_value(),
          "the drag image or drop line is still shown after the drag ended");
  dragged_ = dragged;
  draggedBlock_ = block.empty() ? std::vector<std::string>{dragged} : draggedBlock;
  finishStep(plan.kind == Kind::Move ? Kind::Drag : Kind::Nothing, plan, true);
}

std::vector<int> Sequence::pickedBlock(int list) const {
  std::vector<int> rows = ui_.listSelectedRows(list);
  std::sort(rows.begin(), rows.end());
  return rows.size() > 1 ? rows : std::vector<int>{};
}

bool Sequence::keyDuringDrag() {
  struct Key {
    int key;
    bool ctrl;
    const char* name;
  };
  static const Key keys[] = {
      {KEY_F2, false, "F2"},        {KEY_F3, false, "F3"},     {KEY_F5, false, "F5"},
      {KEY_F7, false, "F7"},        {KEY_F8, false, "F8"},     {KEY_DELETE, false, "Delete"},
      {KEY_RETURN, false, "Enter"}, {'Z', true, "Ctrl+Z"},     {'Y', true, "Ctrl+Y"},
      {'F', true, "Ctrl+F"},        {KEY_ESCAPE, false, "Esc"}};
  const Key& k = keys[uniform(0, static_cast<int>(std::size(keys)) - 1)];
  described_.back() += std::string(", ") + k.name + " during the drag";
  if (k.key == KEY_ESCAPE) {
    ed_.onDragCancel();
    require(!ed_.isDragging() && !ui_.drag.has_value(), "Esc did not end the drag");
    return true;
  }
  const std::size_t messages = prompts_.messages.size();
  const std::size_t dialogs = prompts_.modalDialogs.size();
  const std::size_t files = prompts_.filePurposes.size();
  ed_.onKeyDown(k.key, k.ctrl);
  prompts_.finishBackgroundWork();
  require(now() == before_.state, std::string(k.name) + " during a drag changed the database");
  require(prompts_.messages.size() == messages && prompts_.modalDialogs.size() == dialogs &&
              prompts_.filePurposes.size() == files,
          std::string(k.name) + " during a drag brought up a message or a dialog");
  require(ed_.isDragging(), std::string(k.name) + " during a drag ended the drag");
  return false;
}

void Sequence::file(Kind kind) {
  // Save: F7 and File > Save As ask for a file; Ctrl+S, File > Save and the
  // toolbar save to the file the window names, asking only without one.
  const int way = uniform(0, kind == Kind::Save ? 4 : 2);
  std::string how;
  if (kind == Kind::Save) {
    how = way == 0   ? "F7"
          : way == 1 ? "File > Save As"
          : way == 2 ? "toolbar Make"
          : way == 3 ? "Ctrl+S"
                     : "File > Save";
  }
  if (kind == Kind::New) how = way == 0 ? "F2" : way == 1 ? "File > New" : "toolbar New";
  if (kind == Kind::Open) {
    how = way == 0 ? "F3" : way == 1 ? "File > Open" : "toolbar Open";
    std::vector<std::string> choices = {"", "start.wdb", "hotbird.sdx", "long.sdx"};
    for (const char* name : {"a.wdb", "b.wdb", "c.wdb"})
      if (fs::exists(path(name))) {
        choices.emplace_back(name);
        choices.emplace_back(name);
      }
    const std::string& name = oneOf(choices);
    openChoice_ = name.empty() ? std::nullopt : std::optional<std::string>(path(name));
  }
  begin(how);
  rememberFiles();
  if (chance(25)) {
    failAt_ = oneOf<FileStep>({FileStep::Open, FileStep::Write, FileStep::Sync, FileStep::Keep,
                               FileStep::Rename, FileStep::Backup});
    failErrno_ = oneOf<int>({EACCES, ENOSPC, EIO});
    described_.back() += std::string(" (the disk fails ") + stepName(*failAt_) + ", errno " +
                         std::to_string(failErrno_) + ")";
  }
  lastSavePath_.clear();
  const std::string named = ui_.text(IDC_FILE);
  inPlace_.reset();
  if (kind == Kind::Save && way >= 2 && named != "." && !named.empty()) {
    inPlace_ = named;
    lastSavePath_ = named;
  }
  const int id = kind == Kind::Save  ? (way == 1 ? ID_FILE_SAVE : ID_TB_MAKE)
                 : kind == Kind::New ? (way == 1 ? ID_FILE_NEW : ID_TB_NEW)
                                     : (way == 1 ? ID_FILE_OPEN : ID_TB_OPEN);
  const int key = kind == Kind::Save ? KEY_F7 : kind == Kind::New ? KEY_F2 : KEY_F3;
  if (way == 0)
    ed_.onKeyDown(key);
  else if (way == 3)
    ed_.onKeyDown('S', true);
  else
    ed_.onCommand(way == 4 ? ID_FILE_SAVE_IN_PLACE : id);
  if (inPlace_)
    require(prompts_.filePurposes.size() == before_.files,
            "a save to the open file brought up the file dialog");
  finishStep(kind);
}

void Sequence::applyOrder() {
  std::vector<std::string> choices = {"", "start.wdb"};
  for (const char* name : {"a.wdb", "b.wdb", "c.wdb"})
    if (fs::exists(path(name))) choices.emplace_back(name);
  const std::string& name = oneOf(choices);
  openChoice_ = name.empty() ? std::nullopt : std::optional<std::string>(path(name));
  begin("File > Apply order from " + (name.empty() ? std::string("(cancelled)") : name));
  ed_.onCommand(ID_FILE_APPLY_ORDER);
  finishStep(Kind::ApplyOrder);
}

// File > Update from listing: a listing (or none), then the dialog: the
// check box perhaps, Enter or Esc.
void Sequence::updateFromListing() {
  const std::string& name = oneOf(std::vector<std::string>{"", "hotbird.sdx", "long.sdx"});
  openChoice_ = name.empty() ? std::nullopt : std::optional<std::string>(path(name));
  const bool keep = chance(50), escape = chance(20);
  keepMissing_ = openChoice_ && keep && !escape;
  begin("File > Update from listing " + (name.empty() ? std::string("(cancelled)") : name) +
        (keep ? ", keep what it lacks" : "") + (escape ? ", Esc" : ", Enter"));
  if (openChoice_) {
    prompts_.script = [keep, escape](FakePrompts::DialogSession& d) {
      if (d.dialog.dialogId() != IDD_UPDATE) return;
      if (keep) d.send(IDC_UPDATE_KEEP);
      d.send(escape ? ID_CANCEL : ID_OK);
    };
    if (escape) openChoice_.reset();
  }
  ed_.onCommand(ID_FILE_UPDATE_LISTING);
  finishStep(Kind::Update);
}

}  // namespace velmora::editor::sequences
