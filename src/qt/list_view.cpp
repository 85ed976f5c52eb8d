#include "qt/list_view.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <algorithm>
#include <cmath>
#include <utility>

#include "editor/list_search.h"
#include "editor/trace.h"
#include "layout.h"
#include "qt/western.h"

namespace velmora::qt {

namespace {
QColor rgb(unsigned value) {
  return QColor(static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>(value & 0xFF));
}
}  // namespace

RowsModel::RowsModel(QObject* parent, bool listColours)
    : QAbstractTableModel(parent),
      cellBackground_(listColours ? QVariant(QBrush(rgb(res::LIST_TEXT_BACKGROUND))) : QVariant()),
      cellText_(listColours ? QVariant(QBrush(rgb(res::LIST_TEXT))) : QVariant()),
      centred_(static_cast<int>(Qt::AlignCenter)) {}

int RowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : announced_;
}

int RowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : headerCount();
}

QVariant RowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return fromBytes(cell(index.row(), index.column()));
    case Qt::TextAlignmentRole:
      return centred_;
    case Qt::BackgroundRole:
      return cellBackground_;
    case Qt::ForegroundRole:
      return cellText_;
    default:
      return {};
  }
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return header(section);
  if (role == Qt::TextAlignmentRole) return centred_;
  return {};
}

void RowsModel::addColumn(const QString& header) {
  flush();
  const int column = headerCount();
  beginInsertColumns({}, column, column);
  headers_.append(header);
  endInsertColumns();
}

QString RowsModel::header(int column) const {
  return column >= 0 && column < headerCount() ? headers_[column] : QString();
}

std::string RowsModel::cell(int row, int column) const {
  if (source_ == nullptr || row < 0 || row >= rows() || column < 0) return {};
  return source_->cell(row, column);
}

void RowsModel::setSource(const editor::RowSource* source) {
  source_ = source;
  changed(editor::ListChange::reset());
}

// The view hears of rows appended with the others appended with them, of
// every other change at once. Rows that replace all the earlier ones come
// as into an emptied list.
void RowsModel::changed(const editor::ListChange& change) {
  using Kind = editor::ListChange::Kind;
  const int first = change.first, count = change.count;
  switch (change.kind) {
    case Kind::Reset:
      if (announced_ > 0) {
        beginRemoveRows({}, 0, announced_ - 1);
        announced_ = told_ = 0;
        endRemoveRows();
      }
      told_ = source_ != nullptr ? source_->rowCount() : 0;
      break;
    case Kind::Inserted:
      if (count <= 0 || first < 0 || first > told_) return;
      if (first < told_) {
        flush();
        beginInsertRows({}, first, first + count - 1);
        told_ += count;
        announced_ += count;
        endInsertRows();
        return;
      }
      told_ += count;
      break;
    case Kind::Removed:
      if (count <= 0 || first < 0 || first + count > told_) return;
      flush();
      beginRemoveRows({}, first, first + count - 1);
      told_ -= count;
      announced_ -= count;
      endRemoveRows();
      return;
    case Kind::Moved:
      if (first < 0 || first >= told_ || change.to < 0 || change.to >= told_ || first == change.to)
        return;
      flush();
      // Qt counts the destination before the row has left its place.
      beginMoveRows({}, first, first, {}, change.to > first ? change.to + 1 : change.to);
      endMoveRows();
      // The rows between show their new numbers.
      emit dataChanged(index(std::min(first, change.to), 0),
                       index(std::max(first, change.to), std::max(0, headerCount() - 1)));
      return;
  }
  if (announced_ < told_ && !flushQueued_) {
    // A posted call runs before the next input event is handled, so the
    // user never clicks at rows the view does not know yet.
    flushQueued_ = true;
    QMetaObject::invokeMethod(
        this, [this] { flush(); }, Qt::QueuedConnection);
  }
}

void RowsModel::flush() {
  flushQueued_ = false;
  if (announced_ >= rows()) return;
  beginInsertRows({}, announced_, rows() - 1);
  announced_ = rows();
  endInsertRows();
}

namespace {

// Column captions, centred; one wider than its column ends in "..." rather
// than losing letters at both ends.
class ListHeader final : public QHeaderView {
 public:
  explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

  // The narrowest section that shows `caption` whole: its text in the
  // header's font and the margins the style leaves around a section's label.
  int captionWidth(const QString& caption) const {
    ensurePolished();
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = QRect(0, 0, 1000, height() > 0 ? height() : fontMetrics().height() + 8);
    const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    // Whole pixels from the text's exact width: a rounded-down width
    // would still cut the last letter off.
    const qreal text = QFontMetricsF(font()).horizontalAdvance(caption);
    return static_cast<int>(std::ceil(text)) + option.rect.width() - label.width();
  }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    if (!rect.isValid()) return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    option.textAlignment = Qt::AlignCenter;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    const QString caption =
        model()->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString();
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(label, Qt::AlignCenter,
                      fontMetrics().elidedText(caption, Qt::ElideRight, label.width()));
  }
};

}  // namespace

ListView::ListView(QWidget* parent, bool listColours)
    : QTableView(parent), rows_(new RowsModel(this, listColours)) {
  setHorizontalHeader(new ListHeader(this));
  setModel(rows_);
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setTabKeyNavigation(false);
  // Scrolling during a drag of a row follows the editor's own rule.
  setAutoScroll(false);

  if (listColours) {
    QPalette p = palette();
    p.setColor(QPalette::Base, rgb(res::LIST_BACKGROUND));
    p.setColor(QPalette::Text, rgb(res::LIST_TEXT));
    setPalette(p);
  }

  QHeaderView* rowsHeader = verticalHeader();
  rowsHeader->hide();
  rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
  rowsHeader->setMinimumSectionSize(1);
  rowsHeader->setDefaultSectionSize(fontMetrics().height() + 3);

  QHeaderView* columns = horizontalHeader();
  // Dragging a header's edge sizes its column; a double click on the edge
  // fits the column to its widest cell in view (the table view's own
  // answer to it), never narrower than its caption.
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setSectionsClickable(true);
  columns->setHighlightSections(false);
  columns->setStretchLastSection(false);
  columns->setMinimumSectionSize(1);
  columns->setDefaultAlignment(Qt::AlignCenter);
  connect(columns, &QHeaderView::sectionClicked, this, [this](int) {
    if (onColumnClick) onColumnClick();
  });
}

void ListView::addColumn(const QString& header, int width) {
  rows_->addColumn(header);
  const int fitting = static_cast<const ListHeader*>(horizontalHeader())->captionWidth(header);
  horizontalHeader()->resizeSection(rows_->headerCount() - 1, std::max(width, fitting));
}

std::vector<int> ListView::selectedRows() const {
  rows_->flush();
  std::vector<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void ListView::selectRows(const std::vector<int>& rows) {
  rows_->flush();
  QItemSelection selection;
  const int last = rows_->columnCount() - 1;
  for (int row : rows) {
    if (row < 0 || row >= rows_->rows() || last < 0) continue;
    selection.select(rows_->index(row, 0), rows_->index(row, last));
  }
  // The keyboard goes on from the first of them, in the column it was in.
  if (!selection.isEmpty()) {
    const int row = selection.front().top();
    const int column = std::clamp(currentIndex().column(), 0, last);
    selectionModel()->setCurrentIndex(rows_->index(row, column), QItemSelectionModel::NoUpdate);
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void ListView::ensureVisible(int row) {
  rows_->flush();
  if (row < 0 || row >= rows_->rows() || rows_->columnCount() == 0) return;
  const int across = horizontalScrollBar()->value();
  scrollTo(rows_->index(row, 0), QAbstractItemView::EnsureVisible);
  horizontalScrollBar()->setValue(across);
}

// Arrows, Home, End, the page keys, type-ahead, Shift and Ctrl with any of
// them: whatever changes which rows are selected is one pick. A key that
// leaves the selection as it was (Home on the first row) is none.
void ListView::keyPressEvent(QKeyEvent* event) {
  const std::vector<int> before = selectedRows();
  QTableView::keyPressEvent(event);
  if (onClick && selectedRows() != before) onClick();
}

QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  rows_->flush();
  if ((action == MoveHome || action == MoveEnd) && rows_->rows() > 0 && rows_->columnCount() > 0) {
    const int column = std::max(currentIndex().column(), 0);
    return rows_->index(action == MoveHome ? 0 : rows_->rows() - 1, column);
  }
  // Left and Right scroll the columns and leave the selection alone.
  if (action == MoveLeft || action == MoveRight) {
    horizontalScrollBar()->triggerAction(action == MoveLeft ? QAbstractSlider::SliderSingleStepSub
                                                            : QAbstractSlider::SliderSingleStepAdd);
    return currentIndex();
  }
  return QTableView::moveCursor(action, modifiers);
}

// Typing finds a row by its name. The view searches the column of its
// current cell: the name's column becomes current first.
void ListView::keyboardSearch(const QString& search) {
  rows_->flush();
  const int column = editor::nameColumn(rows_->columnCount());
  if (column != 0 && rows_->rows() > 0 && currentIndex().column() != column) {
    const int row = std::max(currentIndex().row(), 0);
    selectionModel()->setCurrentIndex(rows_->index(row, column), QItemSelectionModel::NoUpdate);
  }
  QTableView::keyboardSearch(search);
}

void ListView::showInsertion(int row) {
  if (row == insertion_) return;
  insertion_ = row;
  viewport()->update();
}

// A bar two pixels high across the rows, with short upright ends, so that
// it stands out from the grid lines.
QRect ListView::insertionBar() const {
  if (insertion_ < 0) return {};
  rows_->flush();
  const int count = rows_->rows();
  if (count == 0 || rows_->columnCount() == 0) return {};
  const int row = std::min(insertion_, count);
  const int y = row < count ? rowViewportPosition(row)
                            : rowViewportPosition(count - 1) + rowHeight(count - 1);
  const int left = std::max(0, -horizontalOffset());
  const int right =
      std::min(viewport()->width(), horizontalHeader()->length() - horizontalOffset()) - 1;
  return QRect(left, y - 1, right - left + 1, 2);
}

void ListView::paintInsertion(QPainter& painter, QPoint offset) const {
  const QRect bar = insertionBar().translated(offset);
  if (bar.isNull()) return;
  const QColor ink = palette().color(QPalette::Text);
  painter.fillRect(bar, ink);
  painter.fillRect(QRect(bar.left(), bar.top() - 3, 2, 8), ink);
  painter.fillRect(QRect(bar.right() - 1, bar.top() - 3, 2, 8), ink);
}

void ListView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  QPainter painter(viewport());
  paintInsertion(painter, {});
  if (std::exchange(refilled_, false)) editor::trace::mark(editor::trace::LIST_PAINTED);
}

int ListView::topRow() const {
  rows_->flush();
  const int row = rowAt(0);
  return row < 0 ? 0 : row;
}

int ListView::rowsPerPage() const {
  const int height = verticalHeader()->defaultSectionSize();
  return height > 0 ? viewport()->height() / height : 0;
}

int ListView::rowAtHeight(int y) const {
  rows_->flush();
  return rowAt(y);
}

int ListView::rowHeightPixels() const {
  rows_->flush();
  const int h = model()->rowCount() > 0 ? rowHeight(0) : verticalHeader()->defaultSectionSize();
  return h > 0 ? h : 1;
}

void ListView::setDragging(bool on) {
  // A drag abandoned while the button is still down ends the gesture: the
  // moves up to the release sweep no selection, the release is no click.
  if (dragging_ && !on) afterDrag_ = true;
  dragging_ = on;
  pressRow_ = -1;
}

void ListView::mousePressEvent(QMouseEvent* event) {
  pressRow_ = -1;
  afterDrag_ = false;
  pressSelection_ = selectedRows();
  if (event->button() == Qt::LeftButton && !dragging_) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) {
      pressRow_ = index.row();
      pressPos_ = event->position().toPoint();
    }
  }
  QTableView::mousePressEvent(event);
}

void ListView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  if (dragging_) {
    if (onDragMove) onDragMove(global);
    return;
  }
  if (afterDrag_ && (event->buttons() & Qt::LeftButton)) return;
  if (pressRow_ >= 0 && (event->buttons() & Qt::LeftButton)) {
    if ((event->position().toPoint() - pressPos_).manhattanLength() >=
        QApplication::startDragDistance()) {
      const int row = std::exchange(pressRow_, -1);
      // The press picked the row: the logic hears of it before the drag.
      if (onClick && selectedRows() != pressSelection_) onClick();
      if (onDragBegin) onDragBegin(row);
      if (dragging_ && onDragMove) onDragMove(global);
    }
    return;
  }
  QTableView::mouseMoveEvent(event);
}

void ListView::mouseReleaseEvent(QMouseEvent* event) {
  pressRow_ = -1;
  if (dragging_ && event->button() == Qt::LeftButton) {
    // The selection stays as the drag found it: the rows dragged out of the
    // list are the ones to remove.
    setState(NoState);
    if (onDragRelease) onDragRelease(event->globalPosition().toPoint());
    afterDrag_ = false;
    return;
  }
  if (std::exchange(afterDrag_, false) && event->button() == Qt::LeftButton) {
    setState(NoState);
    return;
  }
  QTableView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && onClick) {
    onClick();
  } else if (event->button() == Qt::RightButton && onRightClick) {
    onRightClick();
  }
}

}  // namespace velmora::qt
