// Combo boxes, drop-downs whose box names them (titled choosers), and
// plain list boxes of text lines: the WinControls calls that address them.
#include <algorithm>
#include <string>

#include "win32/control_util.h"
#include "win32/dpi.h"
#include "win32/wide.h"
#include "win32/win_controls.h"

namespace velmora::win32 {

using K = res::ControlKind;

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

// Only the user's choice notifies; a selection the program makes does
// not. While the list is down every arrow step changes the selection: the
// choice is the one the list closes with, once.
void WinControls::comboNotified(int id, int code) {
  switch (code) {
    case CBN_DROPDOWN:
      dropped_[id] = Drop{comboSelection(id), text(id), false};
      break;
    case CBN_SELENDOK:
      if (const auto open = dropped_.find(id); open != dropped_.end()) open->second.chosen = true;
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
}

// A combo box's list has closed: the user's choice is reported once, or
// the box shows again what it showed before the list opened.
void WinControls::comboClosed(int id) {
  const auto it = dropped_.find(id);
  if (it == dropped_.end()) return;
  const Drop drop = it->second;
  dropped_.erase(it);
  const bool changed = comboSelection(id) != drop.selection || text(id) != drop.text;
  if (!drop.chosen) {
    // Closed without a choice (Esc, a click elsewhere): the box shows
    // what it showed before.
    if (changed) {
      send(item(id), CB_SETCURSEL, static_cast<WPARAM>(drop.selection));
      if (is(id, K::ComboEdit)) setText(id, drop.text);
    }
    return;
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
    send(item(id), CB_SETCURSEL, static_cast<WPARAM>(-1));
  }
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

}  // namespace velmora::win32
