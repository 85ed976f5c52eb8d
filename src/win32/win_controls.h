// The controls of one dialog window, created by Windows from its template
// and addressed by their numeric ids. Changes made through Controls never
// notify: only what the user does reaches ControlEvents.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "editor/port.h"
#include "layout.h"
#include "win32/win.h"

namespace velmora::win32 {

// What the user does with the controls of a window.
class ControlEvents {
 public:
  virtual ~ControlEvents() = default;
  virtual void command(int id) = 0;  // a push button or check box
  virtual void tabChanged(int /*id*/) {}
  virtual void listClick(int /*id*/) {}
  virtual void listRightClick(int /*id*/) {}
  virtual void columnClick(int /*id*/) {}
  virtual void comboChanged(int /*id*/) {}
  virtual void lineChosen(int /*id*/) {}  // a list box's selection
  // Dragging a list row: its begin, then the pointer over list `overList`
  // (IDC_TAB over the tab strip, 0 for anywhere else on the window) at
  // (x, y) of that list's rows area, until the release.
  virtual void dragBegin(int /*id*/, int /*row*/) {}
  virtual void dragMove(int /*overList*/, int /*x*/, int /*y*/) {}
  virtual void dragRelease(int /*overList*/, int /*x*/, int /*y*/) {}
  // The drag is abandoned: Esc, a release outside the window, the mouse
  // taken away or the window left.
  virtual void dragCancel() {}
};

// Pixels: every position and size the editor gives or is told (column
// widths, drag positions, rows' heights) is in pixels of a 96-DPI screen;
// WinControls scales them with the window's DPI.

// Posted once per burst of the user's changes to a list view's selection
// (a click, a key, type-ahead); wParam is its id.
inline constexpr UINT WM_APP_LIST_PICK = WM_APP + 1;
// Posted when a combo box's list has closed; wParam is its id.
inline constexpr UINT WM_APP_COMBO_CLOSED = WM_APP + 3;
// Posted when the window has taken a new DPI and its controls their new
// fonts; wParam is the DPI.
inline constexpr UINT WM_APP_DPI_CHANGED = WM_APP + 4;
// The timer that reports a resting pointer again while a row is dragged.
inline constexpr UINT_PTR DRAG_TIMER = 0x7E11;
// The timer, on a control, that takes its tip away after a while.
inline constexpr UINT_PTR TIP_TIMER = 0x7E12;

class WinControls final : public editor::Controls {
 public:
  // `dialog` was created from the template of `def`. `onEnd` ends the
  // window with a result.
  WinControls(HWND dialog, const res::DialogDef& def, std::function<void(int)> onEnd);
  ~WinControls() override;

  void setEvents(ControlEvents* events) { events_ = events; }
  // The window's menu bar, built from the editor's menu table.
  void setMenu(HMENU menu);
  HWND dialog() const { return dialog_; }
  HWND item(int id) const;

  // The window's WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and the messages its
  // controls post (WM_APP_LIST_PICK, WM_APP_COMBO_CLOSED,
  // WM_APP_DPI_CHANGED); false when the
  // message is not about a control.
  bool onCommand(WPARAM wParam, LPARAM lParam);
  bool onNotify(const NMHDR& header);
  bool onDrawItem(const DRAWITEMSTRUCT& item);
  bool onPosted(UINT message, WPARAM wParam);
  // The window's WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the brush a label,
  // value, group or check box on the tab pane paints its background with
  // (the pane's own), or null for the window's usual one.
  HBRUSH onCtlColor(HDC dc, HWND control);
  // The window's WM_ERASEBKGND: under the visual styles the tab pane's
  // part of the window is the pane's colour, for the controls (group and
  // check boxes) that paint the window's background behind them; false
  // for the usual background.
  bool onEraseBackground(HDC dc);
  // The window has moved to a monitor of another DPI (or the visual style
  // changed): columns keep their widths in logical pixels, tips their
  // room, the tab pane's background is drawn again.
  void onDpiChanged(int dpi);
  void onThemeChanged();
  int dpi() const { return dpi_; }
  // Reports a pick still waiting in the queue now, so that it comes before
  // whatever the user does next.
  void flushPicks();
  // The window's WM_MOUSEMOVE, WM_LBUTTONUP and drag timer while a row is
  // dragged; false when no row is.
  bool onDragPointer(bool released);
  bool dragging() const { return dragImages_ != nullptr; }
  // The drag abandoned (Esc, the mouse taken away, the window left): the
  // events hear it, and the image and the capture go.
  void cancelDrag();
  // The combo box whose list is dropped down and has the focus, if any.
  HWND droppedCombo() const;
  // Whether the focus is in a list view.
  bool listHasFocus() const;
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or the previous tab of the tab
  // strip, chosen as a click on it chooses it; false when there is none.
  bool stepTab(bool back);

  void setText(int id, std::string_view text) override;
  void setPathText(int id, std::string_view path) override;
  std::string text(int id) const override;
  std::optional<char32_t> foreignChar(int id) const override;
  void setVisible(int id, bool visible) override;
  bool isVisible(int id) const override;
  void setEnabled(int id, bool enabled) override;
  bool isEnabled(int id) const override;
  void setToolTip(int id, std::string_view text) override;
  std::string toolTip(int id) const override;

  void comboInsert(int id, int index, std::string_view item) override;
  void comboDelete(int id, int index) override;
  void comboClear(int id) override;
  int comboCount(int id) const override;
  std::string comboItem(int id, int index) const override;
  void comboSelect(int id, int index) override;
  int comboSelection(int id) const override;

  void listAddColumn(int id, std::string_view header, int width) override;
  int listColumnCount(int id) const override;
  std::string listColumnHeader(int id, int column) const override;
  int listColumnWidth(int id, int column) const override;
  void listInsertRow(int id, int row, const std::vector<std::string>& cells) override;
  void listDeleteRow(int id, int row) override;
  void listDeleteAll(int id) override;
  int listRowCount(int id) const override;
  std::string listCell(int id, int row, int column) const override;
  std::vector<int> listSelectedRows(int id) const override;
  void listSelectRows(int id, const std::vector<int>& rows) override;
  void listEnsureVisible(int id, int row) override;
  void listMoveRow(int id, int from, int to) override;
  void listSetCell(int id, int row, int column, std::string_view text) override;
  int listTopRow(int id) const override;
  int listRowsPerPage(int id) const override;
  int listRowAt(int id, int y) const override;
  void dragBegin(int id, int row, int hotX, int hotY) override;
  void dragEnd() override;
  int listRowHeight(int id) const override;
  void dragShowInsertion(int id, int row) override;
  void selectAllText(int id) override;
  void setWindowTitle(std::string_view title, bool modified) override;

  void tabInsert(int id, int index, std::string_view title) override;
  int tabCount(int id) const override;
  int tabSelection(int id) const override;
  void tabSelect(int id, int index) override;

  void menuCheck(int commandId, bool checked) override;
  bool menuChecked(int commandId) const override;
  void menuSetText(int commandId, std::string_view text) override;
  void menuShow(int commandId, bool shown) override;
  void menuEnable(int commandId, bool enabled) override;
  bool menuEnabled(int commandId) const override;

  int focusedControl() const override;
  void endDialog(int result) override;

 private:
  // A list view's rows are kept here; the control asks for the text of
  // the cells it paints (owner data) and knows only how many rows there
  // are. Rows appended are told to it in one go, before it next handles
  // a message of its own.
  struct List {
    HWND hwnd = nullptr;
    int columns = 0;
    std::vector<std::vector<std::string>> rows;
    // How many rows the control has been told of, and whether it is still
    // to hear that its rows were all replaced.
    int told = 0;
    bool cleared = false;
    bool pending() const { return cleared || told != static_cast<int>(rows.size()); }
    // Filled anew since its last paint (for the trace).
    bool refilled = false;
  };
  // The selected and focused rows and the selection mark of a list, which
  // the control keeps by row number.
  struct RowStates {
    std::vector<int> selected;
    int focused = -1;
    int mark = -1;
  };

  bool is(int id, res::ControlKind kind) const;
  static void removeSeparators(HMENU popup);
  void drawTitledItem(const DRAWITEMSTRUCT& d) const;
  void showFocusRow(HWND list);
  void addSeparators(std::size_t popupIndex, HMENU popup);
  bool isCombo(int id) const;
  HWND listView(int id) const;
  List* list(int id);
  const List* list(int id) const;
  void tell(List& list);
  void awaitTell(const List& list) const;
  RowStates rowStates(const List& list) const;
  void clearStates(HWND list, bool focus);
  // Gives the states back with every row number passed through `to`
  // (-1: the row is gone).
  void restoreRowStates(const List& list, const RowStates& states,
                        const std::function<int(int)>& to);
  void cellText(const List& list, NMLVDISPINFOW& info) const;
  int findRow(const List& list, const NMLVFINDITEMW& find) const;
  void answer(LRESULT result) const;
  HWND tipsFor(int id);
  void postPick(int id);
  void reportPick(int id);
  void listChanged(const NMLISTVIEW& change);
  int minColumnWidth(HWND list, const std::wstring& header) const;
  static int textWidth(HWND w, const std::wstring& text);
  int toScreen(int logical) const;
  int toLogical(int pixels) const;
  void showTip(int id);
  void hideTip();
  RECT tipPlace(HWND control, SIZE tip, bool field) const;
  HBRUSH paneBrush();
  static LRESULT CALLBACK tipProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR self);
  bool onWindow(POINT screen) const;
  RECT insertionLine(HWND list) const;
  void paintInsertion(HWND list) const;
  static LRESULT CALLBACK listProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);

  HWND dialog_;
  int dpi_ = 96;
  HMENU menu_ = nullptr;
  // Each menu item: its popup and place in the table, and its state, so
  // that an item taken out of its menu goes back where it was.
  struct MenuItem {
    HMENU popup = nullptr;
    std::size_t popupIndex = 0;
    std::wstring text;
    bool shown = true;
    bool enabled = true;
    bool checked = false;
  };
  std::map<int, MenuItem> menuItems_;
  std::function<void(int)> onEnd_;
  ControlEvents* events_ = nullptr;
  std::unordered_map<int, res::ControlKind> kinds_;
  std::unordered_map<int, HWND> windows_;
  std::unordered_map<int, List> lists_;
  int tabId_ = 0;
  // The blue tips of the controls the template names, and plain ones for
  // the rest (the File line's whole path). A tip shows beside its control
  // when the pointer rests on it, and goes when the pointer leaves.
  HWND blueTips_ = nullptr;
  HWND plainTips_ = nullptr;
  std::map<int, std::wstring> tips_;
  std::map<int, bool> blue_;
  // The widest line of each list box of text lines, in pixels.
  std::map<int, int> lineWidths_;
  int shownTip_ = 0;
  int tipDone_ = 0;
  // The tab pane's background under the visual styles, as a brush whose
  // origin is the pane's corner; null without visual styles.
  HBRUSH paneBrush_ = nullptr;
  bool paneBrushMade_ = false;
  // The image of the row being dragged, which follows the pointer, and the
  // line across list insertList_ above row insertRow_ where it would land.
  HIMAGELIST dragImages_ = nullptr;
  int insertList_ = 0;
  int insertRow_ = -1;
  // Changes the program makes to the controls are under way: they notify
  // nothing.
  int quiet_ = 0;
  // Lists whose pick is posted and not yet reported; lists whose current
  // mouse press has changed the selection already.
  std::set<int> pendingPicks_;
  std::set<int> pickedThisPress_;
  // Combo boxes whose list is down: their selection and text when it
  // opened, and whether the user has chosen an item from it.
  struct Drop {
    int selection = -1;
    std::string text;
    bool chosen = false;
  };
  std::map<int, Drop> dropped_;
  // What the box of a titled chooser reads.
  std::map<int, std::string> titles_;
};

}  // namespace velmora::win32
