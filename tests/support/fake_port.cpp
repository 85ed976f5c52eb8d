#include "support/fake_port.h"

#include <algorithm>
#include <stdexcept>

#include "editor/drop_row.h"
#include "resource_ids.h"

namespace velmora::test {

FakeControls::FakeControls(const res::DialogDef& dialog) {
  for (const res::ControlDef& def : dialog.controls) {
    if (def.id < 0) continue;
    Control& c = controls_[def.id];
    c.kind = def.kind;
    c.text = std::string(def.text);
    c.visible = def.visibleAtStart;
    if (def.kind == res::ControlKind::DefButton && defaultButton == 0) defaultButton = def.id;
  }
}

std::vector<int> FakeControls::ids() const {
  std::vector<int> out;
  for (const auto& [id, _] : controls_) out.push_back(id);
  return out;
}

FakeControls::Control& FakeControls::get(int id) {
  const auto it = controls_.find(id);
  if (it == controls_.end()) throw std::out_of_range("no control " + std::to_string(id));
  return it->second;
}
const FakeControls::Control& FakeControls::get(int id) const {
  return const_cast<FakeControls*>(this)->get(id);
}

void FakeControls::setText(int id, std::string_view text) {
  get(id).text = std::string(text);
  get(id).foreign.reset();
}
std::string FakeControls::text(int id) const { return get(id).text; }
std::optional<char32_t> FakeControls::foreignChar(int id) const { return get(id).foreign; }
void FakeControls::setVisible(int id, bool visible) { get(id).visible = visible; }
bool FakeControls::isVisible(int id) const { return get(id).visible; }
void FakeControls::setEnabled(int id, bool enabled) { get(id).enabled = enabled; }
bool FakeControls::isEnabled(int id) const { return get(id).enabled; }
void FakeControls::setToolTip(int id, std::string_view text) {
  get(id).toolTip = std::string(text);
}
std::string FakeControls::toolTip(int id) const { return get(id).toolTip; }

void FakeControls::comboInsert(int id, int index, std::string_view item) {
  auto& items = get(id).combo.items;
  if (index < 0 || index > static_cast<int>(items.size())) index = static_cast<int>(items.size());
  items.insert(items.begin() + index, std::string(item));
}
void FakeControls::comboDelete(int id, int index) {
  Combo& c = get(id).combo;
  if (index < 0 || index >= static_cast<int>(c.items.size())) return;
  c.items.erase(c.items.begin() + index);
  if (c.selection == index)
    c.selection = -1;
  else if (c.selection > index)
    --c.selection;  // the selected item moves up
}
void FakeControls::comboClear(int id) { get(id).combo = Combo{}; }
int FakeControls::comboCount(int id) const { return static_cast<int>(get(id).combo.items.size()); }
std::string FakeControls::comboItem(int id, int index) const {
  const Combo& c = get(id).combo;
  return index >= 0 && index < static_cast<int>(c.items.size()) ? c.items[index] : std::string();
}
void FakeControls::comboSelect(int id, int index) {
  Combo& c = get(id).combo;
  c.selection = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
  if (c.selection >= 0 && get(id).kind == res::ControlKind::ComboEdit)
    get(id).text = c.items[index];
}
int FakeControls::comboSelection(int id) const { return get(id).combo.selection; }

void FakeControls::listAddColumn(int id, std::string_view header, int width) {
  get(id).list.columns.emplace_back(std::string(header), width);
}
std::vector<int> FakeControls::listColumnWidths(int id) const {
  std::vector<int> widths;
  for (const auto& column : get(id).list.columns) widths.push_back(column.second);
  return widths;
}
int FakeControls::listColumnCount(int id) const {
  return static_cast<int>(get(id).list.columns.size());
}
std::string FakeControls::listColumnHeader(int id, int column) const {
  return get(id).list.columns.at(column).first;
}
int FakeControls::listColumnWidth(int id, int column) const {
  return get(id).list.columns.at(column).second;
}
void FakeControls::listSetSource(int id, const editor::RowSource* source) {
  List& l = get(id).list;
  l.source = source;
  l.rows = source != nullptr ? source->rowCount() : 0;
  l.selected.clear();
  l.current = -1;
}
void FakeControls::listRowsChanged(int id, editor::ListChange change) {
  using Kind = editor::ListChange::Kind;
  List& l = get(id).list;
  const int first = change.first, count = change.count;
  // Where row r stands after the change; -1 when it is gone. The selection
  // and the current row stay with their rows.
  auto place = [&](int r) {
    switch (change.kind) {
      case Kind::Reset:
        return -1;
      case Kind::Inserted:
        return r >= first ? r + count : r;
      case Kind::Removed:
        return r < first ? r : r >= first + count ? r - count : -1;
      case Kind::Moved:
        if (r == first) return change.to;
        if (first < change.to && r > first && r <= change.to) return r - 1;
        if (first > change.to && r >= change.to && r < first) return r + 1;
        return r;
    }
    return -1;
  };
  std::vector<int> kept;
  for (const int r : l.selected)
    if (const int to = place(r); to >= 0) kept.push_back(to);
  l.current = l.current >= 0 ? place(l.current) : -1;
  std::sort(kept.begin(), kept.end());
  l.selected = kept;
  if (change.kind == Kind::Reset) ++l.resets;
  if (change.kind == Kind::Reset)
    l.rows = l.source != nullptr ? l.source->rowCount() : 0;
  else if (change.kind == Kind::Inserted)
    l.rows += count;
  else if (change.kind == Kind::Removed)
    l.rows -= count;
  const int sourceRows = l.source != nullptr ? l.source->rowCount() : 0;
  if (sourceRows != l.rows)
    throw std::logic_error("list " + std::to_string(id) + " told of " + std::to_string(l.rows) +
                           " rows, its source holds " + std::to_string(sourceRows));
}
int FakeControls::listRowCount(int id) const { return get(id).list.rows; }
std::string FakeControls::listCell(int id, int row, int column) const {
  const List& l = get(id).list;
  if (l.source == nullptr || row < 0 || row >= l.rows) return {};
  return l.source->cell(row, column);
}
std::vector<std::vector<std::string>> FakeControls::rows(int id) const {
  const List& l = get(id).list;
  std::vector<std::vector<std::string>> out(static_cast<std::size_t>(l.rows));
  for (int r = 0; r < l.rows; ++r)
    for (int c = 0; c < static_cast<int>(l.columns.size()); ++c)
      out[static_cast<std::size_t>(r)].push_back(listCell(id, r, c));
  return out;
}
std::vector<int> FakeControls::listSelectedRows(int id) const { return get(id).list.selected; }
void FakeControls::listSelectRows(int id, const std::vector<int>& rows) {
  if (!rows.empty()) get(id).list.current = rows.front();
  get(id).list.selected = rows;
  std::sort(get(id).list.selected.begin(), get(id).list.selected.end());
}
void FakeControls::listEnsureVisible(int id, int row) {
  List& l = get(id).list;
  l.ensuredVisible = row;
  if (row < l.top) l.top = row;
  if (row >= l.top + l.page) l.top = row - l.page + 1;
}
int FakeControls::dropRowAt(int id, int y) const {
  const List& l = get(id).list;
  const int rows = l.rows;
  return editor::dropRowAt(y, ROW_HEIGHT, l.top, rows, [&](int at) {
    const int row = l.top + at / ROW_HEIGHT;
    return at >= 0 && row < rows ? row : -1;
  });
}

void FakeControls::beginDrag(int listId, int row) {
  const std::vector<int>& picked = get(listId).list.selected;
  if (std::find(picked.begin(), picked.end(), row) == picked.end()) pickRows(listId, {row});
  if (events_ != nullptr) events_->dragBegin(listId, row);
}
void FakeControls::cancelDrag() {
  if (!drag) return;
  if (events_ != nullptr) events_->dragCancel();
  dragEnd();
}

void FakeControls::tabInsert(int id, int index, std::string_view title) {
  auto& tabs = get(id).tabs;
  tabs.insert(tabs.begin() + std::clamp(index, 0, static_cast<int>(tabs.size())),
              std::string(title));
  if (get(id).tabSelection < 0) get(id).tabSelection = 0;
}
int FakeControls::tabSelection(int id) const { return get(id).tabSelection; }
void FakeControls::tabSelect(int id, int index) { get(id).tabSelection = index; }
void FakeControls::menuCheck(int commandId, bool checked) { menuChecks_[commandId] = checked; }
bool FakeControls::menuChecked(int commandId) const {
  const auto it = menuChecks_.find(commandId);
  return it != menuChecks_.end() && it->second;
}

editor::Answer FakePrompts::message(std::string_view text, std::string_view caption,
                                    editor::Buttons buttons, editor::Icon) {
  messages.push_back({std::string(text), std::string(caption), buttons});
  if (!answers.empty()) {
    const editor::Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  return buttons == editor::Buttons::Ok ? editor::Answer::Ok : editor::Answer::No;
}

std::optional<std::string> FakePrompts::chooseFile(editor::FilePurpose purpose,
                                                   std::string_view filter) {
  fileFilters.emplace_back(filter);
  filePurposes.push_back(purpose);
  if (files.empty()) return std::nullopt;
  auto f = files.front();
  files.pop_front();
  return f;
}

std::optional<editor::SaveAsChoice> FakePrompts::chooseSaveAs(
    const editor::SaveAsRequest& request) {
  filePurposes.push_back(editor::FilePurpose::Save);
  saveRequests.push_back(request);
  int shown = request.chosenType;
  while (!files.empty()) {
    const std::optional<std::string> file = files.front();
    files.pop_front();
    int type = request.chosenType;
    if (!saveTypes.empty()) {
      type = saveTypes.front();
      saveTypes.pop_front();
    }
    if (type != shown && request.aboutType) typeNotes.push_back(request.aboutType(type));
    shown = type;
    if (!file) return std::nullopt;
    const std::string refusal = request.check ? request.check(*file, type) : std::string();
    if (refusal.empty()) return editor::SaveAsChoice{*file, type};
    refusals.push_back(refusal);
  }
  return std::nullopt;
}

namespace {
const res::DialogDef& templateOf(int dialogId) {
  if (const res::DialogDef* def = res::subDialog(dialogId)) return *def;
  throw std::out_of_range("no template for dialog " + std::to_string(dialogId));
}
}  // namespace

bool FakePrompts::DialogSession::send(int id) {
  if (!ended) ended = dialog.onCommand(ui, id);
  return ended;
}

int FakePrompts::runModal(editor::SubDialog& dialog) {
  modalDialogs.push_back(dialog.dialogId());
  if (dialogScripts.empty()) return dialog.result;
  auto script = std::move(dialogScripts.front());
  dialogScripts.pop_front();
  DialogSession session{FakeControls(templateOf(dialog.dialogId())), dialog};
  dialog.onInit(session.ui);
  script(session);
  session.send(res::ID_CANCEL);
  return dialog.result;
}

int FakePrompts::contextMenu(int) {
  if (menuChoices.empty()) return 0;
  const int id = menuChoices.front();
  menuChoices.pop_front();
  return id;
}

void FakePrompts::finishBackgroundWork() {
  while (!pendingWork.empty()) {
    std::function<void()> done = pendingWork.front().get();
    pendingWork.pop_front();
    if (done) done();
  }
}

}  // namespace velmora::test
