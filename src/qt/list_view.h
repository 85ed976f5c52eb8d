// The report-style list of the main window: rows of texts under a header of
// centred columns, grid lines, whole rows selected, several at a time.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <string>
#include <vector>

#include "editor/port.h"

class QPainter;

namespace velmora::qt {

// The rows of the editor's source, as a table for the view: cells are read
// from the source when the view draws them, and become display text only
// then. The editor's notices of changed rows become the model's own, so
// the view keeps its selection with its rows. Rows appended are announced
// to the view in one batch when control returns to the event loop (or
// before any operation that needs the view to know them), so rows appended
// one by one cost the view one update instead of thousands.
class RowsModel final : public QAbstractTableModel {
 public:
  // `listColours`: cells in the main window's list colours; else the
  // view's own.
  RowsModel(QObject* parent, bool listColours);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void addColumn(const QString& header);
  QString header(int column) const;
  int headerCount() const { return static_cast<int>(headers_.size()); }

  // Rows as the program sees them, announced to the view or not.
  int rows() const { return told_; }
  std::string cell(int row, int column) const;
  void setSource(const editor::RowSource* source);
  void changed(const editor::ListChange& change);

  // Announces the rows appended since the last flush.
  void flush();

 private:
  const editor::RowSource* source_ = nullptr;
  // The rows the editor has told of, and those announced to the view.
  int told_ = 0;
  int announced_ = 0;
  bool flushQueued_ = false;
  QStringList headers_;
  QVariant cellBackground_;
  QVariant cellText_;
  QVariant centred_;
};

class ListView final : public QTableView {
 public:
  // `listColours`: the main window's list colours; else the desktop's.
  ListView(QWidget* parent, bool listColours);

  RowsModel& rows() { return *rows_; }
  const RowsModel& rows() const { return *rows_; }

  // A column at least as wide as its caption needs in the header's font.
  void addColumn(const QString& header, int width);
  std::vector<int> selectedRows() const;
  void selectRows(const std::vector<int>& rows);
  // Scrolls vertically only, so that the row is wholly in view.
  void ensureVisible(int row);
  int topRow() const;
  int rowsPerPage() const;
  // The row at height y of the rows area, in view or not; -1 for none.
  int rowAtHeight(int y) const;
  int rowHeightPixels() const;

  // Dragging a row. A left press on a row followed by a move of the drag
  // distance begins a drag (onDragBegin with the row); once the logic has
  // accepted it (setDragging), every move and the release are reported
  // with the pointer's screen position, and the press sweeps no selection.
  void setDragging(bool on);
  bool dragging() const { return dragging_; }
  // A line across the rows just above row `row` (the row count: below the
  // last row), where a dragged row would land; -1 for none.
  void showInsertion(int row);
  int insertion() const { return insertion_; }
  // Paints that line, shifted by `offset` from the rows area's origin.
  void paintInsertion(QPainter& painter, QPoint offset) const;
  std::function<void(int row)> onDragBegin;
  std::function<void(QPoint global)> onDragMove;
  std::function<void(QPoint global)> onDragRelease;

  // Mouse notifications: a click or right click (after the selection has
  // followed the mouse), and a click on a column header. A key that changes
  // the selection, and a press that changes it before a drag begins, count
  // as a click; what the program selects never does.
  std::function<void()> onClick;
  std::function<void()> onRightClick;
  std::function<void()> onColumnClick;

  // The rows were filled anew: their next paint is marked in the trace.
  void refilled() { refilled_ = true; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // Home and End go to the first and the last row, as in any list; Left
  // and Right scroll sideways.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  // Typing finds a row by its name (the second column), not its number.
  void keyboardSearch(const QString& search) override;

 private:
  QRect insertionBar() const;

  RowsModel* rows_;
  int pressRow_ = -1;
  QPoint pressPos_;
  std::vector<int> pressSelection_;
  int insertion_ = -1;
  bool dragging_ = false;
  bool afterDrag_ = false;
  bool refilled_ = false;
};

}  // namespace velmora::qt
