// The main window: menu bar and toolbar above the controls of the editor's
// template. It decides nothing itself: menu items, toolbar buttons, keys,
// clicks, tab and combo choices and close requests all go to EditorDialog.
#pragma once

#include <QDialog>
#include <QPalette>
#include <functional>
#include <memory>
#include <unordered_set>

#include "qt/qt_controls.h"

class QMenuBar;
class QToolBar;

namespace velmora::editor {
class EditorDialog;
}

namespace velmora::qt {

class WindowKeys;

class EditorWindow final : public QDialog {
 public:
  EditorWindow();
  ~EditorWindow() override;

  QtControls& controls() { return *controls_; }
  QMenuBar* menuBar() const { return menuBar_; }
  QToolBar* toolBar() const { return toolBar_; }
  // The area below the toolbar that holds the template's controls.
  QWidget* client() const { return client_; }

  // From now on every event goes to `editor`.
  void attach(editor::EditorDialog& editor);
  // Called once, when the window has first been painted.
  void setFirstShown(std::function<void()> callback) { firstShown_ = std::move(callback); }

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Files dropped from the desktop's file manager open as Open would.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Esc and the dialog's own cancel never end this window; only the
  // editor does, through endDialog.
  void reject() override {}
  bool eventFilter(QObject* watched, QEvent* event) override;
#ifdef Q_OS_WIN
  bool nativeEvent(const QByteArray& type, void* message, qintptr* result) override;
#endif

 private:
  class Forwarder;
  void buildMenu();
  void buildToolBar();
  void addToolTips();
  void addSystemMenuItem();
  bool onKey(const QKeyEvent& key);
  void growControls();
  bool stepTab(const QKeyEvent& key);

  editor::EditorDialog* editor_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QWidget* client_ = nullptr;
  std::unique_ptr<QtControls> controls_;
  std::unique_ptr<Forwarder> forwarder_;
  WindowKeys* keys_ = nullptr;
  std::unordered_set<const QWidget*> blueTips_;
  QPalette blueTipPalette_;
  QPalette plainTipPalette_;
  std::function<void()> firstShown_;
  bool firstPaintMarked_ = false;
};

}  // namespace velmora::qt
