// Photographs the editor on the offscreen platform: the sample database is
// written as a receiver file and opened with F3 as a user would, a row is
// clicked on each tab, and each tab, the Add channel dialog, the About box,
// a menu, a blue tip, the Move dialog and a row being dragged are saved as
// PNG files.
//
//   velmora_screenshots [OUTPUT_FOLDER]
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "editor/editor_dialog.h"
#include "json/json_db.h"
#include "qt/editor_window.h"
#include "qt/list_view.h"
#include "resource_ids.h"
#include "scripted_prompts.h"
#include "sdx/favourites.h"
#include "wdb/wdb_format.h"

namespace {

using namespace velmora;
using namespace velmora::res;

QString outDir;

bool fail(const char* what) {
  std::fprintf(stderr, "velmora_screenshots: %s\n", what);
  return false;
}

bool save(const QPixmap& pixmap, const char* name) {
  const QString path = outDir + QLatin1Char('/') + QLatin1String(name);
  if (!pixmap.save(path)) return fail("cannot write a picture");
  std::printf("%s\n", qPrintable(path));
  return true;
}

// The sample database as the receiver file that Save would write.
bool writeSampleFile(const QString& path) {
  std::ifstream in(VELMORA_SAMPLE_DB, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  json::JsonDocument doc = json::parseDatabaseJson(text.str());
  if (!doc.ok()) return fail(doc.failure.message.c_str());
  ChannelDb db;
  if (const Failure refusal = json::fillDatabase(std::move(doc), db); refusal.failed()) {
    return fail(refusal.message.c_str());
  }
  int codeCounter = 26;
  const wdb::WriteResult image = wdb::writeWdb(
      db, wdb::Layout::TypeI, loadFavouritesBesideProgram(VELMORA_PROGRAM_DIR), codeCounter);
  if (!image.ok()) return fail(image.failure.message.c_str());
  QFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.write(reinterpret_cast<const char*>(image.bytes.data()),
                    static_cast<qint64>(image.bytes.size())) ==
             static_cast<qint64>(image.bytes.size());
}

class Session {
 public:
  Session() : prompts(&window), editor(window.controls(), prompts, {VELMORA_PROGRAM_DIR, {}}) {
    window.attach(editor);
    editor.initDialog();
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) fail("the window did not become active");
  }

  QWidget* w(int id) { return window.controls().widget(id); }
  void press(int focusId, Qt::Key key) {
    w(focusId)->setFocus();
    QTest::keyClick(window.windowHandle(), key);
  }
  void clickTab(int index) {
    auto* bar = static_cast<QTabWidget*>(w(IDC_TAB))->findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  void clickRow(int listId, int row) {
    auto* view = window.controls().list(listId);
    view->rows().flush();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(row, 1)).center());
  }
  QPixmap shot() {
    QTest::qWait(50);
    return window.grab();
  }
  // The window with another top-level window drawn where it stands over it.
  QPixmap shotWith(QWidget* top) {
    QPixmap picture = shot();
    QPainter painter(&picture);
    painter.drawPixmap(window.mapFromGlobal(top->mapToGlobal(QPoint(0, 0))), top->grab());
    return picture;
  }

  qt::EditorWindow window;
  qt::ScriptedPrompts prompts;
  editor::EditorDialog editor;
};

bool run() {
  const QString sample = outDir + QStringLiteral("/sample.wdb");
  if (!writeSampleFile(sample)) return fail("cannot write the sample database");

  Session s;
  if (!save(s.shot(), "empty.png")) return false;

  s.prompts.files = {QFile::encodeName(sample).toStdString()};
  s.press(IDC_SAT_LIST, Qt::Key_F3);
  const bool loaded = QTest::qWaitFor(
      [&] { return !s.editor.isLoading() && s.window.controls().listRowCount(IDC_SAT_LIST) > 0; });
  if (!loaded) return fail("the sample database did not load");

  s.clickRow(IDC_SAT_LIST, 1);
  if (!save(s.shot(), "satellite.png")) return false;

  s.clickTab(1);
  s.clickRow(IDC_TP_LIST, 2);
  if (!save(s.shot(), "transponder.png")) return false;

  s.clickTab(2);
  s.clickTab(0);
  s.clickRow(IDC_SAT_LIST, 0);
  s.clickTab(2);
  s.clickRow(IDC_SVC_LIST, 10);
  if (!save(s.shot(), "channel.png")) return false;

  // Save under a new name (F7): the File line shows it. (The bytes differ
  // from the sample's only where a nameless channel is now kept as "....".)
  const QString copy = outDir + QStringLiteral("/saved.wdb");
  QFile::remove(copy);
  s.prompts.files = {QFile::encodeName(copy).toStdString()};
  s.press(IDC_SVC_LIST, Qt::Key_F7);
  QFile a(sample), b(copy);
  if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
    return fail("the file was not saved");
  if (!save(s.shot(), "saved.png")) return false;

  // The Edit menu as it drops down from the menu bar.
  QMenu* edit = s.window.menuBar()->actions()[1]->menu();
  edit->popup(s.window.mapToGlobal(QPoint(40, s.window.menuBar()->height())));
  QTest::qWait(50);
  const bool menuSaved = save(edit->grab(), "menu_edit.png");
  edit->hide();
  if (!menuSaved) return false;

  // The blue tip of the Add button.
  QWidget* add = s.w(IDC_ADD);
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), add->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(add, &help);
  QTest::qWait(50);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowType() == Qt::ToolTip && top->isVisible() && !save(top->grab(), "tip_add.png")) {
      return false;
    }
  }

  // The Add channel dialog over the Channel tab, in both of its lists.
  bool addSaved = false;
  QTimer::singleShot(50, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || box == &s.window) return;
    if (auto* list = dynamic_cast<qt::ListView*>(box->findChild<QTableView*>())) {
      list->rows().flush();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualRect(list->model()->index(2, 1)).center());
    }
    addSaved = save(box->grab(), "add_channel.png");
    if (auto* lines = box->findChild<QCheckBox*>()) {
      QTest::mouseClick(lines, Qt::LeftButton, {}, QPoint(6, lines->height() / 2));
      QTest::qWait(20);
      addSaved = addSaved && save(box->grab(), "add_channel_lines.png");
    }
    QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
    if (box->isVisible()) box->close();
  });
  QTest::mouseClick(s.w(IDC_ADD), Qt::LeftButton);
  if (!addSaved) return fail("the Add channel dialog did not show");

  bool aboutSaved = false;
  QTimer::singleShot(50, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || box == &s.window) return;
    aboutSaved = save(box->grab(), "about.png");
    QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    if (box->isVisible()) box->close();
  });
  s.editor.onCommand(ID_ABOUT);
  if (!aboutSaved) return fail("the About box did not show");

  // The Move dialog over the Satellite tab, a position typed in, then Esc.
  s.clickTab(0);
  s.clickRow(IDC_SAT_LIST, 1);
  bool moveSaved = false;
  QTimer::singleShot(50, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || box == &s.window) return;
    if (auto* position = box->findChild<QLineEdit*>()) QTest::keyClicks(position, "4");
    box->move(s.window.mapToGlobal(QPoint(260, 220)));
    QTest::qWait(20);
    moveSaved = save(box->grab(), "move.png") && save(s.shotWith(box), "move_over_window.png");
    QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
    if (box->isVisible()) box->close();
  });
  s.press(IDC_SAT_LIST, Qt::Key_F5);
  if (!moveSaved) return fail("the Move dialog did not show");

  // A channel dragged from row 2 down the list, with its image under the
  // pointer; then dropped there.
  s.clickTab(2);
  auto* list = s.window.controls().list(IDC_SVC_LIST);
  list->rows().flush();
  QWidget* rows = list->viewport();
  const QPoint from = list->visualRect(list->model()->index(2, 1)).center();
  const QPoint to = list->visualRect(list->model()->index(7, 1)).center() + QPoint(40, 0);
  QTest::mousePress(rows, Qt::LeftButton, {}, from);
  for (int step = 1; step <= 5; ++step) QTest::mouseMove(rows, from + (to - from) * step / 5);
  QLabel* image = s.window.controls().dragImage();
  if (image == nullptr) return fail("the drag did not begin");
  const bool dragSaved = save(s.shotWith(image), "drag.png");
  QTest::mouseRelease(rows, Qt::LeftButton, {}, to);
  if (!dragSaved || !save(s.shot(), "dropped.png")) return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VELMORA_SCREENSHOT_DIR);
  if (!QDir().mkpath(outDir)) return fail("cannot make the output folder") ? 0 : 1;
  return run() ? 0 : 1;
}
