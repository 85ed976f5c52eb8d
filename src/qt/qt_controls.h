// The controls of one window, built from its template and addressed by
// their numeric ids. Changes made through Controls never notify: only what
// the user does reaches ControlEvents.
#pragma once

#include <QLabel>
#include <QPoint>
#include <QPointer>
#include <unordered_map>
#include <vector>

#include "editor/port.h"
#include "layout.h"
#include "qt/dialog_units.h"
#include "qt/row_drag.h"

class QAction;
class QDialog;
class QLabel;
class QWidget;

namespace velmora::qt {

class ListView;

class QtControls final : public editor::Controls {
 public:
  // Builds every control of `def`, the never-shown ones hidden, as children
  // of `client`, placed in pixels converted from dialog units. `dialog` is
  // the window that endDialog ends.
  QtControls(const res::DialogDef& def, QWidget* client, QDialog* dialog);
  void setEvents(editor::ControlEvents* events) {
    events_ = events;
    drag_.setEvents(events);
  }
  const DialogMetrics& metrics() const { return metrics_; }

  QWidget* widget(int id) const;
  ListView* list(int id) const;
  // The id of the control that `w` is or belongs to (a combo's edit part,
  // a list's viewport), 0 for none.
  int idOf(const QWidget* w) const;
  // A menu item whose check mark the logic sets.
  void addMenuAction(int commandId, QAction* action);
  QAction* menuAction(int commandId) const;

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
  // Not needed by the logic; tests read it.
  std::string comboItem(int id, int index) const;
  void comboSelect(int id, int index) override;
  int comboSelection(int id) const override;

  void listAddColumn(int id, std::string_view header, int width) override;
  void listSetSource(int id, const editor::RowSource* source) override;
  void listRowsChanged(int id, editor::ListChange change) override;
  // The rows a list has, read from its source (for tests).
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
  // The image that follows the pointer during a drag; nullptr otherwise.
  QLabel* dragImage() const { return drag_.image(); }

  void tabInsert(int id, int index, std::string_view title) override;
  int tabSelection(int id) const override;
  void tabSelect(int id, int index) override;

  void menuCheck(int commandId, bool checked) override;
  void menuSetText(int commandId, std::string_view text) override;
  void menuShow(int commandId, bool shown) override;
  void menuEnable(int commandId, bool enabled) override;

  int focusedControl() const override;
  void focusList(int id) override;
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or the previous tab, told to the
  // logic as the user's choice; false when there is no tab strip to step.
  bool stepTab(bool back);
  void endDialog(int result) override;
  void setDefaultButton(int id) override;

  // The status line the window made under the lists; what setStatusText
  // writes.
  void setStatusLine(QLabel* line) { statusLine_ = line; }
  QLabel* statusLine() const { return statusLine_; }
  void setStatusText(std::string_view text) override;

  // The window's place: its geometry without the frame, as the window
  // system keeps it while not maximized; the screens' available areas.
  editor::WindowPlace windowPlace() const override;
  std::vector<editor::ScreenArea> screenAreas() const override;
  void setWindowPlace(const editor::WindowPlace& place) override;

 private:
  QWidget* build(const res::ControlDef& def, QWidget* parent);
  template <class W>
  W* find(int id) const;

  DialogMetrics metrics_;
  QWidget* client_;
  QPointer<QDialog> dialog_;
  bool mainWindow_;
  editor::ControlEvents* events_ = nullptr;
  std::unordered_map<int, QWidget*> widgets_;
  std::unordered_map<const QWidget*, int> ids_;
  std::unordered_map<int, QAction*> actions_;
  RowDrag drag_;
  QPointer<QLabel> statusLine_;
};

}  // namespace velmora::qt
