#include "win32/win_controls.h"

#include <algorithm>
#include <utility>

#include "editor/trace.h"
#include "resource_ids.h"
#include "win32/control_util.h"
#include "win32/dpi.h"
#include "win32/resources.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

using K = res::ControlKind;

std::string windowText(HWND w) {
  if (w == nullptr) return {};
  const int n = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), n + 1)));
  return narrow(text);
}

// The kinds of control whose background is the tab pane's when they lie
// on it: those that paint no field of their own.
bool onPaneKind(res::ControlKind kind) {
  return kind == K::Label || kind == K::Value || kind == K::GroupBox || kind == K::CheckBox ||
         kind == K::Picture || kind == K::Icon;
}

}  // namespace

WinControls::WinControls(HWND dialog, const res::DialogDef& def, std::function<void(int)> onEnd)
    : dialog_(dialog), dpi_(windowDpi(dialog)), onEnd_(std::move(onEnd)), picks_(dialog, *this) {
  const bool mainWindow = def.id == res::IDD_EDITOR;
  std::vector<std::pair<int, ListView*>> listViews;
  for (const res::ControlDef& c : def.controls) {
    // A control that is never shown has no window: what the editor does
    // with it comes to nothing.
    if (c.id == -1 || (mainWindow && c.neverShown)) continue;
    kinds_[c.id] = c.kind;
    HWND w = GetDlgItem(dialog_, c.id);
    windows_[c.id] = w;
    if (c.kind == K::ListView) {
      if (w == nullptr) continue;
      // The green and yellow scheme belongs to the main window's lists;
      // lists in small dialogs keep the desktop's colours.
      ListView& list = lists_.try_emplace(c.id, w, mainWindow, dpi_).first->second;
      listViews.emplace_back(c.id, &list);
      // The list tells when a mouse press begins, and draws the drop line.
      SetWindowSubclass(w, &WinControls::listProc, static_cast<UINT_PTR>(c.id),
                        reinterpret_cast<DWORD_PTR>(this));
    } else if (c.kind == K::Icon) {
      send(w, STM_SETICON, reinterpret_cast<WPARAM>(programIcon(false, dpi_)));
    } else if (c.kind == K::Tab) {
      tabId_ = c.id;
      // Under every other control, so that its pane never covers them.
      SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  tips_ = std::make_unique<Tips>(dialog_, dpi_);
  drag_ = std::make_unique<RowDrag>(dialog_, std::move(listViews),
                                    is(res::IDC_TAB, K::Tab) ? item(res::IDC_TAB) : nullptr);
  drag_->setDpi(dpi_);
  pane_ =
      std::make_unique<PaneTheme>(dialog_, is(res::IDC_TAB, K::Tab) ? item(res::IDC_TAB) : nullptr);
  for (const res::ToolTipDef& tip : res::toolTips()) {
    if (kinds_.count(tip.id) == 0) continue;
    tips_->makeBlue(tip.id);
    setToolTip(tip.id, tip.text);
  }
}

WinControls::~WinControls() {
  for (const auto& [id, list] : lists_)
    RemoveWindowSubclass(list.hwnd(), &WinControls::listProc, static_cast<UINT_PTR>(id));
}

HWND WinControls::item(int id) const {
  const auto it = windows_.find(id);
  return it != windows_.end() ? it->second : nullptr;
}

bool WinControls::is(int id, res::ControlKind kind) const {
  const auto it = kinds_.find(id);
  return it != kinds_.end() && it->second == kind;
}

bool WinControls::isCombo(int id) const { return is(id, K::ComboList) || is(id, K::ComboEdit); }

ListView* WinControls::list(int id) {
  const auto it = lists_.find(id);
  return it != lists_.end() ? &it->second : nullptr;
}

const ListView* WinControls::list(int id) const {
  const auto it = lists_.find(id);
  return it != lists_.end() ? &it->second : nullptr;
}

// The result of a notification the window handled; the others leave the
// window's result as it is.
void WinControls::answer(LRESULT result) const {
  SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, result);
}

// ------------------------------------------------------------ notifications

bool WinControls::onCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0) return false;  // a menu item
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const auto it = kinds_.find(id);
  if (it == kinds_.end() || events_ == nullptr) return false;
  switch (it->second) {
    case K::Button:
    case K::DefButton:
    case K::CheckBox:
      if (code == BN_CLICKED) {
        flushPicks();
        events_->command(id);
      }
      return true;
    case K::ComboList:
    case K::ComboEdit:
      comboNotified(id, code);
      return true;
    case K::ListBox:
      if (code == LBN_SELCHANGE) {
        flushPicks();
        events_->lineChosen(id);
      }
      return true;
    case K::SearchEdit:
      // EN_CHANGE comes for the program's own SetWindowText too.
      if (code == EN_CHANGE && settingText_ != id) events_->command(id);
      return true;
    default:
      return true;
  }
}

bool WinControls::onNotify(const NMHDR& header) {
  const int id = static_cast<int>(header.idFrom);
  // What a list view asks of its rows.
  if (ListView* l = list(id); l != nullptr && header.hwndFrom == l->hwnd()) {
    switch (header.code) {
      case LVN_GETDISPINFOW:
        l->cellText(const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)));
        return true;
      case LVN_ODFINDITEMW:
        answer(l->findRow(reinterpret_cast<const NMLVFINDITEMW&>(header)));
        return true;
      case LVN_DELETEALLITEMS:
        // No notification for each row.
        answer(TRUE);
        return true;
      default:
        break;
    }
  }
  if (kinds_.count(id) == 0 || events_ == nullptr) return false;
  switch (header.code) {
    case TCN_SELCHANGE:
      answer(0);
      flushPicks();
      events_->tabChanged(id);
      return true;
    case LVN_ITEMCHANGED:
      if (is(id, K::ListView)) listChanged(reinterpret_cast<const NMLISTVIEW&>(header));
      return true;
    case LVN_ODSTATECHANGED:
      // A range of rows selected at once (Shift with a click or a key).
      if (const auto& range = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
          list(id) != nullptr && !list(id)->quiet() &&
          ((range.uNewState ^ range.uOldState) & LVIS_SELECTED) != 0)
        picks_.changed(id);
      return true;
    case NM_CLICK:
      answer(0);
      // A click that left the selection as it was picks its row again.
      if (is(id, K::ListView)) picks_.clicked(id);
      return true;
    case NM_RCLICK:
      answer(0);
      if (is(id, K::ListView)) {
        // The right-click reads the selection itself.
        picks_.forget(id);
        flushPicks();
        events_->listRightClick(id);
      }
      return true;
    case NM_DBLCLK:
      answer(0);
      if (is(id, K::ListView) && reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) {
        flushPicks();
        events_->listDoubleClick(id);
      }
      return true;
    case LVN_COLUMNCLICK:
      answer(0);
      flushPicks();
      events_->columnClick(id);
      return true;
    case LVN_BEGINDRAG:
      answer(0);
      flushPicks();
      events_->dragBegin(id, reinterpret_cast<const NMLISTVIEW&>(header).iItem);
      return true;
    default:
      return false;
  }
}

// Ctrl+Tab goes as a click on the tab goes: the strip may refuse the
// change, and is told of it once made.
bool WinControls::stepTab(bool back) {
  HWND tab = item(tabId_);
  if (tab == nullptr || !IsWindowVisible(tab) || !IsWindowEnabled(tab)) return false;
  const int count = tabCount(tabId_);
  if (count < 2) return false;
  const int at = std::max(0, tabSelection(tabId_));
  const int next = (at + (back ? count - 1 : 1)) % count;
  NMHDR change{tab, static_cast<UINT_PTR>(tabId_), static_cast<UINT>(TCN_SELCHANGING)};
  if (SendMessageW(dialog_, WM_NOTIFY, static_cast<WPARAM>(tabId_),
                   reinterpret_cast<LPARAM>(&change)) != 0)
    return true;
  send(tab, TCM_SETCURSEL, static_cast<WPARAM>(next));
  change.code = static_cast<UINT>(TCN_SELCHANGE);
  SendMessageW(dialog_, WM_NOTIFY, static_cast<WPARAM>(tabId_), reinterpret_cast<LPARAM>(&change));
  return true;
}

// The user changed a row's selection: with a click, a key, type-ahead or
// a drag of the mouse. One pick is reported for a burst of such changes.
void WinControls::listChanged(const NMLISTVIEW& change) {
  const ListView* l = list(static_cast<int>(change.hdr.idFrom));
  if (l == nullptr || l->quiet() || (change.uChanged & LVIF_STATE) == 0) return;
  if (((change.uNewState ^ change.uOldState) & LVIS_SELECTED) == 0) return;
  picks_.changed(static_cast<int>(change.hdr.idFrom));
}

void WinControls::setEvents(editor::ControlEvents* events) {
  events_ = events;
  picks_.setEvents(events);
  drag_->setEvents(events);
}

void WinControls::flushPicks() { picks_.flush(); }

bool WinControls::onPosted(UINT message, WPARAM wParam) {
  const int id = static_cast<int>(wParam);
  if (message == WM_APP_DPI_CHANGED) {
    onDpiChanged(static_cast<int>(wParam));
    return true;
  }
  if (message == WM_APP_LIST_PICK) {
    picks_.onPosted(id);
    return true;
  }
  if (message == WM_APP_COMBO_CLOSED) {
    comboClosed(id);
    return true;
  }
  return false;
}

HWND WinControls::droppedCombo() const {
  for (HWND w = GetFocus(); w != nullptr && w != dialog_; w = GetParent(w)) {
    if (GetParent(w) != dialog_) continue;
    return isCombo(GetDlgCtrlID(w)) && send(w, CB_GETDROPPEDSTATE) != 0 ? w : nullptr;
  }
  return nullptr;
}

bool WinControls::listHasFocus() const { return is(focusedControl(), K::ListView); }

LRESULT CALLBACK WinControls::listProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self) {
  auto& controls = *reinterpret_cast<WinControls*>(self);
  ListView* list = controls.list(static_cast<int>(id));
  // Rows appended since: before the list paints, scrolls, takes a click or
  // a key, or answers a question of ours.
  if (list != nullptr && list->pending() && message != WM_DESTROY && message != WM_NCDESTROY)
    list->tell();
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      controls.picks_.pressBegan(static_cast<int>(id));
      break;
    case WM_PAINT: {
      // Rows may have come since the list took the keyboard.
      if (GetFocus() == w && list != nullptr) list->showFocusRow();
      const LRESULT result = DefSubclassProc(w, message, wParam, lParam);
      controls.drag_->onListPainted(static_cast<int>(id), w);
      if (list != nullptr && list->takeRefilled()) editor::trace::mark(editor::trace::LIST_PAINTED);
      return result;
    }
    case WM_SETFOCUS: {
      const LRESULT result = DefSubclassProc(w, message, wParam, lParam);
      if (list != nullptr) list->showFocusRow();
      return result;
    }
    case WM_NOTIFY:
      if (list != nullptr && list->onHeaderNotify(*reinterpret_cast<const NMHDR*>(lParam)))
        return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, &WinControls::listProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

// The small marker triangles of the information panel.
bool WinControls::onDrawItem(const DRAWITEMSTRUCT& d) {
  if (d.CtlType == ODT_COMBOBOX && is(static_cast<int>(d.CtlID), K::ComboEdit)) {
    drawTitledItem(d);
    return true;
  }
  if (d.CtlType != ODT_STATIC || !is(static_cast<int>(d.CtlID), K::Picture)) return false;
  const RECT r = d.rcItem;
  HBRUSH background = onCtlColor(d.hDC, d.hwndItem);
  FillRect(d.hDC, &r, background != nullptr ? background : GetSysColorBrush(COLOR_BTNFACE));
  const int side = std::min(r.right - r.left, r.bottom - r.top);
  const int top = r.top + (r.bottom - r.top - side) / 2;
  const POINT points[] = {{r.left, top}, {r.left + side, top + side / 2}, {r.left, top + side}};
  HBRUSH brush = CreateSolidBrush(RGB(0x1C, 0x3C, 0x8C));
  HGDIOBJ oldBrush = SelectObject(d.hDC, brush);
  HGDIOBJ oldPen = SelectObject(d.hDC, GetStockObject(NULL_PEN));
  Polygon(d.hDC, points, 3);
  SelectObject(d.hDC, oldPen);
  SelectObject(d.hDC, oldBrush);
  DeleteObject(brush);
  return true;
}

// ------------------------------------------------------------ any control

void WinControls::setText(int id, std::string_view text) {
  HWND w = item(id);
  if (is(id, K::ComboList)) {
    const std::wstring t = widen(text);
    const LRESULT found =
        send(w, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(t.c_str()));
    send(w, CB_SETCURSEL, static_cast<WPARAM>(found));
    return;
  }
  if (is(id, K::ComboEdit)) {
    titles_[id] = std::string(text);
    if (w != nullptr) InvalidateRect(w, nullptr, FALSE);
    return;
  }
  if (w == nullptr) return;
  settingText_ = id;
  SetWindowTextW(w, widen(text).c_str());
  settingText_ = 0;
}

std::string WinControls::text(int id) const {
  HWND w = item(id);
  if (is(id, K::ListBox)) {
    const int sel = comboSelection(id);
    return sel < 0 ? std::string() : comboItem(id, sel);
  }
  if (is(id, K::ComboEdit)) {
    const auto it = titles_.find(id);
    return it == titles_.end() ? std::string() : it->second;
  }
  return windowText(w);
}

void WinControls::setPathText(int id, std::string_view path) {
  if (HWND w = item(id)) SetWindowTextW(w, wideFromUtf8(path).c_str());
}

std::optional<char32_t> WinControls::foreignChar(int id) const {
  HWND w = item(id);
  if (w == nullptr || is(id, K::ListBox)) return std::nullopt;
  const int n = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), n + 1)));
  return narrowWestern(text).refused;
}

void WinControls::setVisible(int id, bool visible) {
  if (HWND w = item(id)) ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
}

void WinControls::setEnabled(int id, bool enabled) {
  if (HWND w = item(id)) EnableWindow(w, enabled ? TRUE : FALSE);
}

void WinControls::setToolTip(int id, std::string_view text) {
  const bool field =
      is(id, K::Edit) || is(id, K::NumberEdit) || is(id, K::SearchEdit) || isCombo(id);
  tips_->set(id, item(id), field, text);
}

// ------------------------------------------------------------ list views

void WinControls::listAddColumn(int id, std::string_view header, int width) {
  if (ListView* l = list(id)) l->addColumn(header, width);
}

void WinControls::listSetSource(int id, const editor::RowSource* source) {
  if (ListView* l = list(id)) l->setSource(source);
}

void WinControls::listRowsChanged(int id, editor::ListChange change) {
  if (ListView* l = list(id)) l->changed(change);
}

const editor::RowSource* WinControls::listSource(int id) const {
  const ListView* l = list(id);
  return l != nullptr ? l->source() : nullptr;
}

int WinControls::listRowCount(int id) const {
  const ListView* l = list(id);
  return l != nullptr ? l->rowCount() : 0;
}

std::string WinControls::listCell(int id, int row, int column) const {
  const ListView* l = list(id);
  return l != nullptr ? l->cell(row, column) : std::string();
}

std::vector<int> WinControls::listSelectedRows(int id) const {
  const ListView* l = list(id);
  return l != nullptr ? l->selectedRows() : std::vector<int>();
}

void WinControls::listSelectRows(int id, const std::vector<int>& rows) {
  if (ListView* l = list(id)) l->selectRows(rows);
}

std::vector<int> WinControls::listColumnWidths(int id) const {
  const ListView* l = list(id);
  if (l == nullptr) return {};
  std::vector<int> widths;
  for (int c = 0; c < l->columnCount(); ++c) widths.push_back(l->columnWidth(c));
  return widths;
}

void WinControls::listEnsureVisible(int id, int row) {
  if (ListView* l = list(id)) l->ensureVisible(row);
}

// ------------------------------------------------------------ dragging a row

void WinControls::dragBegin(int id, int row, int hotX, int hotY) {
  drag_->end();
  if (row < 0 || row >= listRowCount(id)) return;
  drag_->begin(id, row, hotX, hotY);
}

void WinControls::dragEnd() { drag_->end(); }

void WinControls::dragShowInsertion(int id, int row) { drag_->showInsertion(id, row); }

void WinControls::dragShowNoDrop(bool noDrop) { drag_->showNoDrop(noDrop); }

bool WinControls::onDragPointer(bool released) { return drag_->onPointer(released); }

// ------------------------------------------------------------ DPI and theme

void WinControls::onDpiChanged(int dpi) {
  if (dpi <= 0 || dpi == dpi_) {
    onThemeChanged();
    return;
  }
  dpi_ = dpi;
  for (auto& [id, l] : lists_) l.onDpiChanged(dpi);
  drag_->setDpi(dpi);
  tips_->onDpiChanged(dpi);
  onThemeChanged();
}

void WinControls::onThemeChanged() { pane_->reset(); }

bool WinControls::onEraseBackground(HDC dc) { return pane_->onEraseBackground(dc); }

HBRUSH WinControls::onCtlColor(HDC dc, HWND control) {
  const auto it = kinds_.find(GetDlgCtrlID(control));
  if (it == kinds_.end() || !onPaneKind(it->second)) return nullptr;
  return pane_->ctlColor(dc, control);
}

// ------------------------------------------------------------ text, title

// The whole text of an edit field, or of a drop-down's edit part, selected.
void WinControls::selectAllText(int id) {
  HWND w = item(id);
  if (is(id, K::ComboEdit)) {
    send(w, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  } else if (is(id, K::Edit) || is(id, K::NumberEdit) || is(id, K::SearchEdit)) {
    send(w, EM_SETSEL, 0, -1);
  }
}

void WinControls::setWindowTitle(std::string_view title, bool modified) {
  std::wstring text = wideFromUtf8(title);
  if (modified) text += L'*';
  SetWindowTextW(GetAncestor(dialog_, GA_ROOT), text.c_str());
}

// ------------------------------------------------------------ tab strip

void WinControls::tabInsert(int id, int index, std::string_view title) {
  if (!is(id, K::Tab)) return;
  std::wstring text = widen(title);
  TCITEMW tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = text.data();
  send(item(id), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
}

int WinControls::tabCount(int id) const {
  return is(id, K::Tab) ? count(item(id), TCM_GETITEMCOUNT) : 0;
}

int WinControls::tabSelection(int id) const {
  return is(id, K::Tab) ? static_cast<int>(send(item(id), TCM_GETCURSEL)) : -1;
}

void WinControls::tabSelect(int id, int index) {
  if (is(id, K::Tab)) send(item(id), TCM_SETCURSEL, static_cast<WPARAM>(index));
}

// ------------------------------------------------------------ menu, focus, end

void WinControls::setMenu(HMENU menu) { menus_.setMenu(menu); }
void WinControls::menuCheck(int commandId, bool checked) { menus_.check(commandId, checked); }
void WinControls::menuSetText(int commandId, std::string_view text) {
  menus_.setText(commandId, text);
}
void WinControls::menuShow(int commandId, bool shown) { menus_.show(commandId, shown); }
void WinControls::menuEnable(int commandId, bool enabled) { menus_.enable(commandId, enabled); }

// The control that has the focus, or that part of one (the edit part of a
// drop-down combo box).
int WinControls::focusedControl() const {
  for (HWND w = GetFocus(); w != nullptr && w != dialog_; w = GetParent(w)) {
    if (GetParent(w) != dialog_) continue;
    const int id = GetDlgCtrlID(w);
    return kinds_.count(id) != 0 ? id : 0;
  }
  return 0;
}

void WinControls::endDialog(int result) {
  if (onEnd_) onEnd_(result);
}

// The dialog manager takes the new default id, but need not take the
// default border off the button that had it: each push button gets its
// style as well. The editor sees Enter as a key before the dialog manager
// could press the button.
void WinControls::setDefaultButton(int id) {
  send(dialog_, DM_SETDEFID, static_cast<WPARAM>(id));
  for (const auto& [other, kind] : kinds_) {
    if (kind != K::Button && kind != K::DefButton) continue;
    HWND w = item(other);
    const LONG type = GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) continue;
    const LONG wanted = other == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (type != wanted) send(w, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
  }
}

// One part across the whole bar; a text longer than the bar is cut at its
// edge.
void WinControls::setStatusText(std::string_view text) {
  if (statusBar_ == nullptr) return;
  const std::wstring wide = wideFromUtf8(text);
  SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace velmora::win32
