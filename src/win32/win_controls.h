// The controls of one dialog window, created by Windows from its template
// and addressed by their numeric ids. Changes made through Controls never
// notify: only what the user does reaches ControlEvents.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <unordered_map>

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
  // (0 for anywhere else) at (x, y) of that list's rows area, until the
  // release.
  virtual void dragBegin(int /*id*/, int /*row*/) {}
  virtual void dragMove(int /*overList*/, int /*x*/, int /*y*/) {}
  virtual void dragRelease(int /*overList*/, int /*x*/, int /*y*/) {}
};

// Posted by a list view after a key moved its selection; wParam is its id.
inline constexpr UINT WM_APP_LIST_KEY = WM_APP + 1;
// The timer that reports a resting pointer again while a row is dragged.
inline constexpr UINT_PTR DRAG_TIMER = 0x7E11;

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
  // Every control of the template, for moving them below a toolbar.
  const std::unordered_map<int, res::ControlKind>& kinds() const { return kinds_; }

  // The window's WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_APP_LIST_KEY
  // for its controls; false when the message is not about a control.
  bool onCommand(WPARAM wParam, LPARAM lParam);
  bool onNotify(const NMHDR& header);
  bool onDrawItem(const DRAWITEMSTRUCT& item);
  void onListKey(int id);
  // The window's WM_MOUSEMOVE, WM_LBUTTONUP and drag timer while a row is
  // dragged; false when no row is.
  bool onDragPointer(bool released);
  bool dragging() const { return dragImages_ != nullptr; }

  void setText(int id, std::string_view text) override;
  std::string text(int id) const override;
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
  void dragShowInsertion(int /*id*/, int /*row*/) override {}
  void selectAllText(int /*id*/) override {}
  void setWindowTitle(std::string_view /*title*/, bool /*modified*/) override {}

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
  bool is(int id, res::ControlKind kind) const;
  bool isCombo(int id) const;
  HWND listView(int id) const;
  HWND tipsFor(int id);

  HWND dialog_;
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
  // The blue tips of the controls the template names, and plain ones for
  // the rest (the File line's whole path).
  HWND blueTips_ = nullptr;
  HWND plainTips_ = nullptr;
  std::map<int, std::wstring> tips_;
  std::map<int, bool> blue_;
  // The image of the row being dragged, which follows the pointer.
  HIMAGELIST dragImages_ = nullptr;
};

}  // namespace velmora::win32
