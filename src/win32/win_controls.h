// The controls of one dialog window, created by Windows from its template
// and addressed by their numeric ids. Changes made through Controls never
// notify: only what the user does reaches ControlEvents.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "editor/port.h"
#include "layout.h"
#include "win32/list_picks.h"
#include "win32/list_view.h"
#include "win32/menus.h"
#include "win32/pane_theme.h"
#include "win32/row_drag.h"
#include "win32/tips.h"
#include "win32/win.h"

namespace velmora::win32 {

// Pixels: every position and size the editor gives or is told (column
// widths, drag positions, rows' heights) is in pixels of a 96-DPI screen;
// the wrappers scale them with the window's DPI.

// Posted when a combo box's list has closed; wParam is its id.
inline constexpr UINT WM_APP_COMBO_CLOSED = WM_APP + 3;
// Posted when the window has taken a new DPI and its controls their new
// fonts; wParam is the DPI.
inline constexpr UINT WM_APP_DPI_CHANGED = WM_APP + 4;

// Each kind of control with state of its own has its wrapper (ListView,
// ListPicks, Tips, RowDrag, MenuState, PaneTheme; the combo boxes' calls
// are in combo_boxes.cpp); WinControls routes the editor's calls and the
// window's messages to them by control id.
class WinControls final : public editor::Controls {
 public:
  // `dialog` was created from the template of `def`. `onEnd` ends the
  // window with a result.
  WinControls(HWND dialog, const res::DialogDef& def, std::function<void(int)> onEnd);
  ~WinControls() override;

  void setEvents(editor::ControlEvents* events);
  // The window's menu bar, built from the editor's menu table.
  void setMenu(HMENU menu);
  HWND dialog() const { return dialog_; }
  // The status bar the window made under the pane; what setStatusText
  // writes.
  void setStatusBar(HWND bar) { statusBar_ = bar; }
  HWND statusBar() const { return statusBar_; }
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
  bool dragging() const { return drag_->active(); }
  // The drag abandoned (Esc, the mouse taken away, the window left): the
  // events hear it, and the image and the capture go.
  void cancelDrag() { drag_->cancel(); }
  // The combo box whose list is dropped down and has the focus, if any.
  HWND droppedCombo() const;
  // Whether the focus is in a list view.
  bool listHasFocus() const;
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or the previous tab of the tab
  // strip, chosen as a click on it chooses it; false when there is none.
  bool stepTab(bool back);
  // The list the program last put the keyboard in gets it again: once the
  // window is first shown.
  void applyFocus();

  void setText(int id, std::string_view text) override;
  void setPathText(int id, std::string_view path) override;
  std::string text(int id) const override;
  std::optional<char32_t> foreignChar(int id) const override;
  void setVisible(int id, bool visible) override;
  void setEnabled(int id, bool enabled) override;
  void setToolTip(int id, std::string_view text) override;

  void comboInsert(int id, int index, std::string_view item) override;
  void comboDelete(int id, int index) override;
  void comboClear(int id) override;
  int comboCount(int id) const override;
  // Not needed by the logic: the items are drawn from it, and tests read it.
  std::string comboItem(int id, int index) const;
  void comboSelect(int id, int index) override;
  int comboSelection(int id) const override;

  void listAddColumn(int id, std::string_view header, int width) override;
  void listSetSource(int id, const editor::RowSource* source) override;
  void listRowsChanged(int id, editor::ListChange change) override;
  const editor::RowSource* listSource(int id) const;
  // The rows a list has, read from its source.
  int listRowCount(int id) const;
  std::string listCell(int id, int row, int column) const;
  std::vector<int> listSelectedRows(int id) const override;
  void listSelectRows(int id, const std::vector<int>& rows) override;
  void listEnsureVisible(int id, int row) override;
  std::vector<int> listColumnWidths(int id) const override;
  void dragBegin(int id, int row, int hotX, int hotY) override;
  void dragEnd() override;
  void dragShowInsertion(int id, int row) override;
  void dragShowNoDrop(bool noDrop) override;
  void selectAllText(int id) override;
  void setWindowTitle(std::string_view title, bool modified) override;

  void tabInsert(int id, int index, std::string_view title) override;
  int tabSelection(int id) const override;
  void tabSelect(int id, int index) override;

  void menuCheck(int commandId, bool checked) override;
  void menuSetText(int commandId, std::string_view text) override;
  void menuShow(int commandId, bool shown) override;
  void menuEnable(int commandId, bool enabled) override;

  int focusedControl() const override;
  void focusList(int id) override;
  void endDialog(int result) override;
  void setDefaultButton(int id) override;
  void setStatusText(std::string_view text) override;

  // The main window around the pane: its place on the desktop in screen
  // pixels (the normal rectangle while maximized), and the monitors' work
  // areas.
  editor::WindowPlace windowPlace() const override;
  std::vector<editor::ScreenArea> screenAreas() const override;
  void setWindowPlace(const editor::WindowPlace& place) override;
  // The smallest frame the window takes, as the window measured it.
  void setMinimumFrame(SIZE size) { minimumFrame_ = size; }
  // A place set before the window first shows may ask it to show maximized.
  bool showsMaximized() const { return showMaximized_; }

 private:
  int tabCount(int id) const;
  bool is(int id, res::ControlKind kind) const;
  bool isCombo(int id) const;
  ListView* list(int id);
  const ListView* list(int id) const;
  void answer(LRESULT result) const;
  void listChanged(const NMLISTVIEW& change);
  void comboNotified(int id, int code);
  void comboClosed(int id);
  void drawTitledItem(const DRAWITEMSTRUCT& d) const;
  static LRESULT CALLBACK listProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);

  HWND dialog_;
  HWND statusBar_ = nullptr;
  SIZE minimumFrame_{};
  bool showMaximized_ = false;
  int dpi_ = 96;
  std::function<void(int)> onEnd_;
  editor::ControlEvents* events_ = nullptr;
  std::unordered_map<int, res::ControlKind> kinds_;
  std::unordered_map<int, HWND> windows_;
  std::unordered_map<int, ListView> lists_;
  int tabId_ = 0;
  std::unique_ptr<Tips> tips_;
  std::unique_ptr<RowDrag> drag_;
  std::unique_ptr<PaneTheme> pane_;
  MenuState menus_;
  // The widest line of each list box of text lines, in pixels.
  std::map<int, int> lineWidths_;
  ListPicks picks_;
  // The search edit whose text the program is setting: its EN_CHANGE is
  // no change by the user.
  int settingText_ = 0;
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
  // The list focusList last named.
  int focusWanted_ = 0;
};

}  // namespace velmora::win32
