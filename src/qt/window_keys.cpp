#include "qt/window_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include "resource_ids.h"

namespace velmora::qt {

int virtualKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return res::KEY_RETURN;
    case Qt::Key_Escape:
      return res::KEY_ESCAPE;
    case Qt::Key_Delete:
      return res::KEY_DELETE;
    case Qt::Key_F1:
      return res::KEY_F1;
    case Qt::Key_F2:
      return res::KEY_F2;
    case Qt::Key_F3:
      return res::KEY_F3;
    case Qt::Key_F5:
      return res::KEY_F5;
    case Qt::Key_F7:
      return res::KEY_F7;
    case Qt::Key_F8:
      return res::KEY_F8;
    case Qt::Key_F9:
      return res::KEY_F9;
    default:
      return 0;
  }
}

WindowKeys::WindowKeys(QWidget* window, std::function<bool(const QKeyEvent&)> onKey)
    : QObject(window), window_(window), onKey_(std::move(onKey)) {
  QCoreApplication::instance()->installEventFilter(this);
}

// A key press reaches the window's native window first, exactly once, and
// only then the focus widget and, when that ignores it, each of its parents.
// Taking it at the first step sees every key once, whatever has the focus;
// keys for popups (an open combo list, a menu) go to their own windows.
bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || watched == nullptr || !watched->isWindowType()) {
    return false;
  }
  if (watched != window_->windowHandle()) return false;
  return onKey_(*static_cast<const QKeyEvent*>(event));
}

}  // namespace velmora::qt
