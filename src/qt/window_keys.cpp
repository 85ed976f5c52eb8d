#include "qt/window_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace velmora::qt {

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
