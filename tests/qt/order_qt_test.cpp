// Dragging rows with the mouse in the real window, and the Move dialog's
// window, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "editor/editor_dialog.h"
#include "qt/editor_window.h"
#include "qt/list_view.h"
#include "resource_ids.h"
#include "scripted_prompts.h"
#include "support/db_builders.h"
#include "support/editor_load.h"

namespace velmora::qt {
namespace {

using namespace velmora::res;

class QtOrdering : public ::testing::Test {
 protected:
  QtOrdering() : prompts(&window), editor(window.controls(), prompts, {VELMORA_PROGRAM_DIR, {}}) {
    window.attach(editor);
    editor.initDialog();
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    ChannelDb db;
    for (const char* name : {"A", "B", "C", "D", "E"})
      db.appendSatellite(test::makeSat(name, "0192"));
    test::load(editor, std::move(db));
    QCoreApplication::processEvents();
  }

  ListView* list() { return dynamic_cast<ListView*>(window.controls().widget(IDC_SAT_LIST)); }
  QPoint rowCentre(int row) { return list()->visualRect(list()->model()->index(row, 1)).center(); }
  // Presses on `row`, moves to `to` in a few steps, presses `keys`, releases the mouse.
  void drag(int row, QPoint to, std::initializer_list<Qt::Key> keys = {}) {
    QWidget* rows = list()->viewport();
    const QPoint from = rowCentre(row);
    QTest::mousePress(rows, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(rows, from + (to - from) * step / 4);
    imageWhileDragging =
        window.controls().dragImage() != nullptr && window.controls().dragImage()->isVisible();
    const QCursor* pointer = QGuiApplication::overrideCursor();
    noDropWhileDragging = pointer != nullptr && pointer->shape() == Qt::ForbiddenCursor;
    for (Qt::Key key : keys) QTest::keyClick(window.windowHandle(), key);
    QTest::mouseRelease(rows, Qt::LeftButton, {}, to);
  }
  std::string names() {
    std::string out;
    for (int r = 0; r < list()->rows().rows(); ++r) out += list()->rows().cell(r, 1);
    return out;
  }

  EditorWindow window;
  ScriptedPrompts prompts;
  editor::EditorDialog editor;
  bool imageWhileDragging = false;
  bool noDropWhileDragging = false;
};

TEST_F(QtOrdering, ARowDraggedWithTheMouseMovesToWhereItIsDropped) {
  // The pointer on the upper half of row 3: the drop point 10 pixels lower
  // is still on row 3, and B comes to stand before D.
  drag(1, rowCentre(3) - QPoint(0, 5));
  EXPECT_TRUE(imageWhileDragging);
  EXPECT_EQ(window.controls().dragImage(), nullptr);
  EXPECT_EQ(names(), "ACBDE");
  EXPECT_EQ(editor.database().sats[2].name, "B");
  EXPECT_EQ(list()->rows().cell(2, 0), " 3");
  EXPECT_EQ(list()->selectedRows(), std::vector<int>{2});

  // Below the last row: to the end.
  drag(0, rowCentre(4) + QPoint(0, 40));
  EXPECT_EQ(names(), "CBDEA");
  EXPECT_TRUE(prompts.messages.empty());
}

// Typing finds a row by its name (the second column), not by its number.
TEST_F(QtOrdering, TypingInAListFindsARowByItsName) {
  list()->setFocus();
  QTest::keyClick(list(), Qt::Key_D);
  EXPECT_EQ(list()->selectedRows(), std::vector<int>{3});
  EXPECT_EQ(list()->currentIndex().column(), 1);
}

// Released on the edit panel, past the list's edge, the row stays; over
// the panel the pointer said so, and over the list it did not.
TEST_F(QtOrdering, ARowDroppedOnThePanelStaysAndThePointerSaidNoDrop) {
  QWidget* panel = window.controls().widget(IDC_SAT_NAME);
  drag(1, list()->viewport()->mapFromGlobal(panel->mapToGlobal(panel->rect().center())));
  EXPECT_TRUE(noDropWhileDragging);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(names(), "ABCDE");
  drag(1, rowCentre(3) - QPoint(0, 5));
  EXPECT_FALSE(noDropWhileDragging);
}

TEST_F(QtOrdering, EscAbandonsADragAndNoOtherKeyActsDuringIt) {
  // F2 would empty the saved database.
  QWidget* panel = window.controls().widget(IDC_SAT_NAME);
  drag(1, list()->viewport()->mapFromGlobal(panel->mapToGlobal(panel->rect().center())),
       {Qt::Key_F2, Qt::Key_Escape});
  EXPECT_TRUE(imageWhileDragging);
  EXPECT_EQ(window.controls().dragImage(), nullptr);
  EXPECT_EQ(names(), "ABCDE");
}

TEST_F(QtOrdering, ARowLetGoOutsideTheWindowStays) {
  drag(1, list()->viewport()->mapFromGlobal(window.mapToGlobal(QPoint(window.width() + 40, 30))));
  EXPECT_EQ(names(), "ABCDE");
  EXPECT_EQ(editor.database().satCount, 5);
}

TEST_F(QtOrdering, TheMoveDialogTakesThePositionAndEsc) {
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(0));
  // The dialog is modal: type into it once it is up.
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Move");
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowSystemMenuHint);
    QTest::keyClicks(dialog->findChild<QLineEdit*>(), "3");
    QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
    // Whatever happened, the test must not hang in the dialog.
    if (dialog->isVisible()) dialog->close();
  });
  QTest::keyClick(window.windowHandle(), Qt::Key_F5);
  EXPECT_EQ(names(), "BCADE");
  // The keyboard is back in the list, on the moved row, once the window is
  // active again (the offscreen platform leaves that to the test).
  window.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(QApplication::focusWidget(), list());
  EXPECT_EQ(list()->currentIndex().row(), 2);

  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(0));
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    QTest::keyClicks(dialog->findChild<QLineEdit*>(), "5");
    QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "Esc left the dialog open";
      dialog->close();
    }
  });
  QTest::keyClick(window.windowHandle(), Qt::Key_F5);
  EXPECT_EQ(names(), "BCADE");
  EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace velmora::qt
