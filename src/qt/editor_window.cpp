#include "qt/editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_dialog.h"
#include "editor/trace.h"
#include "layout.h"
#include "qt/images.h"
#include "qt/western.h"
#include "qt/window_keys.h"
#include "resource_ids.h"

#ifdef Q_OS_WIN
#define NOMINMAX
#include <windows.h>
#endif

namespace velmora::qt {

namespace {

QColor rgb(unsigned value) {
  return QColor(static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>(value & 0xFF));
}

}  // namespace

// Hands what the user does with the controls to the editor.
class EditorWindow::Forwarder final : public editor::ControlEvents {
 public:
  explicit Forwarder(editor::EditorDialog& editor) : editor_(editor) {}
  void command(int id) override { editor_.onCommand(id); }
  void tabChanged(int) override { editor_.onTabChanged(); }
  void listClick(int id, const std::vector<int>& rows) override { editor_.onListClick(id, rows); }
  void listRightClick(int id) override { editor_.onListRightClick(id); }
  void columnClick(int id) override { editor_.onColumnClick(id); }
  void comboChanged(int id) override { editor_.onComboChanged(id); }
  void dragBegin(int id, int row) override { editor_.onDragBegin(id, row); }
  void dragMove(int overList, int row) override { editor_.onDragMove(overList, row); }
  void dragRelease(int overList, int row) override { editor_.onDragRelease(overList, row); }
  void dragCancel() override { editor_.onDragCancel(); }

 private:
  editor::EditorDialog& editor_;
};

EditorWindow::EditorWindow() : QDialog(nullptr) {
  const res::DialogDef& def = res::editorDialog();
  // A window that can be minimised, maximised and resized; the template's
  // size is its smallest.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(fromBytes(def.caption));
  setWindowIcon(programIcon());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  // The menu bar and the toolbar sit above every control; the window grows
  // by their height.
  menuBar_ = new QMenuBar(this);
  layout->setMenuBar(menuBar_);
  toolBar_ = new QToolBar(this);
  layout->addWidget(toolBar_);
  auto* border = new QFrame(this);
  border->setFrameShape(QFrame::HLine);
  border->setFrameShadow(QFrame::Sunken);
  layout->addWidget(border);

  client_ = new QWidget(this);
  layout->addWidget(client_);
  controls_ = std::make_unique<QtControls>(def, client_, this);
  client_->setMinimumSize(controls_->metrics().dialogSize(def));
  client_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

  // The status line under the lists; the window grows by its height. Its
  // text never widens the window.
  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  auto* line = new QLabel(status);
  line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  line->setTextFormat(Qt::PlainText);
  line->setContentsMargins(6, 0, 6, 0);
  status->addWidget(line, 1);
  layout->addWidget(status);
  controls_->setStatusLine(line);

  buildMenu();
  buildToolBar();
  addToolTips();
  setMinimumSize(sizeHint());
  resize(sizeHint());
  setAcceptDrops(true);
  keys_ = new WindowKeys(this, [this](const QKeyEvent& key) { return onKey(key); });
}

EditorWindow::~EditorWindow() {
  // The controls stop reporting before the widgets go.
  controls_->setEvents(nullptr);
}

void EditorWindow::buildMenu() {
  for (const res::PopupDef& popup : res::mainMenu()) {
    QMenu* menu = menuBar_->addMenu(fromBytes(popup.title));
    for (const res::MenuItemDef& item : popup.items) {
      if (item.id == 0) {
        menu->addSeparator();
        continue;
      }
      // The keys after the first run of blanks stand at the menu's right
      // edge, as a tab puts them.
      QString text = fromBytes(item.text);
      if (const auto gap = text.indexOf(QStringLiteral("  ")); gap > 0)
        text = text.left(gap) + u'\t' + text.mid(gap).trimmed();
      QAction* action = menu->addAction(text);
      const int id = item.id;
      controls_->addMenuAction(id, action);
      connect(action, &QAction::triggered, this, [this, action, id](bool) {
        // The check mark belongs to the editor: undo Qt's own toggle.
        if (action->isCheckable()) {
          const QSignalBlocker quiet(action);
          action->setChecked(!action->isChecked());
        }
        if (editor_ != nullptr) editor_->onCommand(id);
      });
    }
  }
}

void EditorWindow::buildToolBar() {
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(res::TOOLBAR_IMAGE_W, res::TOOLBAR_IMAGE_H));
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (const int id : res::toolbarButtons()) {
    if (id == 0) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* action = toolBar_->addAction(QIcon(toolbarImage(id)), QString());
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id](bool) {
      if (editor_ != nullptr) editor_->onCommand(id);
    });
  }
}

void EditorWindow::addToolTips() {
  plainTipPalette_ = QToolTip::palette();
  blueTipPalette_ = plainTipPalette_;
  blueTipPalette_.setColor(QPalette::ToolTipBase, rgb(res::TIP_BACKGROUND));
  blueTipPalette_.setColor(QPalette::ToolTipText, rgb(res::TIP_TEXT));
  for (const res::ToolTipDef& tip : res::toolTips()) {
    if (QWidget* w = controls_->widget(tip.id)) {
      w->setToolTip(fromBytes(tip.text));
      blueTips_.insert(w);
    }
  }
  QCoreApplication::instance()->installEventFilter(this);
}

void EditorWindow::attach(editor::EditorDialog& editor) {
  editor_ = &editor;
  forwarder_ = std::make_unique<Forwarder>(editor);
  controls_->setEvents(forwarder_.get());
  for (QAction* action : toolBar_->actions()) {
    if (action->isSeparator()) continue;
    action->setToolTip(fromBytes(editor.toolbarTip(action->data().toInt())));
  }
  addSystemMenuItem();
}

bool EditorWindow::onKey(const QKeyEvent& key) {
  if (editor_ == nullptr) return false;
  // While a row is dragged no key comes here: the drag holds them all
  // (qt/row_drag.cpp).
  // With Alt held the keys belong to the window manager and the menu bar
  // (Alt+F4, mnemonics).
  if (key.modifiers() & Qt::AltModifier) return false;
  // Ctrl with a letter: the editor's added commands (Ctrl+Z, Ctrl+Y, Ctrl+F,
  // Ctrl+Shift+F).
  if (key.modifiers() & Qt::ControlModifier) {
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) return stepTab(key);
    if (key.key() < Qt::Key_A || key.key() > Qt::Key_Z) return false;
    const bool shift = (key.modifiers() & Qt::ShiftModifier) != 0;
    return editor_->onKeyDown(key.key() - Qt::Key_A + 'A', true, shift) != editor::KeyAction::Pass;
  }
  const int vk = virtualKey(key.key());
  if (vk == 0) return false;
  return editor_->onKeyDown(vk) != editor::KeyAction::Pass;
}

// Ctrl+Tab and Ctrl+Shift+Tab go through the tabs from any control of the
// window, as they do on the tab strip itself; with Shift held Qt names the
// key Backtab.
bool EditorWindow::stepTab(const QKeyEvent& key) {
  if (editor_->isDragging()) return true;
  const bool back = key.key() == Qt::Key_Backtab || (key.modifiers() & Qt::ShiftModifier) != 0;
  return controls_->stepTab(back);
}

// The four blue tips share Qt's one tip window with the toolbar's plain
// ones, so the colours are chosen each time a tip is about to show.
bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
    const bool blue = blueTips_.count(static_cast<QWidget*>(watched)) > 0;
    QToolTip::setPalette(blue ? blueTipPalette_ : plainTipPalette_);
  }
  return QDialog::eventFilter(watched, event);
}

// The layout has given the client area its new size before the window
// hears of it.
void EditorWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  growControls();
}

// The controls as the shared layout places them in a client area larger
// than the template.
void EditorWindow::growControls() {
  const res::DialogDef& def = res::editorDialog();
  const DialogMetrics& metrics = controls_->metrics();
  const QSize least = metrics.dialogSize(def);
  const int extraW = client_->width() - least.width();
  const int extraH = client_->height() - least.height();
  for (const res::ControlDef& c : def.controls) {
    if (c.neverShown) continue;
    QWidget* w = controls_->widget(c.id);
    if (w == nullptr) continue;
    const QRect r = metrics.toPixels(c.x, c.y, c.w, c.h);
    const res::PixelRect g =
        res::grownEditorRect(c.id, {r.x(), r.y(), r.width(), r.height()}, extraW, extraH);
    w->setGeometry(g.x, g.y, g.w, g.h);
  }
}

bool EditorWindow::event(QEvent* event) {
  if (event->type() == QEvent::Paint && firstShown_) {
    QTimer::singleShot(0, this, std::exchange(firstShown_, {}));
  }
  // The window and all its controls are painted in one go: the mark comes
  // once that is over.
  if (event->type() == QEvent::Paint && !firstPaintMarked_) {
    firstPaintMarked_ = true;
    if (editor::trace::enabled())
      QTimer::singleShot(0, this, [] { editor::trace::mark(editor::trace::FIRST_PAINT); });
  }
  return QDialog::event(event);
}

namespace {
// The local files a drag from the desktop carries, as UTF-8 paths; empty
// when it carries anything else.
std::vector<std::string> droppedFiles(const QMimeData* mime) {
  std::vector<std::string> files;
  if (mime == nullptr || !mime->hasUrls()) return files;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) return {};
    files.push_back(toUtf8Text(url.toLocalFile()));
  }
  return files;
}
}  // namespace

void EditorWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (editor_ != nullptr && !droppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void EditorWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = droppedFiles(event->mimeData());
  if (editor_ == nullptr || files.empty()) return;
  event->acceptProposedAction();
  // Questions the open may ask come after the drop has finished.
  QTimer::singleShot(0, this, [this, files] {
    if (editor_ != nullptr) editor_->openPaths(files);
  });
}

// The title bar's close box and Alt+F4 only ask; the editor decides, and
// ends the window with endDialog when it is really to close.
void EditorWindow::closeEvent(QCloseEvent* event) {
  if (editor_ == nullptr) {
    QDialog::closeEvent(event);
    return;
  }
  event->ignore();
  editor_->onCloseRequest();
}

#ifdef Q_OS_WIN
// On Windows the About item also sits in the window's system menu.
void EditorWindow::addSystemMenuItem() {
  const std::string text(res::stringResource(res::IDS_ABOUTBOX));
  if (text.empty()) return;
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
  if (menu == nullptr) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(res::IDM_ABOUTBOX), text.c_str());
}

bool EditorWindow::nativeEvent(const QByteArray& type, void* message, qintptr* result) {
  const auto* msg = static_cast<const MSG*>(message);
  if (editor_ != nullptr && type == "windows_generic_MSG" && msg->message == WM_SYSCOMMAND &&
      (msg->wParam & 0xFFF0) == static_cast<WPARAM>(res::IDM_ABOUTBOX)) {
    editor_->onCommand(res::IDM_ABOUTBOX);
    *result = 0;
    return true;
  }
  return QDialog::nativeEvent(type, message, result);
}
#else
// Other desktops give a program no place in the window menu; the About
// menu leads to the About box there.
void EditorWindow::addSystemMenuItem() {}
#endif

}  // namespace velmora::qt
