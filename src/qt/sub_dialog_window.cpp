#include "qt/sub_dialog_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "qt/images.h"
#include "qt/western.h"
#include "qt/window_keys.h"
#include "resource_ids.h"

namespace velmora::qt {

SubDialogWindow::SubDialogWindow(const res::DialogDef& def, editor::SubDialog& logic,
                                 QWidget* parent)
    : QDialog(parent), logic_(logic) {
  setWindowFlags(def.systemMenu ? Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                      Qt::WindowCloseButtonHint
                                : Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(fromBytes(def.caption));
  setWindowIcon(programIcon());
  controls_ = std::make_unique<QtControls>(def, this, this);
  setFixedSize(controls_->metrics().dialogSize(def));
  controls_->setEvents(this);
  new WindowKeys(this, [this](const QKeyEvent& key) {
    switch (key.key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (key.modifiers() & Qt::AltModifier) return false;
        command(res::ID_OK);
        return true;
      case Qt::Key_Escape:
        command(res::ID_CANCEL);
        return true;
      default:
        return false;
    }
  });
}

SubDialogWindow::~SubDialogWindow() { controls_->setEvents(nullptr); }

int SubDialogWindow::run() {
  logic_.onInit(*controls_);
  if (!ended_) exec();
  return logic_.result;
}

void SubDialogWindow::command(int id) {
  if (ended_ || !logic_.onCommand(*controls_, id)) return;
  ended_ = true;
  done(logic_.result);
}

void SubDialogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  command(res::ID_CANCEL);
}

}  // namespace velmora::qt
