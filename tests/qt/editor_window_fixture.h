// The real Qt window on the offscreen platform with the editor behind it,
// for the tests that drive it with mouse clicks and key presses.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWindow>
#include <set>

#include "editor/editor_dialog.h"
#include "layout.h"
#include "qt/editor_window.h"
#include "qt/list_view.h"
#include "qt/qt_prompts.h"
#include "resource_ids.h"
#include "scripted_prompts.h"
#include "support/db_builders.h"
#include "support/editor_load.h"
#include "wdb/wdb_format.h"

namespace velmora::qt {

using namespace velmora::res;

class QtEditor : public ::testing::Test {
 protected:
  QtEditor() : prompts(&window), editor(window.controls(), prompts, {VELMORA_PROGRAM_DIR, {}}) {
    window.attach(editor);
    editor.initDialog();
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QWidget* w(int id) { return window.controls().widget(id); }
  template <class W>
  W* as(int id) {
    return dynamic_cast<W*>(w(id));
  }

  void clickTab(int index) {
    auto* bar = as<QTabWidget>(IDC_TAB)->findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  void clickRow(int listId, int row, Qt::MouseButton button = Qt::LeftButton) {
    auto* view = as<ListView>(listId);
    view->rows().flush();
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), button, {}, cell.center());
  }
  // A key as the keyboard sends it: to the window, which hands it to the
  // widget that has the focus.
  void press(int focusId, Qt::Key key) {
    w(focusId)->setFocus();
    QTest::keyClick(window.windowHandle(), key);
  }
  std::set<int> visibleIds() {
    std::set<int> out;
    for (const ControlDef& def : editorDialog().controls) {
      if (def.id != -1 && w(def.id)->isVisible()) out.insert(def.id);
    }
    return out;
  }
  void loadSatellites(std::initializer_list<const char*> names) {
    ChannelDb db;
    for (const char* name : names) db.appendSatellite(test::makeSat(name, "0192"));
    test::load(editor, std::move(db));
    QCoreApplication::processEvents();  // the rows reach the view
  }

  EditorWindow window;
  ScriptedPrompts prompts;
  editor::EditorDialog editor;
};

}  // namespace velmora::qt
