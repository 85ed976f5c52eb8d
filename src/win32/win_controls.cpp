#include "win32/win_controls.h"

#include <algorithm>
#include <utility>

// clang-format off
#include "win32/win.h"
#include <uxtheme.h>
#include <vssym32.h>
// clang-format on

#include "editor/trace.h"
#include "resource_ids.h"
#include "win32/dpi.h"
#include "win32/menus.h"
#include "win32/resources.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

using K = res::ControlKind;

COLORREF colour(unsigned rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

std::string windowText(HWND w) {
  if (w == nullptr) return {};
  const int n = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), n + 1)));
  return narrow(text);
}

LRESULT send(HWND w, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return w != nullptr ? SendMessageW(w, message, wParam, lParam) : 0;
}

int count(HWND w, UINT message) { return static_cast<int>(send(w, message)); }

// Rows are picked, not opened, by a click: no hand pointer and no hover
// over every row; the scroll bars are the system's.
constexpr DWORD LIST_STYLES = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

// Changes the program makes to the controls notify nothing: the list
// views tell of every change of their selection, the user's and ours.
class Quiet {
 public:
  explicit Quiet(int& depth) : depth_(depth) { ++depth_; }
  ~Quiet() { --depth_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  int& depth_;
};

HWND makeTips(HWND owner) {
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

// The widest a tip grows before its text wraps, at 96 DPI.
constexpr int TIP_WIDTH = 400;
// The room between a control and its tip, at 96 DPI.
constexpr int TIP_GAP = 4;

// The kinds of control whose background is the tab pane's when they lie
// on it: those that paint no field of their own.
bool onPaneKind(res::ControlKind kind) {
  return kind == K::Label || kind == K::Value || kind == K::GroupBox || kind == K::CheckBox ||
         kind == K::Picture || kind == K::Icon;
}

}  // namespace

WinControls::WinControls(HWND dialog, const res::DialogDef& def, std::function<void(int)> onEnd)
    : dialog_(dialog), dpi_(windowDpi(dialog)), onEnd_(std::move(onEnd)) {
  const bool mainWindow = def.id == res::IDD_EDITOR;
  for (const res::ControlDef& c : def.controls) {
    // A control that is never shown has no window: what the editor does
    // with it comes to nothing.
    if (c.id == -1 || (mainWindow && c.neverShown)) continue;
    kinds_[c.id] = c.kind;
    HWND w = GetDlgItem(dialog_, c.id);
    windows_[c.id] = w;
    if (c.kind == K::ListView) {
      lists_[c.id].hwnd = w;
      send(w, LVM_SETEXTENDEDLISTVIEWSTYLE, LIST_STYLES, LIST_STYLES);
      // The list tells when a mouse press begins, and draws the drop line.
      SetWindowSubclass(w, &WinControls::listProc, static_cast<UINT_PTR>(c.id),
                        reinterpret_cast<DWORD_PTR>(this));
      // The green and yellow scheme belongs to the main window's lists;
      // lists in small dialogs keep the desktop's colours.
      if (mainWindow) {
        send(w, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(colour(res::LIST_TEXT)));
        send(w, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(colour(res::LIST_TEXT_BACKGROUND)));
        send(w, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour(res::LIST_BACKGROUND)));
      }
    } else if (c.kind == K::Icon) {
      send(w, STM_SETICON, reinterpret_cast<WPARAM>(programIcon(false, dpi_)));
    } else if (c.kind == K::Tab) {
      tabId_ = c.id;
      // Under every other control, so that its pane never covers them.
      SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  for (const res::ToolTipDef& tip : res::toolTips()) {
    if (kinds_.count(tip.id) == 0) continue;
    blue_[tip.id] = true;
    setToolTip(tip.id, tip.text);
  }
}

WinControls::~WinControls() {
  for (const auto& [id, kind] : kinds_) {
    if (kind == K::ListView)
      RemoveWindowSubclass(item(id), &WinControls::listProc, static_cast<UINT_PTR>(id));
  }
  for (const auto& [id, text] : tips_) {
    RemoveWindowSubclass(item(id), &WinControls::tipProc, static_cast<UINT_PTR>(id));
  }
  if (blueTips_ != nullptr) DestroyWindow(blueTips_);
  if (plainTips_ != nullptr) DestroyWindow(plainTips_);
  if (paneBrush_ != nullptr) DeleteObject(paneBrush_);
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

HWND WinControls::listView(int id) const {
  const List* l = list(id);
  return l != nullptr ? l->hwnd : nullptr;
}

WinControls::List* WinControls::list(int id) {
  const auto it = lists_.find(id);
  return it != lists_.end() && it->second.hwnd != nullptr ? &it->second : nullptr;
}

const WinControls::List* WinControls::list(int id) const {
  const auto it = lists_.find(id);
  return it != lists_.end() && it->second.hwnd != nullptr ? &it->second : nullptr;
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
      // Only the user's choice notifies; a selection the program makes
      // does not. While the list is down every arrow step changes the
      // selection: the choice is the one the list closes with, once.
      switch (code) {
        case CBN_DROPDOWN:
          dropped_[id] = Drop{comboSelection(id), text(id), false};
          break;
        case CBN_SELENDOK:
          if (const auto open = dropped_.find(id); open != dropped_.end())
            open->second.chosen = true;
          break;
        case CBN_CLOSEUP:
          // The last change may come before or after the close: the
          // choice is read once both have passed.
          if (dropped_.count(id) != 0)
            PostMessageW(dialog_, WM_APP_COMBO_CLOSED, static_cast<WPARAM>(id), 0);
          break;
        case CBN_SELCHANGE:
          if (dropped_.count(id) == 0 && send(item(id), CB_GETDROPPEDSTATE) == 0) {
            flushPicks();
            events_->comboChanged(id);
          }
          break;
        default:
          break;
      }
      return true;
    case K::ListBox:
      if (code == LBN_SELCHANGE) {
        flushPicks();
        events_->lineChosen(id);
      }
      return true;
    default:
      return true;
  }
}

bool WinControls::onNotify(const NMHDR& header) {
  const int id = static_cast<int>(header.idFrom);
  // What a list view asks of its rows.
  if (List* l = list(id); l != nullptr && header.hwndFrom == l->hwnd) {
    switch (header.code) {
      case LVN_GETDISPINFOW:
        cellText(*l, const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)));
        return true;
      case LVN_ODFINDITEMW:
        answer(findRow(*l, reinterpret_cast<const NMLVFINDITEMW&>(header)));
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
          quiet_ == 0 && is(id, K::ListView) &&
          ((range.uNewState ^ range.uOldState) & LVIS_SELECTED) != 0)
        postPick(id);
      return true;
    case NM_CLICK:
      answer(0);
      // A click that left the selection as it was picks its row again.
      if (is(id, K::ListView) && pickedThisPress_.count(id) == 0) postPick(id);
      return true;
    case NM_RCLICK:
      answer(0);
      if (is(id, K::ListView)) {
        // The right-click reads the selection itself.
        pendingPicks_.erase(id);
        flushPicks();
        events_->listRightClick(id);
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
  if (quiet_ > 0 || (change.uChanged & LVIF_STATE) == 0) return;
  if (((change.uNewState ^ change.uOldState) & LVIS_SELECTED) == 0) return;
  postPick(static_cast<int>(change.hdr.idFrom));
}

void WinControls::postPick(int id) {
  pickedThisPress_.insert(id);
  if (pendingPicks_.insert(id).second)
    PostMessageW(dialog_, WM_APP_LIST_PICK, static_cast<WPARAM>(id), 0);
}

void WinControls::reportPick(int id) {
  if (events_ != nullptr) events_->listClick(id);
}

void WinControls::flushPicks() {
  for (const int id : std::exchange(pendingPicks_, {})) reportPick(id);
}

bool WinControls::onPosted(UINT message, WPARAM wParam) {
  const int id = static_cast<int>(wParam);
  if (message == WM_APP_DPI_CHANGED) {
    onDpiChanged(static_cast<int>(wParam));
    return true;
  }
  if (message == WM_APP_LIST_PICK) {
    if (pendingPicks_.erase(id) != 0) reportPick(id);
    return true;
  }
  if (message == WM_APP_COMBO_CLOSED) {
    const auto it = dropped_.find(id);
    if (it == dropped_.end()) return true;
    const Drop drop = it->second;
    dropped_.erase(it);
    const bool changed = comboSelection(id) != drop.selection || text(id) != drop.text;
    if (!drop.chosen) {
      // Closed without a choice (Esc, a click elsewhere): the box shows
      // what it showed before.
      if (changed) {
        const Quiet quiet(quiet_);
        send(item(id), CB_SETCURSEL, static_cast<WPARAM>(drop.selection));
        if (is(id, K::ComboEdit)) setText(id, drop.text);
      }
      return true;
    }
    // A new choice: another item, or an item's text where the box showed
    // a title (a drop-down whose edit part names it).
    if (events_ != nullptr && changed) {
      flushPicks();
      events_->comboChanged(id);
    }
    // A titled chooser keeps no item chosen: the same item chosen again
    // is a choice again.
    if (is(id, K::ComboEdit)) {
      const Quiet quiet(quiet_);
      send(item(id), CB_SETCURSEL, static_cast<WPARAM>(-1));
    }
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
  List* list = controls.list(static_cast<int>(id));
  // Rows appended since: before the list paints, scrolls, takes a click or
  // a key, or answers a question of ours.
  if (list != nullptr && list->pending() && message != WM_DESTROY && message != WM_NCDESTROY)
    controls.tell(*list);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      controls.pickedThisPress_.erase(static_cast<int>(id));
      break;
    case WM_PAINT: {
      // Rows may have come since the list took the keyboard.
      if (GetFocus() == w) controls.showFocusRow(w);
      const LRESULT result = DefSubclassProc(w, message, wParam, lParam);
      if (controls.insertList_ == static_cast<int>(id)) controls.paintInsertion(w);
      if (list != nullptr && std::exchange(list->refilled, false))
        editor::trace::mark(editor::trace::LIST_PAINTED);
      return result;
    }
    case WM_SETFOCUS: {
      const LRESULT result = DefSubclassProc(w, message, wParam, lParam);
      controls.showFocusRow(w);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, &WinControls::listProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

// A list with the keyboard shows where it is: its picked row, or the top
// one, has the focus rectangle.
void WinControls::showFocusRow(HWND w) {
  if (send(w, LVM_GETITEMCOUNT) <= 0 ||
      send(w, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0)
    return;
  LRESULT row = send(w, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (row < 0) row = send(w, LVM_GETTOPINDEX);
  LVITEMW state{};
  state.stateMask = state.state = LVIS_FOCUSED;
  const Quiet quiet(quiet_);
  send(w, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
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

// A titled chooser: its box shows the title, its list the items.
void WinControls::drawTitledItem(const DRAWITEMSTRUCT& d) const {
  const bool box = (d.itemState & ODS_COMBOBOXEDIT) != 0 || d.itemID == static_cast<UINT>(-1);
  std::wstring line;
  if (box) {
    const auto it = titles_.find(static_cast<int>(d.CtlID));
    if (it != titles_.end()) line = widen(it->second);
  } else {
    line = widen(comboItem(static_cast<int>(d.CtlID), static_cast<int>(d.itemID)));
  }
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  FillRect(d.hDC, &d.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(d.hDC, TRANSPARENT);
  SetTextColor(d.hDC, GetSysColor((d.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT
                                  : selected                        ? COLOR_HIGHLIGHTTEXT
                                                                    : COLOR_WINDOWTEXT));
  RECT text = d.rcItem;
  text.left += 2;
  DrawTextW(d.hDC, line.c_str(), static_cast<int>(line.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((d.itemState & ODS_FOCUS) != 0 && (d.itemState & ODS_NOFOCUSRECT) == 0)
    DrawFocusRect(d.hDC, &d.rcItem);
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
  if (w != nullptr) SetWindowTextW(w, widen(text).c_str());
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

// The control's own state, whether or not its window is on screen yet.
bool WinControls::isVisible(int id) const {
  HWND w = item(id);
  return w != nullptr && (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0;
}

void WinControls::setEnabled(int id, bool enabled) {
  if (HWND w = item(id)) EnableWindow(w, enabled ? TRUE : FALSE);
}

bool WinControls::isEnabled(int id) const {
  HWND w = item(id);
  return w != nullptr && IsWindowEnabled(w);
}

HWND WinControls::tipsFor(int id) {
  HWND& tips = blue_.count(id) != 0 ? blueTips_ : plainTips_;
  if (tips == nullptr) {
    const bool blue = &tips == &blueTips_;
    tips = makeTips(dialog_);
    // Long tips wrap rather than run across the screen.
    SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, toScreen(TIP_WIDTH));
    if (blue) {
      // A tip drawn in the visual style takes the style's colours and
      // ignores its own: the blue ones are drawn plain.
      SetWindowTheme(tips, L"", L"");
      SendMessageW(tips, TTM_SETTIPBKCOLOR, colour(res::TIP_BACKGROUND), 0);
      SendMessageW(tips, TTM_SETTIPTEXTCOLOR, colour(res::TIP_TEXT), 0);
    }
  }
  return tips;
}

// A tip is placed by the program rather than at the pointer: beside its
// control, where it covers neither the control nor (for a field, whose
// tip goes to its side) the fields above and below it, and always inside
// the monitor's work area. The control tells when the pointer rests on
// it and when it leaves.
void WinControls::setToolTip(int id, std::string_view text) {
  HWND w = item(id);
  if (w == nullptr) return;
  HWND tips = tipsFor(id);
  std::wstring wide = wideFromUtf8(text);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  info.hwnd = dialog_;
  info.uId = reinterpret_cast<UINT_PTR>(w);
  info.lpszText = wide.data();
  const bool had = tips_.count(id) != 0;
  if (text.empty()) {
    if (shownTip_ == id) hideTip();
    if (had) {
      SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
      RemoveWindowSubclass(w, &WinControls::tipProc, static_cast<UINT_PTR>(id));
    }
    tips_.erase(id);
    return;
  }
  SendMessageW(tips, had ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (!had) {
    SetWindowSubclass(w, &WinControls::tipProc, static_cast<UINT_PTR>(id),
                      reinterpret_cast<DWORD_PTR>(this));
  }
  tips_[id] = std::move(wide);
  // A tip in view shows its new text in its new size.
  if (shownTip_ == id) showTip(id);
}

LRESULT CALLBACK WinControls::tipProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self) {
  auto& controls = *reinterpret_cast<WinControls*>(self);
  const int control = static_cast<int>(id);
  switch (message) {
    case WM_MOUSEMOVE:
      if (controls.shownTip_ != control) {
        // A tip that has gone (its time up, a click) comes again only
        // after the pointer has left.
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE | (controls.tipDone_ == control ? 0 : TME_HOVER);
        track.hwndTrack = w;
        track.dwHoverTime =
            static_cast<DWORD>(send(controls.tipsFor(control), TTM_GETDELAYTIME, TTDT_INITIAL));
        TrackMouseEvent(&track);
      }
      break;
    case WM_MOUSEHOVER:
      controls.showTip(control);
      break;
    case WM_MOUSELEAVE:
      if (controls.shownTip_ == control) controls.hideTip();
      if (controls.tipDone_ == control) controls.tipDone_ = 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      controls.tipDone_ = control;
      if (controls.shownTip_ == control) controls.hideTip();
      break;
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SHOWWINDOW:
      if (controls.shownTip_ == control) controls.hideTip();
      break;
    case WM_TIMER:
      if (wParam != TIP_TIMER) break;
      if (controls.shownTip_ == control) {
        controls.tipDone_ = control;
        controls.hideTip();
      }
      return 0;
    case WM_NCDESTROY:
      if (controls.shownTip_ == control) controls.hideTip();
      RemoveWindowSubclass(w, &WinControls::tipProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

void WinControls::showTip(int id) {
  const auto it = tips_.find(id);
  HWND w = item(id);
  if (it == tips_.end() || w == nullptr || !IsWindowVisible(w)) return;
  if (shownTip_ != 0 && shownTip_ != id) hideTip();
  HWND tips = tipsFor(id);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = dialog_;
  info.uId = reinterpret_cast<UINT_PTR>(w);
  const auto size =
      static_cast<DWORD>(send(tips, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&info)));
  const bool field = is(id, K::Edit) || is(id, K::NumberEdit) || isCombo(id);
  RECT place = tipPlace(w, SIZE{LOWORD(size), HIWORD(size)}, field);
  send(tips, TTM_TRACKPOSITION, 0, MAKELPARAM(place.left, place.top));
  send(tips, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
  // The size the tip has taken on screen is the one to place (some
  // systems measure the bubble before the text's font is chosen).
  RECT shown{};
  if (GetWindowRect(tips, &shown) && (shown.right - shown.left != place.right - place.left ||
                                      shown.bottom - shown.top != place.bottom - place.top)) {
    place = tipPlace(w, SIZE{shown.right - shown.left, shown.bottom - shown.top}, field);
    send(tips, TTM_TRACKPOSITION, 0, MAKELPARAM(place.left, place.top));
  }
  shownTip_ = id;
  // As long as a tip shown at the pointer would stay.
  const auto stay = static_cast<UINT>(send(tips, TTM_GETDELAYTIME, TTDT_AUTOPOP));
  SetTimer(w, TIP_TIMER, stay > 0 ? stay : 5000, nullptr);
}

void WinControls::hideTip() {
  const int id = std::exchange(shownTip_, 0);
  HWND w = item(id);
  if (id == 0 || w == nullptr) return;
  KillTimer(w, TIP_TIMER);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = dialog_;
  info.uId = reinterpret_cast<UINT_PTR>(w);
  send(tipsFor(id), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
}

// The first of the places beside the control that lies wholly in the work
// area of the control's monitor: for a field its right, then its left,
// then below and above; for anything else below, above, right, left. When
// none fits, the first is moved into the work area.
RECT WinControls::tipPlace(HWND control, SIZE tip, bool field) const {
  RECT c{};
  GetWindowRect(control, &c);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(control, MONITOR_DEFAULTTONEAREST), &monitor))
    work = monitor.rcWork;
  const int gap = toScreen(TIP_GAP);
  const int middle = (c.top + c.bottom - tip.cy) / 2;
  const POINT right{c.right + gap, middle}, left{c.left - gap - tip.cx, middle};
  const POINT below{c.left, c.bottom + gap}, above{c.left, c.top - gap - tip.cy};
  const POINT sideFirst[] = {right, left, below, above};
  const POINT downFirst[] = {below, above, right, left};
  const POINT* order = field ? sideFirst : downFirst;
  auto rect = [&](POINT at) { return RECT{at.x, at.y, at.x + tip.cx, at.y + tip.cy}; };
  for (int i = 0; i < 4; ++i) {
    const RECT r = rect(order[i]);
    if (r.left >= work.left && r.top >= work.top && r.right <= work.right &&
        r.bottom <= work.bottom)
      return r;
  }
  POINT at = order[0];
  at.x = std::max<LONG>(work.left, std::min<LONG>(at.x, work.right - tip.cx));
  at.y = std::max<LONG>(work.top, std::min<LONG>(at.y, work.bottom - tip.cy));
  return rect(at);
}

std::string WinControls::toolTip(int id) const {
  const auto it = tips_.find(id);
  return it == tips_.end() ? std::string() : utf8FromWide(it->second);
}

// ------------------------------------------------------------ combo and list boxes

// Inserting an item never selects it; deleting the selected item leaves
// none selected. A list box of text lines is addressed the same way.
void WinControls::comboInsert(int id, int index, std::string_view item) {
  HWND w = this->item(id);
  const std::wstring t = widen(item);
  if (is(id, K::ListBox)) {
    if (index < 0 || index > comboCount(id)) index = -1;
    send(w, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(t.c_str()));
    // A line longer than the box can be scrolled to, in any font.
    int& widest = lineWidths_[id];
    const int width = textWidth(w, t) + 2 * metricForDpi(SM_CXEDGE, dpi_);
    if (width > widest) {
      widest = width;
      send(w, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest));
    }
  } else if (isCombo(id)) {
    if (index < 0 || index > comboCount(id)) index = -1;
    send(w, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(t.c_str()));
  }
}

void WinControls::comboDelete(int id, int index) {
  if (index < 0 || index >= comboCount(id)) return;
  HWND w = item(id);
  const bool wasSelected = comboSelection(id) == index;
  if (is(id, K::ListBox)) {
    send(w, LB_DELETESTRING, static_cast<WPARAM>(index));
    if (wasSelected) send(w, LB_SETCURSEL, static_cast<WPARAM>(-1));
  } else {
    // The edit part of a drop-down keeps what the user typed.
    const std::string typed = is(id, K::ComboEdit) ? text(id) : std::string();
    send(w, CB_DELETESTRING, static_cast<WPARAM>(index));
    if (wasSelected) {
      send(w, CB_SETCURSEL, static_cast<WPARAM>(-1));
      if (is(id, K::ComboEdit)) setText(id, typed);
    }
  }
}

void WinControls::comboClear(int id) {
  if (is(id, K::ListBox)) {
    send(item(id), LB_RESETCONTENT);
    lineWidths_.erase(id);
    send(item(id), LB_SETHORIZONTALEXTENT, 0);
  } else if (isCombo(id)) {
    send(item(id), CB_RESETCONTENT);
  }
}

int WinControls::comboCount(int id) const {
  if (is(id, K::ListBox)) return std::max(0, count(item(id), LB_GETCOUNT));
  if (isCombo(id)) return std::max(0, count(item(id), CB_GETCOUNT));
  return 0;
}

std::string WinControls::comboItem(int id, int index) const {
  if (index < 0 || index >= comboCount(id)) return {};
  const bool lines = is(id, K::ListBox);
  HWND w = item(id);
  const auto at = static_cast<WPARAM>(index);
  const LRESULT n = send(w, lines ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, at);
  if (n <= 0) return {};
  std::wstring t(static_cast<std::size_t>(n) + 1, L'\0');
  const LRESULT got =
      send(w, lines ? LB_GETTEXT : CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(t.data()));
  t.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return narrow(t);
}

void WinControls::comboSelect(int id, int index) {
  if (index < 0 || index >= comboCount(id)) index = -1;
  if (is(id, K::ListBox)) {
    send(item(id), LB_SETCURSEL, static_cast<WPARAM>(index));
  } else if (isCombo(id)) {
    send(item(id), CB_SETCURSEL, static_cast<WPARAM>(index));
  }
}

int WinControls::comboSelection(int id) const {
  LRESULT sel = -1;
  if (is(id, K::ListBox)) {
    sel = send(item(id), LB_GETCURSEL);
  } else if (isCombo(id)) {
    sel = send(item(id), CB_GETCURSEL);
  }
  return sel < 0 ? -1 : static_cast<int>(sel);
}

// ------------------------------------------------------------ list views

// Every column is centred. A list view always aligns its first column to
// the left, unless that column was inserted second and the real first one
// removed: so the first column goes in behind a placeholder.
void WinControls::listAddColumn(int id, std::string_view header, int width) {
  HWND w = listView(id);
  if (w == nullptr) return;
  const int at = listColumnCount(id);
  std::wstring text = widen(header);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.fmt = LVCFMT_CENTER;
  column.cx = std::max(toScreen(width), minColumnWidth(w, text));
  column.pszText = text.data();
  if (at == 0) {
    LVCOLUMNW placeholder{};
    placeholder.mask = LVCF_WIDTH;
    send(w, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&placeholder));
    column.iSubItem = 1;
    send(w, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    send(w, LVM_DELETECOLUMN, 0);
    ++list(id)->columns;
    return;
  }
  column.iSubItem = at;
  send(w, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&column));
  ++list(id)->columns;
}

// The width of `text` in the font of control `w`.
int WinControls::textWidth(HWND w, const std::wstring& text) {
  HDC dc = GetDC(w);
  if (dc == nullptr) return 0;
  auto* font = reinterpret_cast<HFONT>(send(w, WM_GETFONT));
  HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (old != nullptr) SelectObject(dc, old);
  ReleaseDC(w, dc);
  return size.cx;
}

// A column is never narrower than its header's text in the header's own
// font, with the margin the header keeps on either side of it.
int WinControls::minColumnWidth(HWND list, const std::wstring& header) const {
  HWND h = reinterpret_cast<HWND>(send(list, LVM_GETHEADER));
  const int text = textWidth(h != nullptr ? h : list, header);
  int margin = h != nullptr ? static_cast<int>(send(h, HDM_GETBITMAPMARGIN)) : 0;
  if (margin <= 0) margin = 3 * metricForDpi(SM_CXEDGE, dpi_);
  // Both margins, and the divider lines at the column's edges.
  return text + 2 * margin + 2;
}

int WinControls::listColumnCount(int id) const {
  const List* l = list(id);
  return l != nullptr ? l->columns : 0;
}

std::string WinControls::listColumnHeader(int id, int column) const {
  if (column < 0 || column >= listColumnCount(id)) return {};
  wchar_t buffer[256] = {};
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT;
  c.pszText = buffer;
  c.cchTextMax = 255;
  send(listView(id), LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
  return narrow(c.pszText != nullptr ? c.pszText : L"");
}

int WinControls::listColumnWidth(int id, int column) const {
  if (column < 0 || column >= listColumnCount(id)) return 0;
  return toLogical(
      static_cast<int>(send(listView(id), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column))));
}

int WinControls::toScreen(int logical) const { return toDpi(logical, dpi_); }
int WinControls::toLogical(int pixels) const { return fromDpi(pixels, dpi_); }

void WinControls::onDpiChanged(int dpi) {
  if (dpi <= 0 || dpi == dpi_) {
    onThemeChanged();
    return;
  }
  const int old = std::exchange(dpi_, dpi);
  // Every column as wide as before in logical pixels, and never narrower
  // than its header in the header's new font.
  for (const auto& [id, kind] : kinds_) {
    if (kind != K::ListView) continue;
    HWND w = item(id);
    for (int c = 0; c < listColumnCount(id); ++c) {
      const int width =
          MulDiv(static_cast<int>(send(w, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c))), dpi, old);
      const std::wstring header = widen(listColumnHeader(id, c));
      send(w, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c),
           MAKELPARAM(std::max(width, minColumnWidth(w, header)), 0));
    }
  }
  hideTip();
  for (HWND tips : {blueTips_, plainTips_})
    if (tips != nullptr) send(tips, TTM_SETMAXTIPWIDTH, 0, toScreen(TIP_WIDTH));
  onThemeChanged();
}

void WinControls::onThemeChanged() {
  if (paneBrush_ != nullptr) DeleteObject(paneBrush_);
  paneBrush_ = nullptr;
  paneBrushMade_ = false;
  InvalidateRect(dialog_, nullptr, TRUE);
}

// Under the visual styles the tab pane is drawn in the style's colour
// (white, on Windows 10 and 11), not the window's: labels and group boxes
// on it would stand in grey boxes. They paint the pane's own background
// instead, drawn once into a brush: the style's tab pane, as the tab
// control draws it under them.
HBRUSH WinControls::paneBrush() {
  if (paneBrushMade_) return paneBrush_;
  paneBrushMade_ = true;
  HWND tab = is(res::IDC_TAB, K::Tab) ? item(res::IDC_TAB) : nullptr;
  if (tab == nullptr || !IsAppThemed() || !IsThemeActive()) return nullptr;
  RECT r{};
  GetClientRect(tab, &r);
  if (r.right <= 0 || r.bottom <= 0) return nullptr;
  HTHEME theme = OpenThemeData(tab, L"TAB");
  if (theme == nullptr) return nullptr;
  HDC screen = GetDC(tab);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  ReleaseDC(tab, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const bool drawn = SUCCEEDED(DrawThemeBackground(theme, dc, TABP_PANE, 0, &r, nullptr));
  SelectObject(dc, old);
  DeleteDC(dc);
  CloseThemeData(theme);
  if (drawn) paneBrush_ = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);
  return paneBrush_;
}

bool WinControls::onEraseBackground(HDC dc) {
  if (paneBrush() == nullptr) return false;
  RECT client{};
  GetClientRect(dialog_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HWND tab = item(res::IDC_TAB);
  RECT pane{};
  GetWindowRect(tab, &pane);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&pane), 2);
  const POINT corner{pane.left, pane.top};
  send(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
  // The brush's origin is in device pixels: a control that has the window
  // paint its background moves the origin of the window's coordinates.
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetBrushOrgEx(dc, origin.x + corner.x, origin.y + corner.y, nullptr);
  FillRect(dc, &pane, paneBrush_);
  return true;
}

HBRUSH WinControls::onCtlColor(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  const auto it = kinds_.find(id);
  if (it == kinds_.end() || !onPaneKind(it->second) || paneBrush() == nullptr) return nullptr;
  // Only what lies wholly on the pane; the brush's origin is the pane's
  // corner.
  RECT r{}, pane{}, inside{};
  GetWindowRect(control, &r);
  GetWindowRect(item(res::IDC_TAB), &pane);
  if (!IntersectRect(&inside, &r, &pane) || !EqualRect(&inside, &r)) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetBrushOrgEx(dc, pane.left - r.left, pane.top - r.top, nullptr);
  return paneBrush_;
}

// A row appended is told to the control with the others appended with it;
// one inserted before others moves their states one down.
void WinControls::listInsertRow(int id, int row, const std::vector<std::string>& cells) {
  List* l = list(id);
  if (l == nullptr) return;
  const int rows = static_cast<int>(l->rows.size());
  if (row < 0 || row > rows) row = rows;
  if (row == rows) {
    awaitTell(*l);
    l->rows.push_back(cells);
    return;
  }
  const Quiet quiet(quiet_);
  tell(*l);
  const RowStates states = rowStates(*l);
  l->rows.insert(l->rows.begin() + row, cells);
  tell(*l);
  restoreRowStates(*l, states, [row](int r) { return r >= row ? r + 1 : r; });
}

void WinControls::listDeleteRow(int id, int row) {
  List* l = list(id);
  if (l == nullptr || row < 0 || row >= static_cast<int>(l->rows.size())) return;
  const Quiet quiet(quiet_);
  tell(*l);
  const RowStates states = rowStates(*l);
  l->rows.erase(l->rows.begin() + row);
  tell(*l);
  restoreRowStates(*l, states, [row](int r) { return r == row ? -1 : r > row ? r - 1 : r; });
}

// The control hears of it with the rows that come in their place: one
// change of its row count for the whole refill.
void WinControls::listDeleteAll(int id) {
  List* l = list(id);
  if (l == nullptr) return;
  awaitTell(*l);
  l->rows.clear();
  l->cleared = true;
  if (editor::trace::enabled()) l->refilled = true;
}

int WinControls::listRowCount(int id) const {
  const List* l = list(id);
  return l != nullptr ? static_cast<int>(l->rows.size()) : 0;
}

void WinControls::listMoveRow(int id, int from, int to) {
  List* l = list(id);
  const int rows = listRowCount(id);
  if (l == nullptr || from < 0 || from >= rows || to < 0 || to >= rows || from == to) return;
  const Quiet quiet(quiet_);
  tell(*l);
  const RowStates states = rowStates(*l);
  const auto first = l->rows.begin();
  if (from < to)
    std::rotate(first + from, first + from + 1, first + to + 1);
  else
    std::rotate(first + to, first + from, first + from + 1);
  restoreRowStates(*l, states, [from, to](int r) {
    if (r == from) return to;
    if (from < to && r > from && r <= to) return r - 1;
    if (to < from && r >= to && r < from) return r + 1;
    return r;
  });
  send(l->hwnd, LVM_REDRAWITEMS, static_cast<WPARAM>(std::min(from, to)),
       static_cast<LPARAM>(std::max(from, to)));
}

void WinControls::listSetCell(int id, int row, int column, std::string_view text) {
  List* l = list(id);
  if (l == nullptr || row < 0 || row >= static_cast<int>(l->rows.size()) || column < 0 ||
      column >= l->columns)
    return;
  std::vector<std::string>& cells = l->rows[static_cast<std::size_t>(row)];
  if (static_cast<std::size_t>(column) >= cells.size())
    cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = text;
  if (row < l->told)
    send(l->hwnd, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

// A list whose rows change without a word to the control is at least to
// paint again, and so to hear of them before it paints.
void WinControls::awaitTell(const List& l) const {
  if (!l.pending()) InvalidateRect(l.hwnd, nullptr, FALSE);
}

// The control learns of the rows appended since it last heard: where it
// stood in the list stays. Rows that replaced all the earlier ones come
// unselected, from the top of the list, as into an emptied list. A new
// row count costs the control its scroll bars and layout; as many rows as
// before (a sort, the same table shown again) only paint afresh.
void WinControls::tell(List& l) {
  if (!l.pending()) return;
  const Quiet quiet(quiet_);
  const int rows = static_cast<int>(l.rows.size());
  const bool cleared = std::exchange(l.cleared, false);
  const int before = std::exchange(l.told, rows);
  if (cleared && (rows == 0 || before == 0)) {
    if (before != 0) send(l.hwnd, LVM_DELETEALLITEMS);
    if (rows == 0) return;
  } else if (cleared) {
    clearStates(l.hwnd, true);
    send(l.hwnd, LVM_SETSELECTIONMARK, 0, -1);
  }
  if (rows != before)
    send(l.hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOSCROLL);
  else
    InvalidateRect(l.hwnd, nullptr, TRUE);
  if (cleared && send(l.hwnd, LVM_GETTOPINDEX) != 0) send(l.hwnd, LVM_ENSUREVISIBLE, 0, FALSE);
}

WinControls::RowStates WinControls::rowStates(const List& l) const {
  RowStates states;
  for (LRESULT r = send(l.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); r >= 0;
       r = send(l.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED)) {
    states.selected.push_back(static_cast<int>(r));
  }
  states.focused =
      static_cast<int>(send(l.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  states.mark = static_cast<int>(send(l.hwnd, LVM_GETSELECTIONMARK));
  return states;
}

void WinControls::restoreRowStates(const List& l, const RowStates& states,
                                   const std::function<int(int)>& to) {
  const Quiet quiet(quiet_);
  const int rows = l.told;
  auto place = [&](int r) {
    const int at = r >= 0 ? to(r) : -1;
    return at >= 0 && at < rows ? at : -1;
  };
  clearStates(l.hwnd, true);
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  for (const int r : states.selected) {
    if (const int at = place(r); at >= 0)
      send(l.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&state));
  }
  if (const int at = place(states.focused); at >= 0) {
    state.stateMask = state.state = LVIS_FOCUSED;
    send(l.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&state));
  }
  send(l.hwnd, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(place(states.mark)));
}

// No row selected, nor focused with `focus`. A change of every row at once
// visits every row of the list; a few selected rows are cheaper one by one.
void WinControls::clearStates(HWND list, bool focus) {
  const Quiet quiet(quiet_);
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED;
  const LRESULT selected = send(list, LVM_GETSELECTEDCOUNT);
  if (selected > 64) {
    send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  } else if (selected > 0) {
    std::vector<WPARAM> rows;
    for (LRESULT r = send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); r >= 0;
         r = send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED))
      rows.push_back(static_cast<WPARAM>(r));
    for (const WPARAM r : rows) send(list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&none));
  }
  if (!focus) return;
  none.stateMask = LVIS_FOCUSED;
  const LRESULT focused = send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
  if (focused >= 0)
    send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&none));
}

// The text of a cell the control is about to paint, cut to its buffer.
void WinControls::cellText(const List& l, NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
  item.pszText[0] = L'\0';
  if (item.iItem < 0 || item.iItem >= static_cast<int>(l.rows.size()) || item.iSubItem < 0) return;
  const std::vector<std::string>& cells = l.rows[static_cast<std::size_t>(item.iItem)];
  if (static_cast<std::size_t>(item.iSubItem) >= cells.size()) return;
  const std::wstring text = widen(cells[static_cast<std::size_t>(item.iSubItem)]);
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
  std::copy_n(text.begin(), n, item.pszText);
  item.pszText[n] = L'\0';
}

// Typing in a list finds a row by its name, the second column (the first
// holds the row's number), from the row after the focused one and round
// again from the top, ignoring case.
int WinControls::findRow(const List& l, const NMLVFINDITEMW& find) const {
  const LVFINDINFOW& what = find.lvfi;
  if ((what.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || what.psz == nullptr) return -1;
  const std::wstring wanted = what.psz;
  const int rows = l.told;
  if (wanted.empty() || rows == 0) return -1;
  const std::size_t column = l.columns > 1 ? 1 : 0;
  const bool partial = (what.flags & LVFI_PARTIAL) != 0;
  const int start = find.iStart >= 0 && find.iStart < rows ? find.iStart : 0;
  for (int i = 0; i < rows; ++i) {
    int r = start + i;
    if (r >= rows) {
      if ((what.flags & LVFI_WRAP) == 0) break;
      r -= rows;
    }
    const std::vector<std::string>& cells = l.rows[static_cast<std::size_t>(r)];
    if (column >= cells.size()) continue;
    const std::wstring text = widen(cells[column]);
    if (partial ? text.size() < wanted.size() : text.size() != wanted.size()) continue;
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(),
                       static_cast<int>(wanted.size()), wanted.c_str(),
                       static_cast<int>(wanted.size())) == CSTR_EQUAL)
      return r;
  }
  return -1;
}

int WinControls::listTopRow(int id) const {
  return static_cast<int>(send(listView(id), LVM_GETTOPINDEX));
}

int WinControls::listRowsPerPage(int id) const {
  return static_cast<int>(send(listView(id), LVM_GETCOUNTPERPAGE));
}

// Rows are all of one height; the rows area starts where the first row in
// view does.
int WinControls::listRowAt(int id, int y) const {
  HWND w = listView(id);
  const int rows = listRowCount(id);
  if (w == nullptr || y < 0 || rows == 0) return -1;
  const int top = listTopRow(id);
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (!send(w, LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&r))) return -1;
  const int height = r.bottom - r.top;
  if (height <= 0) return -1;
  const int row = top + toScreen(y) / height;
  return row < rows ? row : -1;
}

int WinControls::listRowHeight(int id) const {
  HWND w = listView(id);
  if (w == nullptr) return 1;
  // The height of an item comes with the list's font and image list; a
  // list with no rows yet measures an empty one.
  const DWORD size = static_cast<DWORD>(send(w, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1)));
  const DWORD none = static_cast<DWORD>(send(w, LVM_APPROXIMATEVIEWRECT, 0, MAKELPARAM(-1, -1)));
  const int height = toLogical(static_cast<int>(HIWORD(size)) - static_cast<int>(HIWORD(none)));
  return height > 0 ? height : 1;
}

void WinControls::dragBegin(int id, int row, int hotX, int hotY) {
  dragEnd();
  HWND w = listView(id);
  if (w == nullptr || row < 0 || row >= listRowCount(id)) return;
  POINT origin{};
  dragImages_ = reinterpret_cast<HIMAGELIST>(
      send(w, LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&origin)));
  if (dragImages_ == nullptr) return;
  ImageList_BeginDrag(dragImages_, 0, toScreen(hotX), toScreen(hotY));
  POINT at{};
  GetCursorPos(&at);
  // The image is drawn on the screen, over every window.
  ImageList_DragEnter(nullptr, at.x, at.y);
  SetCapture(dialog_);
  SetTimer(dialog_, DRAG_TIMER, 100, nullptr);
}

void WinControls::dragEnd() {
  dragShowInsertion(insertList_, -1);
  if (dragImages_ == nullptr) return;
  KillTimer(dialog_, DRAG_TIMER);
  ImageList_DragLeave(nullptr);
  ImageList_EndDrag();
  ImageList_Destroy(std::exchange(dragImages_, nullptr));
  if (GetCapture() == dialog_) ReleaseCapture();
}

bool WinControls::onDragPointer(bool released) {
  if (dragImages_ == nullptr) return false;
  POINT at{};
  GetCursorPos(&at);
  ImageList_DragMove(at.x, at.y);
  // A release anywhere but on this window (another program's window, the
  // desktop) abandons the drag.
  if (released && !onWindow(at)) {
    cancelDrag();
    return true;
  }
  // The list under the pointer: its rows, its headers or its scroll bars.
  int overList = 0;
  POINT inList = at;
  for (const auto& [id, kind] : kinds_) {
    if (kind != res::ControlKind::ListView) continue;
    HWND w = item(id);
    RECT r{};
    if (w == nullptr || !IsWindowVisible(w) || !GetWindowRect(w, &r) || !PtInRect(&r, at)) continue;
    overList = id;
    ScreenToClient(w, &inList);
    // Heights count from the top of the rows, below the column headers.
    RECT header{};
    if (HWND h = reinterpret_cast<HWND>(send(w, LVM_GETHEADER));
        h != nullptr && IsWindowVisible(h) && GetWindowRect(h, &header))
      inList.y -= header.bottom - header.top;
    break;
  }
  // The strip of the tab control's titles; below it lies its pane, which
  // is the window for a drop.
  if (HWND tab = item(res::IDC_TAB); overList == 0 && is(res::IDC_TAB, K::Tab)) {
    RECT r{};
    if (IsWindowVisible(tab) && GetWindowRect(tab, &r) && PtInRect(&r, at)) {
      RECT pane = r;
      send(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
      if (at.y < pane.top) overList = res::IDC_TAB;
    }
  }
  if (events_ == nullptr) return true;
  const int x = toLogical(inList.x), y = toLogical(inList.y);
  if (released) {
    events_->dragRelease(overList, x, y);
    return true;
  }
  HWND w = listView(overList);
  const LRESULT top = send(w, LVM_GETTOPINDEX);
  events_->dragMove(overList, x, y);
  // A list that scrolled moved the image's pixels with its rows: it is
  // painted afresh with the image hidden, so that the image leaves no trace.
  if (w == nullptr || dragImages_ == nullptr) return true;
  const bool scrolled = send(w, LVM_GETTOPINDEX) != top;
  if (scrolled || GetUpdateRect(w, nullptr, FALSE)) {
    ImageList_DragShowNolock(FALSE);
    if (scrolled) InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    ImageList_DragShowNolock(TRUE);
  }
  return true;
}

void WinControls::cancelDrag() {
  if (dragImages_ == nullptr) return;
  if (events_ != nullptr) events_->dragCancel();
  dragEnd();  // whether or not the logic did
}

bool WinControls::onWindow(POINT at) const {
  // The whole window, whose controls may lie on a pane of their own.
  HWND window = GetAncestor(dialog_, GA_ROOT);
  RECT frame{};
  if (!GetWindowRect(window, &frame) || !PtInRect(&frame, at)) return false;
  HWND under = WindowFromPoint(at);
  if (under == nullptr) return false;
  HWND root = GetAncestor(under, GA_ROOT);
  return root == window || GetWindow(root, GW_OWNER) == window;
}

// The drop line: two pixels across the list at the top edge of the row
// it stands above, or the bottom edge of the last row.
RECT WinControls::insertionLine(HWND list) const {
  RECT line{};
  const int rows = static_cast<int>(send(list, LVM_GETITEMCOUNT));
  if (insertRow_ < 0 || insertRow_ > rows) return line;
  RECT client{};
  GetClientRect(list, &client);
  int top = 0;
  if (HWND h = reinterpret_cast<HWND>(send(list, LVM_GETHEADER));
      h != nullptr && IsWindowVisible(h)) {
    RECT header{};
    GetWindowRect(h, &header);
    top = header.bottom - header.top;
  }
  int y = top;
  if (rows > 0) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    const int row = std::min(insertRow_, rows - 1);
    if (!send(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)))
      return line;
    y = insertRow_ < rows ? r.top : r.bottom;
  }
  if (y < top || y > client.bottom) return line;
  return RECT{client.left, std::max(top, y - 1), client.right, y + 1};
}

void WinControls::paintInsertion(HWND list) const {
  const RECT line = insertionLine(list);
  if (IsRectEmpty(&line)) return;
  HDC dc = GetDC(list);
  if (dc == nullptr) return;
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(send(list, LVM_GETTEXTCOLOR)));
  FillRect(dc, &line, brush);
  DeleteObject(brush);
  ReleaseDC(list, dc);
}

void WinControls::dragShowInsertion(int id, int row) {
  HWND w = listView(id);
  if (w == nullptr || row < 0) {
    id = 0;
    row = -1;
  }
  if (id == insertList_ && row == insertRow_) return;
  // The lists are painted with the drag image hidden, so that it leaves no
  // trace.
  if (dragImages_ != nullptr) ImageList_DragShowNolock(FALSE);
  // The old line is painted over by the rows under it; the new one is
  // drawn after the rows it crosses.
  auto repaint = [](HWND list, RECT line) {
    if (list == nullptr || IsRectEmpty(&line)) return;
    InflateRect(&line, 0, 2);
    InvalidateRect(list, &line, TRUE);
    UpdateWindow(list);
  };
  HWND old = listView(insertList_);
  const RECT oldLine = old != nullptr ? insertionLine(old) : RECT{};
  insertList_ = id;
  insertRow_ = row;
  repaint(old, oldLine);
  if (w != nullptr) repaint(w, insertionLine(w));
  if (dragImages_ != nullptr) ImageList_DragShowNolock(TRUE);
}

std::string WinControls::listCell(int id, int row, int column) const {
  const List* l = list(id);
  if (l == nullptr || row < 0 || row >= static_cast<int>(l->rows.size()) || column < 0 ||
      column >= l->columns)
    return {};
  const std::vector<std::string>& cells = l->rows[static_cast<std::size_t>(row)];
  return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                         : std::string();
}

std::vector<int> WinControls::listSelectedRows(int id) const {
  std::vector<int> rows;
  HWND w = listView(id);
  if (w == nullptr) return rows;
  for (LRESULT r = send(w, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); r >= 0;
       r = send(w, LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED)) {
    rows.push_back(static_cast<int>(r));
  }
  return rows;
}

void WinControls::listSelectRows(int id, const std::vector<int>& rows) {
  const Quiet quiet(quiet_);
  HWND w = listView(id);
  if (w == nullptr) return;
  clearStates(w, false);
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  const int n = listRowCount(id);
  bool first = true;
  for (const int row : rows) {
    if (row >= 0 && row < n) {
      // The keyboard goes on from the first of them.
      state.stateMask = first ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
      state.state = state.stateMask;
      send(w, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
      first = false;
    }
  }
}

void WinControls::listEnsureVisible(int id, int row) {
  const Quiet quiet(quiet_);
  if (row >= 0 && row < listRowCount(id)) {
    send(listView(id), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  }
}

// ------------------------------------------------------------ text, title

// The whole text of an edit field, or of a drop-down's edit part, selected.
void WinControls::selectAllText(int id) {
  HWND w = item(id);
  if (is(id, K::ComboEdit)) {
    send(w, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  } else if (is(id, K::Edit) || is(id, K::NumberEdit)) {
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

void WinControls::setMenu(HMENU menu) {
  menu_ = menu;
  menuItems_.clear();
  const auto popups = res::mainMenu();
  for (std::size_t p = 0; p < popups.size(); ++p) {
    HMENU popup = GetSubMenu(menu, static_cast<int>(p));
    for (const res::MenuItemDef& item : popups[p].items) {
      if (item.id != 0) menuItems_[item.id] = MenuItem{popup, p, menuText(item.text)};
    }
  }
}

void WinControls::menuCheck(int commandId, bool checked) {
  const auto it = menuItems_.find(commandId);
  if (it == menuItems_.end()) return;
  it->second.checked = checked;
  CheckMenuItem(menu_, static_cast<UINT>(commandId),
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool WinControls::menuChecked(int commandId) const {
  const auto it = menuItems_.find(commandId);
  return it != menuItems_.end() && it->second.checked;
}

void WinControls::menuSetText(int commandId, std::string_view text) {
  const auto it = menuItems_.find(commandId);
  if (it == menuItems_.end()) return;
  // The whole text is the item's label: a path may hold any spaces.
  it->second.text = wideFromUtf8(text);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = it->second.text.data();
  SetMenuItemInfoW(menu_, static_cast<UINT>(commandId), FALSE, &info);
}

void WinControls::menuShow(int commandId, bool shown) {
  const auto it = menuItems_.find(commandId);
  if (it == menuItems_.end() || it->second.shown == shown) return;
  MenuItem& item = it->second;
  item.shown = shown;
  removeSeparators(item.popup);
  if (!shown) {
    RemoveMenu(item.popup, static_cast<UINT>(commandId), MF_BYCOMMAND);
  } else {
    // Back at its place: after the items before it in the table that are
    // in the menu now.
    UINT position = 0;
    for (const res::MenuItemDef& other : res::mainMenu()[item.popupIndex].items) {
      if (other.id == commandId) break;
      if (const auto o = menuItems_.find(other.id); o != menuItems_.end() && o->second.shown)
        ++position;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
    info.wID = static_cast<UINT>(commandId);
    info.dwTypeData = item.text.data();
    info.fState = (item.enabled ? MFS_ENABLED : MFS_GRAYED) | (item.checked ? MFS_CHECKED : 0);
    InsertMenuItemW(item.popup, position, TRUE, &info);
  }
  addSeparators(item.popupIndex, item.popup);
}

void WinControls::removeSeparators(HMENU popup) {
  for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info) &&
        (info.fType & MFT_SEPARATOR) != 0)
      RemoveMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
  }
}

// The table's separators stand only between items in the menu: none at
// either end (the File menu without recent files), none doubled.
void WinControls::addSeparators(std::size_t popupIndex, HMENU popup) {
  UINT position = 0;
  bool itemBefore = false, pending = false;
  for (const res::MenuItemDef& entry : res::mainMenu()[popupIndex].items) {
    if (entry.id == 0) {
      pending = itemBefore;
      continue;
    }
    const auto it = menuItems_.find(entry.id);
    if (it == menuItems_.end() || !it->second.shown) continue;
    if (pending) InsertMenuW(popup, position++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    pending = false;
    itemBefore = true;
    ++position;
  }
}

void WinControls::menuEnable(int commandId, bool enabled) {
  const auto it = menuItems_.find(commandId);
  if (it == menuItems_.end()) return;
  it->second.enabled = enabled;
  EnableMenuItem(menu_, static_cast<UINT>(commandId),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool WinControls::menuEnabled(int commandId) const {
  const auto it = menuItems_.find(commandId);
  return it != menuItems_.end() && it->second.enabled;
}

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

}  // namespace velmora::win32
