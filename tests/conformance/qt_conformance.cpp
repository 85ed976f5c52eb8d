// The port's rules held by the Qt window, on the offscreen platform: the
// main window as the program builds it, worked with mouse and key events.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "conformance/port_conformance.h"
#include "qt/editor_window.h"
#include "qt/list_view.h"
#include "qt/qt_prompts.h"
#include "qt/western.h"

namespace velmora::test {
namespace {

class QtHarness {
 public:
  explicit QtHarness(EventLog& log) : sink_(log) {
    window_.controls().setEvents(&sink_);
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
  }
  ~QtHarness() {
    letGo();
    window_.controls().setEvents(nullptr);
  }
  qt::QtControls& controls() { return window_.controls(); }
  // What the view reads through its model.
  int rowCount(int list) { return window_.controls().list(list)->model()->rowCount(); }
  std::string cell(int list, int row, int column) {
    const QAbstractItemModel* model = window_.controls().list(list)->model();
    return qt::toBytes(model->data(model->index(row, column), Qt::DisplayRole).toString());
  }

  void click(int list, int row) {
    letGo();
    QTest::mouseClick(rows(list), Qt::LeftButton, {}, centre(list, row));
  }
  void beginDrag(int list, int row) {
    letGo();
    const QPoint from = centre(list, row);
    QTest::mousePress(rows(list), Qt::LeftButton, {}, from);
    held_ = {list, from};
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(rows(list), from + QPoint(0, 5 * step));
  }
  void pressEsc() { QTest::keyClick(window_.windowHandle(), Qt::Key_Escape); }
  // The button's release went to another program: the next move comes
  // without it.
  void loseCapture() {
    QWidget* viewport = rows(held_ ? held_->first : res::IDC_SAT_LIST);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    held_.reset();
  }
  bool dragShown() {
    const QLabel* image = window_.controls().dragImage();
    return image != nullptr && image->isVisible();
  }
  int currentRow(int list) { return window_.controls().list(list)->currentIndex().row(); }
  bool noDropShown() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::ForbiddenCursor;
  }
  void settle() { QCoreApplication::processEvents(); }
  bool drawnAsDefault(int id) {
    const auto* button = qobject_cast<QPushButton*>(window_.controls().widget(id));
    return button != nullptr && button->isDefault();
  }
  std::string statusText() {
    return window_.controls().statusLine()->text().toUtf8().toStdString();
  }
  int windowWidth() { return window_.width(); }
  static constexpr bool hasHeaders = true;
  void fitColumn(int list, int column) {
    settle();
    QHeaderView* header = window_.controls().list(list)->horizontalHeader();
    const QPoint edge(header->sectionViewportPosition(column) + header->sectionSize(column) - 1,
                      header->height() / 2);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, edge);
  }
  // A user at the dialog: the file type chosen in its box, the name typed,
  // Save pressed; each message box that comes up answered with OK.
  static constexpr bool drivesSaveAs = true;
  SaveAsSeen saveAs(const editor::SaveAsRequest& request, const std::vector<SaveAsStep>& steps) {
    SaveAsSeen seen;
    std::size_t next = 0;
    bool acting = false;
    QTimer user;
    user.setInterval(20);
    QObject::connect(&user, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
        return;
      }
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (dialog == nullptr || acting) return;
      acting = true;
      auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (seen.shownType < 0) {
        seen.shownFolder = qt::toUtf8Text(dialog->directory().absolutePath());
        seen.shownName = qt::toUtf8Text(name->text());
        seen.shownType = types->currentIndex();
      }
      // What the user does runs from the dialog's loop, not inside the
      // timer, so that the timer answers the boxes it brings up.
      QMetaObject::invokeMethod(
          dialog,
          [&, dialog, types, name] {
            if (next == steps.size()) {
              dialog->reject();
            } else {
              const SaveAsStep& step = steps[next++];
              if (types->currentIndex() != step.type) {
                types->setCurrentIndex(step.type);
                emit types->textActivated(types->currentText());
              }
              name->setText(qt::fromUtf8Text(step.path));
              static_cast<QDialog*>(dialog)->accept();  // Save pressed
            }
            acting = false;
          },
          Qt::QueuedConnection);
    });
    user.start();
    qt::QtPrompts prompts(&window_);
    seen.choice = prompts.chooseSaveAs(request);
    return seen;
  }
  // The offscreen platform keeps the clipboard in the process, as the
  // desktop's would for a paste into another program.
  void setClipboardText(const std::string& utf8) { qt::QtPrompts(&window_).setClipboardText(utf8); }
  std::string clipboardText() { return qt::toUtf8Text(QGuiApplication::clipboard()->text()); }
  static constexpr const char* clipboardLineEnd = "\n";

 private:
  QWidget* rows(int list) { return window_.controls().list(list)->viewport(); }
  QPoint centre(int list, int row) {
    qt::ListView* view = window_.controls().list(list);
    settle();
    return view->visualRect(view->model()->index(row, 1)).center();
  }
  // The button still down after a drag comes up where it went down.
  void letGo() {
    if (!held_) return;
    QTest::mouseRelease(rows(held_->first), Qt::LeftButton, {}, held_->second);
    held_.reset();
    settle();
  }

  qt::EditorWindow window_;
  Recorder<editor::ControlEvents> sink_;
  std::optional<std::pair<int, QPoint>> held_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, PortConformance, QtHarness);

}  // namespace velmora::test
