#include "qt/row_drag.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "editor/drag_keys.h"
#include "editor/drop_row.h"
#include "qt/list_view.h"
#include "qt/window_keys.h"
#include "resource_ids.h"

namespace velmora::qt {

// While a row is dragged the whole program is watched. Esc abandons the
// drag, and no other key reaches a widget, a menu or a shortcut; so do a
// press of any button, a move without the left button (its release went
// to another program: the mouse was taken away), the window losing the
// focus (Alt+Tab) and a modal window coming up over it.
class RowDrag::Watch final : public QObject {
 public:
  Watch(RowDrag& drag, QObject* parent) : QObject(parent), drag_(drag) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  void stop() { QCoreApplication::instance()->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QObject* window = drag_.dialog_.data();
    const bool ourWindow =
        window != nullptr && (watched == window || watched == drag_.dialog_->windowHandle());
    switch (event->type()) {
      case QEvent::ShortcutOverride:
        // Taken by the focus widget, so no shortcut or menu key fires.
        event->accept();
        return true;
      case QEvent::KeyPress:
        if (editor::keyWhileDragging(virtualKey(static_cast<const QKeyEvent*>(event)->key())) ==
            editor::DragKey::Abandon)
          drag_.cancel();
        return true;
      case QEvent::KeyRelease:
        return true;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        drag_.cancel();
        return true;
      case QEvent::MouseMove:
        if (!(static_cast<const QMouseEvent*>(event)->buttons() & Qt::LeftButton)) drag_.cancel();
        return false;
      case QEvent::WindowDeactivate:
      case QEvent::WindowBlocked:
        if (ourWindow) drag_.cancel();
        return false;
      case QEvent::ApplicationDeactivate:
        drag_.cancel();
        return false;
      default:
        return false;
    }
  }

 private:
  RowDrag& drag_;
};

RowDrag::RowDrag(QDialog* dialog, const std::unordered_map<int, QWidget*>& widgets)
    : dialog_(dialog), widgets_(widgets) {}

RowDrag::~RowDrag() {
  if (watch_ != nullptr) watch_->stop();
  if (noDrop_) QGuiApplication::restoreOverrideCursor();
  delete image_;  // with its timer and its watch
}

// The image of the dragged row. Where the desktop cannot show a window
// see-through, it hides the drop line beneath it: the line is drawn across
// the image as well.
class RowDrag::Image final : public QLabel {
 public:
  explicit Image(const RowDrag* drag)
      : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                            Qt::WindowDoesNotAcceptFocus),
        drag_(drag) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    const ListView* view = drag_->lineList_.data();
    if (view == nullptr) return;
    QPainter painter(this);
    view->paintInsertion(painter,
                         view->viewport()->mapToGlobal(QPoint(0, 0)) - mapToGlobal(QPoint(0, 0)));
  }

 private:
  const RowDrag* drag_;
};

void RowDrag::begin(ListView* view, int row, int hotX, int hotY) {
  view->rows().flush();
  // The image is the row as the list shows it, as far as it is in view.
  const QRect cells =
      view->visualRect(view->model()->index(row, 0))
          .united(view->visualRect(view->model()->index(row, view->rows().headerCount() - 1)))
          .intersected(view->viewport()->rect());
  image_ = new Image(this);
  image_->setAttribute(Qt::WA_TransparentForMouseEvents);
  image_->setAttribute(Qt::WA_ShowWithoutActivating);
  image_->setFrameShape(QFrame::Box);
  image_->setLineWidth(1);
  image_->setPixmap(view->viewport()->grab(cells));
  image_->adjustSize();
  image_->setWindowOpacity(0.7);
  hotSpot_ = QPoint(hotX, hotY);
  list_ = view;
  view->setDragging(true);
  last_ = QCursor::pos();
  image_->move(last_ - hotSpot_);
  image_->show();
  // A pointer held near the list's top or bottom edge keeps the list
  // scrolling: its last position is reported again while it stays there.
  repeat_ = new QTimer(image_);
  repeat_->setInterval(AUTO_SCROLL_MS);
  QObject::connect(repeat_, &QTimer::timeout, image_, [this] { pointer(last_, false); });
  watch_ = new Watch(*this, image_);
}

// The logic may end a drag from inside the event that ended it (the
// watch's own): the image, its timer and the watch go once that is over.
void RowDrag::end() {
  if (list_) list_->setDragging(false);
  list_ = nullptr;
  if (watch_ != nullptr) std::exchange(watch_, nullptr)->stop();
  if (repeat_ != nullptr) std::exchange(repeat_, nullptr)->stop();
  if (QLabel* image = std::exchange(image_, nullptr)) {
    image->hide();
    image->deleteLater();
  }
  showInsertion(nullptr, -1);
  showNoDrop(false);
}

// The pointer is the whole program's while a row is dragged, over any of
// its windows: the sign goes over whatever widget lies beneath.
void RowDrag::showNoDrop(bool noDrop) {
  if (noDrop == noDrop_ || (noDrop && image_ == nullptr)) return;
  noDrop_ = noDrop;
  if (noDrop)
    QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

void RowDrag::cancel() {
  if (image_ == nullptr) return;
  if (events_ != nullptr) events_->dragCancel();
  end();  // whether or not the logic did
}

void RowDrag::showInsertion(ListView* view, int row) {
  if (lineList_ && lineList_ != view) lineList_->showInsertion(-1);
  lineList_ = view;
  if (view != nullptr) view->showInsertion(row);
  if (image_ != nullptr) image_->update();
}

// Near the top or bottom edge of the dragged row's list, above or below
// it, the list scrolls, and the timer keeps it scrolling while the pointer
// stays; over the tab strip the pointer is on a drop target instead.
void RowDrag::autoScroll(QPoint global, int overList) {
  ListView* view = list_.data();
  int step = 0;
  if (view != nullptr && view->isVisible() && overList != res::IDC_TAB) {
    const QPoint at = view->viewport()->mapFromGlobal(global);
    if (at.x() >= 0 && at.x() < view->viewport()->width())
      step =
          editor::autoScrollStep(at.y(), view->viewport()->height(), 2 * view->rowHeightPixels());
  }
  const int scrollTo = editor::autoScrollRow(step, view != nullptr ? view->topRow() : 0,
                                             view != nullptr ? view->rowsPerPage() : 0,
                                             view != nullptr ? view->rows().rows() : 0);
  if (scrollTo >= 0) view->ensureVisible(scrollTo);
  if (repeat_ == nullptr) return;
  if (step == 0)
    repeat_->stop();
  else if (!repeat_->isActive())
    repeat_->start();
}

void RowDrag::pointer(QPoint global, bool released) {
  if (image_ == nullptr) return;
  last_ = global;
  image_->move(global - hotSpot_);
  image_->update();
  // The list under the pointer: its rows, its headers or its scroll bars;
  // else the tab strip.
  int overList = 0;
  ListView* over = nullptr;
  QPoint at = global;
  for (const auto& [id, w] : widgets_) {
    auto* view = dynamic_cast<ListView*>(w);
    if (view == nullptr || !view->isVisible()) continue;
    if (view->rect().contains(view->mapFromGlobal(global))) {
      overList = id;
      over = view;
      at = view->viewport()->mapFromGlobal(global);
      break;
    }
  }
  for (const auto& [id, w] : widgets_) {
    const auto* tabs = qobject_cast<const QTabWidget*>(w);
    if (overList != 0 || tabs == nullptr || !tabs->isVisible()) continue;
    const QTabBar* strip = tabs->tabBar();
    if (strip->rect().contains(strip->mapFromGlobal(global))) overList = id;
  }
  if (events_ == nullptr) return;
  const int row =
      over == nullptr
          ? -1
          : editor::dropRowAt(at.y(), over->rowHeightPixels(), over->topRow(), over->rows().rows(),
                              [over](int y) { return over->rowAtHeight(y); });
  if (!released) {
    events_->dragMove(overList, row);
    if (image_ != nullptr) autoScroll(global, overList);
    return;
  }
  // Let go outside the window (on the desktop, another program): the user
  // has given up the drag, which removes nothing.
  if (dialog_ && !dialog_->rect().contains(dialog_->mapFromGlobal(global))) {
    cancel();
    return;
  }
  events_->dragRelease(overList, row);
}

}  // namespace velmora::qt
