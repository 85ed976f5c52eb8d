// Sees every key press of one window before any of its widgets (or the
// window's own default-button and Esc handling) does.
#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace velmora::qt {

// The keys the editor handles, as the virtual-key codes it knows them by
// (res::VK_*); 0 for any other key.
int virtualKey(int qtKey);

class WindowKeys final : public QObject {
 public:
  // `onKey` returns true when the key is used up and no widget may see it.
  WindowKeys(QWidget* window, std::function<bool(const QKeyEvent&)> onKey);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<bool(const QKeyEvent&)> onKey_;
};

}  // namespace velmora::qt
