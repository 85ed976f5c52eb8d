// The main window's place on the desktop, for the editor that keeps it
// between runs.
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "qt/qt_controls.h"

namespace velmora::qt {

editor::WindowPlace QtControls::windowPlace() const {
  if (!dialog_) return {};
  // While maximized, the rectangle it goes back to.
  const QRect r =
      dialog_->normalGeometry().isValid() ? dialog_->normalGeometry() : dialog_->geometry();
  return {r.x(), r.y(), r.width(), r.height(), dialog_->isMaximized()};
}

std::vector<editor::ScreenArea> QtControls::screenAreas() const {
  std::vector<editor::ScreenArea> areas;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect r = screen->availableGeometry();
    areas.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  return areas;
}

void QtControls::setWindowPlace(const editor::WindowPlace& place) {
  if (!dialog_) return;
  // The window's minimum size holds: a size kept at another scaling may be
  // smaller than the controls need now.
  const QSize least = dialog_->minimumSize();
  dialog_->setGeometry(place.x, place.y, std::max(place.width, least.width()),
                       std::max(place.height, least.height()));
  // Before the window shows, the state is what it shows in.
  if (place.maximized) dialog_->setWindowState(dialog_->windowState() | Qt::WindowMaximized);
}

}  // namespace velmora::qt
