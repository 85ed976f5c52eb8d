// A small modal dialog built from its template, whose behaviour lives in a
// SubDialog of the editor logic. Everything the user does goes to that
// logic as a command with the control's id: buttons and check boxes, a
// click in a list, a choice in a combo or list box; Enter comes as OK, Esc
// and the close box as Cancel. The logic says when the dialog ends.
#pragma once

#include <QDialog>
#include <memory>

#include "editor/port.h"
#include "layout.h"
#include "qt/qt_controls.h"
#include "resource_ids.h"

namespace velmora::qt {

class SubDialogWindow final : public QDialog, private editor::ControlEvents {
 public:
  SubDialogWindow(const res::DialogDef& def, editor::SubDialog& logic, QWidget* parent);
  ~SubDialogWindow() override;

  QtControls& controls() { return *controls_; }
  // Initialises the logic, runs the window until the logic ends it, and
  // returns the logic's result.
  int run();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override {}

 private:
  void command(int id) override;
  void listClick(int id, const std::vector<int>&) override { command(id); }
  void comboChanged(int id) override { command(id); }
  void lineChosen(int id) override { command(id); }
  void listDoubleClick(int) override { command(res::ID_OK); }

  editor::SubDialog& logic_;
  std::unique_ptr<QtControls> controls_;
  bool ended_ = false;
};

}  // namespace velmora::qt
