#include "win32/list_view.h"

#include <algorithm>
#include <utility>

#include "editor/list_search.h"
#include "editor/trace.h"
#include "layout.h"
#include "win32/control_util.h"
#include "win32/dpi.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

// Rows are picked, not opened, by a click: no hand pointer and no hover
// over every row; the scroll bars are the system's.
constexpr DWORD LIST_STYLES = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

}  // namespace

ListView::ListView(HWND hwnd, bool coloured, int dpi) : hwnd_(hwnd), dpi_(dpi) {
  send(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LIST_STYLES, LIST_STYLES);
  if (coloured) {
    send(hwnd_, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(colour(res::LIST_TEXT)));
    send(hwnd_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(colour(res::LIST_TEXT_BACKGROUND)));
    send(hwnd_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour(res::LIST_BACKGROUND)));
  }
}

int ListView::toScreen(int logical) const { return toDpi(logical, dpi_); }
int ListView::toLogical(int pixels) const { return fromDpi(pixels, dpi_); }

// ------------------------------------------------------------ columns

// Every column is centred. A list view always aligns its first column to
// the left, unless that column was inserted second and the real first one
// removed: so the first column goes in behind a placeholder.
void ListView::addColumn(std::string_view header, int width) {
  const int at = columns_;
  std::wstring text = widen(header);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.fmt = LVCFMT_CENTER;
  column.cx = std::max(toScreen(width), minColumnWidth(text));
  column.pszText = text.data();
  if (at == 0) {
    LVCOLUMNW placeholder{};
    placeholder.mask = LVCF_WIDTH;
    send(hwnd_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&placeholder));
    column.iSubItem = 1;
    send(hwnd_, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    send(hwnd_, LVM_DELETECOLUMN, 0);
    ++columns_;
    return;
  }
  column.iSubItem = at;
  send(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&column));
  ++columns_;
}

// A column is never narrower than its header's text in the header's own
// font, with the margin the header keeps on either side of it.
int ListView::minColumnWidth(const std::wstring& header) const {
  HWND h = reinterpret_cast<HWND>(send(hwnd_, LVM_GETHEADER));
  const int text = textWidth(h != nullptr ? h : hwnd_, header);
  int margin = h != nullptr ? static_cast<int>(send(h, HDM_GETBITMAPMARGIN)) : 0;
  if (margin <= 0) margin = 3 * metricForDpi(SM_CXEDGE, dpi_);
  // Both margins, and the divider lines at the column's edges.
  return text + 2 * margin + 2;
}

std::string ListView::columnHeader(int column) const {
  if (column < 0 || column >= columns_) return {};
  wchar_t buffer[256] = {};
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT;
  c.pszText = buffer;
  c.cchTextMax = 255;
  send(hwnd_, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
  return narrow(c.pszText != nullptr ? c.pszText : L"");
}

int ListView::columnWidth(int column) const {
  if (column < 0 || column >= columns_) return 0;
  return toLogical(static_cast<int>(send(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column))));
}

// A double click on a header's divider fits its column to the widest cell.
// The list view's own fitting measures the cells alone: a column whose
// caption is wider is widened to show it whole.
bool ListView::onHeaderNotify(const NMHDR& n) {
  if (n.code != HDN_DIVIDERDBLCLICKW && n.code != HDN_DIVIDERDBLCLICKA) return false;
  if (n.hwndFrom != reinterpret_cast<HWND>(send(hwnd_, LVM_GETHEADER))) return false;
  const int c = reinterpret_cast<const NMHEADERW&>(n).iItem;
  if (c < 0 || c >= columns_) return false;
  send(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(LVSCW_AUTOSIZE, 0));
  const int least = minColumnWidth(widen(columnHeader(c)));
  if (send(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c)) < least)
    send(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(least, 0));
  return true;
}

void ListView::onDpiChanged(int dpi) {
  const int old = std::exchange(dpi_, dpi);
  for (int c = 0; c < columns_; ++c) {
    const int width =
        MulDiv(static_cast<int>(send(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c))), dpi, old);
    const std::wstring header = widen(columnHeader(c));
    send(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c),
         MAKELPARAM(std::max(width, minColumnWidth(header)), 0));
  }
}

// ------------------------------------------------------------ rows

void ListView::setSource(const editor::RowSource* source) {
  source_ = source;
  changed(editor::ListChange::reset());
}

void ListView::changed(const editor::ListChange& change) {
  using Kind = editor::ListChange::Kind;
  switch (change.kind) {
    case Kind::Reset:
      deleteAll();
      rows_ = source_ != nullptr ? source_->rowCount() : 0;
      break;
    case Kind::Inserted:
      insertRows(change.first, change.count);
      break;
    case Kind::Removed:
      deleteRows(change.first, change.count);
      break;
    case Kind::Moved:
      moveRow(change.first, change.to);
      break;
  }
}

// Rows appended are told to the control with the others appended with
// them; rows inserted before others move their states down.
void ListView::insertRows(int row, int count) {
  const int rows = rowCount();
  if (count <= 0 || row < 0 || row > rows) return;
  if (row == rows) {
    awaitTell();
    rows_ += count;
    return;
  }
  const Quiet quiet(quiet_);
  tell();
  const RowStates states = rowStates();
  rows_ += count;
  tell();
  restoreRowStates(states, [row, count](int r) { return r >= row ? r + count : r; });
}

void ListView::deleteRows(int row, int count) {
  if (count <= 0 || row < 0 || row + count > rowCount()) return;
  const Quiet quiet(quiet_);
  tell();
  const RowStates states = rowStates();
  rows_ -= count;
  tell();
  restoreRowStates(states, [row, count](int r) {
    return r >= row && r < row + count ? -1 : r >= row + count ? r - count : r;
  });
}

// The control hears of it with the rows that come in their place: one
// change of its row count for the whole refill.
void ListView::deleteAll() {
  awaitTell();
  rows_ = 0;
  cleared_ = true;
  if (editor::trace::enabled()) refilled_ = true;
}

bool ListView::takeRefilled() { return std::exchange(refilled_, false); }

// The source has moved the row already; the control moves its states and
// paints the rows between afresh, numbered by their new places.
void ListView::moveRow(int from, int to) {
  const int rows = rowCount();
  if (from < 0 || from >= rows || to < 0 || to >= rows || from == to) return;
  const Quiet quiet(quiet_);
  tell();
  const RowStates states = rowStates();
  restoreRowStates(states, [from, to](int r) {
    if (r == from) return to;
    if (from < to && r > from && r <= to) return r - 1;
    if (to < from && r >= to && r < from) return r + 1;
    return r;
  });
  send(hwnd_, LVM_REDRAWITEMS, static_cast<WPARAM>(std::min(from, to)),
       static_cast<LPARAM>(std::max(from, to)));
}

std::string ListView::cell(int row, int column) const {
  if (source_ == nullptr || row < 0 || row >= rowCount() || column < 0 || column >= columns_)
    return {};
  return source_->cell(row, column);
}

// A list whose rows change without a word to the control is at least to
// paint again, and so to hear of them before it paints.
void ListView::awaitTell() const {
  if (!pending()) InvalidateRect(hwnd_, nullptr, FALSE);
}

// The control learns of the rows appended since it last heard: where it
// stood in the list stays. Rows that replaced all the earlier ones come
// unselected, from the top of the list, as into an emptied list. A new
// row count costs the control its scroll bars and layout; as many rows as
// before (a sort, the same table shown again) only paint afresh.
void ListView::tell() {
  if (!pending()) return;
  const Quiet quiet(quiet_);
  const int rows = rowCount();
  const bool cleared = std::exchange(cleared_, false);
  const int before = std::exchange(told_, rows);
  if (cleared && (rows == 0 || before == 0)) {
    if (before != 0) send(hwnd_, LVM_DELETEALLITEMS);
    if (rows == 0) return;
  } else if (cleared) {
    clearStates(true);
    send(hwnd_, LVM_SETSELECTIONMARK, 0, -1);
  }
  if (rows != before)
    send(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOSCROLL);
  else
    InvalidateRect(hwnd_, nullptr, TRUE);
  if (cleared && send(hwnd_, LVM_GETTOPINDEX) != 0) send(hwnd_, LVM_ENSUREVISIBLE, 0, FALSE);
}

// ------------------------------------------------------------ row states

ListView::RowStates ListView::rowStates() const {
  RowStates states;
  states.selected = selectedRows();
  states.focused =
      static_cast<int>(send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  states.mark = static_cast<int>(send(hwnd_, LVM_GETSELECTIONMARK));
  return states;
}

void ListView::restoreRowStates(const RowStates& states, const std::function<int(int)>& to) {
  const Quiet quiet(quiet_);
  const int rows = told_;
  auto place = [&](int r) {
    const int at = r >= 0 ? to(r) : -1;
    return at >= 0 && at < rows ? at : -1;
  };
  clearStates(true);
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  for (const int r : states.selected) {
    if (const int at = place(r); at >= 0)
      send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&state));
  }
  if (const int at = place(states.focused); at >= 0) {
    state.stateMask = state.state = LVIS_FOCUSED;
    send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&state));
  }
  send(hwnd_, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(place(states.mark)));
}

// No row selected, nor focused with `focus`. A change of every row at once
// visits every row of the list; a few selected rows are cheaper one by one.
void ListView::clearStates(bool focus) {
  const Quiet quiet(quiet_);
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED;
  const LRESULT selected = send(hwnd_, LVM_GETSELECTEDCOUNT);
  if (selected > 64) {
    send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  } else if (selected > 0) {
    for (const int r : selectedRows())
      send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&none));
  }
  if (!focus) return;
  none.stateMask = LVIS_FOCUSED;
  const LRESULT focused = send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
  if (focused >= 0)
    send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&none));
}

void ListView::showFocusRow() {
  if (send(hwnd_, LVM_GETITEMCOUNT) <= 0 ||
      send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0)
    return;
  LRESULT row = send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (row < 0) row = send(hwnd_, LVM_GETTOPINDEX);
  LVITEMW state{};
  state.stateMask = state.state = LVIS_FOCUSED;
  const Quiet quiet(quiet_);
  send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

// ------------------------------------------------------------ selection, scrolling

std::vector<int> ListView::selectedRows() const {
  std::vector<int> rows;
  for (LRESULT r = send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); r >= 0;
       r = send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED)) {
    rows.push_back(static_cast<int>(r));
  }
  return rows;
}

void ListView::selectRows(const std::vector<int>& rows) {
  const Quiet quiet(quiet_);
  clearStates(false);
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  const int n = rowCount();
  bool first = true;
  for (const int row : rows) {
    if (row >= 0 && row < n) {
      // The keyboard goes on from the first of them.
      state.stateMask = first ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
      state.state = state.stateMask;
      send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
      first = false;
    }
  }
}

void ListView::ensureVisible(int row) {
  const Quiet quiet(quiet_);
  if (row >= 0 && row < rowCount()) send(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int ListView::topRow() const { return static_cast<int>(send(hwnd_, LVM_GETTOPINDEX)); }

int ListView::rowsPerPage() const { return static_cast<int>(send(hwnd_, LVM_GETCOUNTPERPAGE)); }

// Rows are all of one height; the rows area starts where the first row in
// view does.
int ListView::rowAt(int y) const {
  const int rows = rowCount();
  if (y < 0 || rows == 0) return -1;
  const int top = topRow();
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (!send(hwnd_, LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&r)))
    return -1;
  const int height = r.bottom - r.top;
  if (height <= 0) return -1;
  const int row = top + toScreen(y) / height;
  return row < rows ? row : -1;
}

int ListView::rowHeight() const {
  // The height of an item comes with the list's font and image list; a
  // list with no rows yet measures an empty one.
  const DWORD size =
      static_cast<DWORD>(send(hwnd_, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1)));
  const DWORD none =
      static_cast<DWORD>(send(hwnd_, LVM_APPROXIMATEVIEWRECT, 0, MAKELPARAM(-1, -1)));
  const int height = toLogical(static_cast<int>(HIWORD(size)) - static_cast<int>(HIWORD(none)));
  return height > 0 ? height : 1;
}

// ------------------------------------------------------------ what the control asks

// The text of a cell the control is about to paint, cut to its buffer.
void ListView::cellText(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
  item.pszText[0] = L'\0';
  if (item.iItem < 0 || item.iItem >= rowCount() || item.iSubItem < 0) return;
  const std::wstring text = widen(cell(item.iItem, item.iSubItem));
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
  std::copy_n(text.begin(), n, item.pszText);
  item.pszText[n] = L'\0';
}

// Typing finds a row by its name from the row after the focused one (the
// control's start) and round again from the top, ignoring case, among the
// rows the control knows of.
int ListView::findRow(const NMLVFINDITEMW& find) const {
  const LVFINDINFOW& what = find.lvfi;
  if ((what.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || what.psz == nullptr) return -1;
  const std::wstring wanted = what.psz;
  if (wanted.empty()) return -1;
  const int column = editor::nameColumn(columns_);
  const bool partial = (what.flags & LVFI_PARTIAL) != 0;
  return editor::findRowFrom(told_, find.iStart, (what.flags & LVFI_WRAP) != 0, [&](int r) {
    const std::wstring text = widen(cell(r, column));
    if (partial ? text.size() < wanted.size() : text.size() != wanted.size()) return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(),
                          static_cast<int>(wanted.size()), wanted.c_str(),
                          static_cast<int>(wanted.size())) == CSTR_EQUAL;
  });
}

}  // namespace velmora::win32
