// The real Qt window on the offscreen platform, driven with mouse clicks and
// key presses: does what the user does reach the editor, and does what the
// editor shows reach the screen?
#include <gtest/gtest.h>

#include <QPointer>

#include "editor_window_fixture.h"

namespace velmora::qt {
namespace {

using namespace velmora::res;

bool hasKind(const QWidget* widget, ControlKind kind) {
  switch (kind) {
    case ControlKind::Tab:
      return qobject_cast<const QTabWidget*>(widget) != nullptr;
    case ControlKind::ListView:
      return dynamic_cast<const ListView*>(widget) != nullptr;
    case ControlKind::GroupBox:
      return qobject_cast<const QGroupBox*>(widget) != nullptr;
    case ControlKind::Label:
    case ControlKind::Value:
    case ControlKind::Picture:
    case ControlKind::Icon:
      return qobject_cast<const QLabel*>(widget) != nullptr;
    case ControlKind::Edit:
    case ControlKind::NumberEdit:
    case ControlKind::SearchEdit:
      return qobject_cast<const QLineEdit*>(widget) != nullptr;
    case ControlKind::ComboList:
    case ControlKind::ComboEdit: {
      const auto* combo = qobject_cast<const QComboBox*>(widget);
      return combo != nullptr && combo->isEditable() == (kind == ControlKind::ComboEdit);
    }
    case ControlKind::Button:
    case ControlKind::DefButton:
      return qobject_cast<const QPushButton*>(widget) != nullptr;
    default:
      return false;
  }
}

TEST_F(QtEditor, EveryControlOfTheTemplateIsAWidgetOfItsKindInsideTheWindow) {
  const QRect client = window.client()->rect();
  for (const ControlDef& def : editorDialog().controls) {
    SCOPED_TRACE(def.id);
    const QWidget* widget = w(def.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(hasKind(widget, def.kind));
    EXPECT_EQ(window.controls().idOf(widget), def.id);
    if (def.visibleAtStart) {
      EXPECT_TRUE(client.contains(widget->geometry())) << "cut off by the window's edge";
    } else {
      EXPECT_FALSE(widget->isVisible()) << "a control without function is on screen";
    }
  }
  // The lists lie in the tab's pane, below its tabs; the buttons under the
  // edit group's fields.
  const QRect tab = w(IDC_TAB)->geometry();
  const QRect list = w(IDC_SAT_LIST)->geometry();
  EXPECT_TRUE(tab.contains(list));
  EXPECT_GT(list.top(), tab.top() + as<QTabWidget>(IDC_TAB)->tabBar()->height());
  EXPECT_TRUE(w(IDC_EDIT_GROUP)->geometry().contains(w(IDC_ADD)->geometry()));
  // The text of a combo's edit part belongs to the combo.
  EXPECT_EQ(window.controls().idOf(as<QComboBox>(IDC_WEB_LINK)->lineEdit()), IDC_WEB_LINK);
}

TEST_F(QtEditor, TheListsTakeWhatTheWindowGrowsByThePanelsKeepTheirSizeAtTheRight) {
  EXPECT_NE(window.minimumSize(), window.maximumSize()) << "the size hints fix the window";
  const auto place = [this](int id) { return w(id)->geometry(); };
  const QRect list = place(IDC_SAT_LIST), info = place(IDC_INFO_GROUP);
  const QRect edit = place(IDC_EDIT_GROUP), add = place(IDC_ADD), link = place(IDC_WEB_LINK);
  const int margin = window.client()->width() - info.right();
  window.resize(1200, 820);
  QTest::qWait(20);
  const QRect grown = place(IDC_SAT_LIST);
  EXPECT_GE(grown.width() - list.width(), 300);
  EXPECT_GE(grown.height() - list.height(), 200);
  EXPECT_EQ(grown.topLeft(), list.topLeft());
  EXPECT_EQ(window.client()->width() - place(IDC_INFO_GROUP).right(), margin);
  for (const auto& [before, id] :
       {std::pair{info, IDC_INFO_GROUP}, {edit, IDC_EDIT_GROUP}, {add, IDC_ADD}}) {
    EXPECT_EQ(place(id).size(), before.size());
    EXPECT_EQ(place(id).left() - before.left(), grown.width() - list.width());
  }
  EXPECT_TRUE(place(IDC_TAB).contains(grown));
  EXPECT_EQ(place(IDC_WEB_LINK).top() - link.top(), grown.height() - list.height());
  EXPECT_GT(place(IDC_WEB_LINK).top(), grown.bottom()) << "the web link stays under the lists";
  EXPECT_GT(window.controls().statusLine()->mapTo(&window, QPoint(0, 0)).y(),
            window.client()->geometry().bottom() - 1);
}

TEST_F(QtEditor, EachTabShowsExactlyItsFields) {
  const std::set<int> always = {IDC_TAB,           IDC_INFO_GROUP,   IDC_LBL_FILE,     IDC_FILE,
                                IDC_MARK_SELECTED, IDC_LBL_SELECTED, IDC_LBL_SEL_SAT,  IDC_SEL_SAT,
                                IDC_LBL_SEL_TP,    IDC_SEL_TP,       IDC_LBL_SEL_CH,   IDC_SEL_CH,
                                IDC_MARK_TOTAL,    IDC_LBL_TOTAL,    IDC_LBL_TOTAL_TP, IDC_TOTAL_TP,
                                IDC_LBL_TOTAL_CH,  IDC_TOTAL_CH,     IDC_EDIT_GROUP,   IDC_ADD,
                                IDC_CHANGE,        IDC_REMOVE,       IDC_WEB_LINK};
  const std::set<int> satellite = {1000, 1008, 1003, 1184, 1010, 1009, 1011, 1185,
                                   1183, 1014, 1015, 1016, 1017, 1035, 1036, 1163,
                                   1162, 1012, 1013, 1186, 1188, 1187, 1189};
  const std::set<int> transponder = {1002, 1008, 1027, 1018, 1019, 1020, 1021, 1023, 1024, 1025};
  const std::set<int> channel = {1005, 1027, 1022, 1029, 1004, 1028, 1032, 1030,
                                 1033, 1031, 1034, 1026, 1055, 1134, 1135};
  auto expected = [&](const std::set<int>& fields) {
    std::set<int> all = always;
    all.insert(fields.begin(), fields.end());
    return all;
  };

  EXPECT_EQ(visibleIds(), expected(satellite));
  clickTab(1);
  EXPECT_EQ(editor.currentTab(), editor::TAB_TRANSPONDER);
  EXPECT_EQ(visibleIds(), expected(transponder));
  clickTab(2);
  EXPECT_EQ(visibleIds(), expected(channel));
  clickTab(0);
  EXPECT_EQ(editor.currentTab(), editor::TAB_SATELLITE);
  EXPECT_EQ(visibleIds(), expected(satellite));
}

TEST_F(QtEditor, MenuToolbarAndTipsReadAsGiven) {
  QStringList menus;
  for (QAction* popup : window.menuBar()->actions()) menus << popup->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Option", "A&bout"}));
  auto items = [&](int popup) {
    QStringList out;
    for (QAction* a : window.menuBar()->actions()[popup]->menu()->actions()) {
      out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return out;
  };
  // The keys at the right edge; the editor's additions follow after a
  // separator at the end.
  EXPECT_EQ(items(0).mid(0, 11),
            QStringList({"&New\tCtrl+N, F2", "-", "&Open wdb/sdx File...\tCtrl+O, F3",
                         "&Save\tCtrl+S", "Save &As (*.wdb)...\tF7", "-", "&Close\tAlt+F4", "-",
                         "Apply orde&r from...", "&Update from listing...", "-"}));
  EXPECT_EQ(items(1), QStringList({"&Add", "C&hange", "&Remove", "&Move\tF5", "-", "&Sort\tF8", "-",
                                   "&Undo\tCtrl+Z", "Re&do\tCtrl+Y", "&Find...\tCtrl+F",
                                   "Find in a&ll satellites...\tCtrl+Shift+F", "-", "Cu&t\tCtrl+X",
                                   "&Copy\tCtrl+C", "&Paste\tCtrl+V"}));
  EXPECT_EQ(items(2), QStringList({"&Include(Feed/Test channel)"}));
  EXPECT_EQ(items(3), QStringList({"&About"}));

  // The option's check mark follows the editor's flag, whoever toggles it.
  QAction* option = window.menuBar()->actions()[2]->menu()->actions()[0];
  EXPECT_FALSE(option->isChecked());
  option->trigger();
  EXPECT_TRUE(option->isChecked());
  EXPECT_FALSE(editor.skipsFeedTest());
  option->trigger();
  EXPECT_FALSE(option->isChecked());
  EXPECT_TRUE(editor.skipsFeedTest());

  QStringList tips;
  for (QAction* a : window.toolBar()->actions()) {
    tips << (a->isSeparator() ? QStringLiteral("-") : a->toolTip());
    if (!a->isSeparator()) {
      EXPECT_FALSE(a->icon().isNull());
    }
  }
  EXPECT_EQ(tips, QStringList({"New", "Open a file(*.wdb)",
                               "Make [wdb] file to update the new to STB", "-", "Sort"}));
  EXPECT_EQ(window.toolBar()->iconSize(), QSize(18, 17));
  // The toolbar sits above every control.
  EXPECT_LE(window.toolBar()->geometry().bottom(), window.client()->geometry().top());

  EXPECT_EQ(w(IDC_ADD)->toolTip(), "Input each value");
  EXPECT_EQ(w(IDC_REMOVE)->toolTip(), "Remove a selected list.");
  EXPECT_EQ(w(IDC_LONGITUDE)->toolTip(),
            "SatcoDX CODE for USALS(*Range : 0001~3599).Ex)HotBird -> 0130");
}

TEST_F(QtEditor, EscapeNeverClosesTheWindowTheCloseBoxAsksTheEditor) {
  // The window can be resized and maximized.
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  press(IDC_SAT_NAME, Qt::Key_Escape);
  press(IDC_ADD, Qt::Key_Escape);
  EXPECT_TRUE(window.isVisible());

  // With unsaved satellites the editor asks before the window goes.
  test::loadUnsaved(editor, window.controls(), test::makeDb(1, 0, 0));
  prompts.answers = {editor::Answer::No};
  window.close();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "Do you want to save it before closing Velmora?");
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), ID_OK);
}

TEST_F(QtEditor, ClicksInTheListsReachTheEditor) {
  loadSatellites({"Astra-19.2E", "Hotbird-13E", "Thor-0.8W", "Amos-4W"});
  auto* view = as<ListView>(IDC_SAT_LIST);
  EXPECT_EQ(view->model()->rowCount(), 4);
  EXPECT_EQ(view->horizontalHeader()->sectionSize(1), 125) << "widths are pixels as given";

  clickRow(IDC_SAT_LIST, 1);
  EXPECT_EQ(as<QLineEdit>(IDC_SAT_NAME)->text(), "Hotbird-13E");
  EXPECT_EQ(as<QLabel>(IDC_SEL_SAT)->text(), "Hotbird-13E");

  // A right click picks the row, then offers the Edit menu.
  clickRow(IDC_SAT_LIST, 2, Qt::RightButton);
  EXPECT_EQ(as<QLineEdit>(IDC_SAT_NAME)->text(), "Thor-0.8W");
  EXPECT_EQ(prompts.contextMenus, std::vector<int>({EDIT_POPUP}));

  // A click on a column header sorts, a change when the order changes.
  ASSERT_TRUE(editor.isSaved());
  QHeaderView* header = view->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(3) + 5, header->height() / 2));
  EXPECT_FALSE(editor.isSaved());
}

TEST_F(QtEditor, EveryColumnShowsItsWholeCaption) {
  clickTab(1);
  clickTab(2);
  for (int id : {IDC_SAT_LIST, IDC_TP_LIST, IDC_SVC_LIST}) {
    const QHeaderView* h = as<ListView>(id)->horizontalHeader();
    const int margins = 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    for (int c = 0; c < h->count(); ++c) {
      const QString caption = h->model()->headerData(c, Qt::Horizontal).toString();
      EXPECT_EQ(h->fontMetrics().elidedText(caption, Qt::ElideRight, h->sectionSize(c) - margins),
                caption);
    }
  }
}

// A column sized by dragging its header's edge keeps its width in the
// window opened next.
TEST_F(QtEditor, ColumnWidthsTheUserSetAreThereTheNextTime) {
  QHeaderView* header = as<ListView>(IDC_SAT_LIST)->horizontalHeader();
  const int wide = header->sectionSize(2) + 30;
  const QPoint edge(header->sectionViewportPosition(3) - 1, header->height() / 2);
  QTest::mousePress(header->viewport(), Qt::LeftButton, {}, edge);
  QTest::mouseMove(header->viewport(), edge + QPoint(30, 0));
  QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
  const std::vector<int> widths = window.controls().listColumnWidths(IDC_SAT_LIST);
  EXPECT_EQ(widths.at(2), wide);
  window.close();
  EditorWindow next;
  ScriptedPrompts nextPrompts(&next);
  nextPrompts.settings = prompts.settings;
  editor::EditorDialog nextEditor(next.controls(), nextPrompts, {VELMORA_PROGRAM_DIR, {}});
  next.attach(nextEditor);
  nextEditor.initDialog();
  EXPECT_EQ(next.controls().listColumnWidths(IDC_SAT_LIST), widths);
}

TEST_F(QtEditor, TheTitleMarksUnsavedWork) {
  loadSatellites({"B", "A"});
  EXPECT_EQ(window.windowHandle()->title(), "Velmora 1.00");
  editor.onColumnClick(IDC_SAT_LIST);  // a sort: unsaved
  EXPECT_EQ(window.windowHandle()->title(), "Velmora 1.00*");
}

TEST_F(QtEditor, TheContextMenuGreysWhatTheEditMenuGreys) {
  QtPrompts real(&window);
  real.followMenus(&window.controls());
  auto undoRedo = [&] {
    std::vector<bool> enabled;
    QTimer::singleShot(0, [&] {
      QWidget* menu = QApplication::activePopupWidget();
      for (QAction* a : menu != nullptr ? menu->actions() : QList<QAction*>())
        if (a->data() == ID_EDIT_UNDO || a->data() == ID_EDIT_REDO)
          enabled.push_back(a->isEnabled());
      if (menu != nullptr) menu->close();
    });
    real.contextMenu(EDIT_POPUP);
    return enabled;
  };
  EXPECT_EQ(undoRedo(), std::vector<bool>({false, false}));
  window.controls().menuEnable(ID_EDIT_UNDO, true);  // as the editor does after a step
  EXPECT_EQ(undoRedo(), std::vector<bool>({true, false}));
}

TEST_F(QtEditor, HomePicksTheFirstRowAndOnlyWhenTheSelectionMoves) {
  loadSatellites({"Astra-19.2E", "Hotbird-13E", "Thor-0.8W"});
  clickRow(IDC_SAT_LIST, 1);
  press(IDC_SAT_LIST, Qt::Key_Home);
  EXPECT_EQ(as<QLineEdit>(IDC_SAT_NAME)->text(), "Astra-19.2E");
  as<QLineEdit>(IDC_SAT_NAME)->setText("typed");
  press(IDC_SAT_LIST, Qt::Key_Home);
  EXPECT_EQ(as<QLineEdit>(IDC_SAT_NAME)->text(), "typed");
}

TEST_F(QtEditor, KeysAndChoicesReachTheEditor) {
  // Enter in an edit field means Add; the field itself never sees it.
  QSignalSpy returnPressed(as<QLineEdit>(IDC_SAT_NAME), &QLineEdit::returnPressed);
  press(IDC_SAT_NAME, Qt::Key_Return);
  EXPECT_EQ(returnPressed.count(), 0);
  EXPECT_EQ(prompts.messages, std::vector<std::string>({"No Name!"}));

  // F1 shows the user guide next to the program in a help window of the
  // editor's own, which works without a web browser.
  press(IDC_SAT_NAME, Qt::Key_F1);
  auto* help = window.findChild<QTextBrowser*>(QStringLiteral("velmoraHelp"));
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->source().toLocalFile().endsWith("Velmora.html"));
  EXPECT_NE(help->toPlainText().indexOf("Velmora"), -1);
  // Whole on the screen, and Esc closes it.
  EXPECT_TRUE(help->screen()->availableGeometry().contains(help->frameGeometry()));
  help->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(help));
  // The window goes with its close: only a guarded pointer may look.
  const QPointer<QTextBrowser> shown = help;
  QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
  EXPECT_TRUE(shown.isNull() || !shown->isVisible());

  // Choosing in the web-link box opens the service's page, then the box
  // reads "Web Link" again.
  auto* links = as<QComboBox>(IDC_WEB_LINK);
  EXPECT_EQ(links->currentText(), "Web Link!");
  press(IDC_WEB_LINK, Qt::Key_Down);
  press(IDC_WEB_LINK, Qt::Key_Down);
  ASSERT_EQ(prompts.opened.size(), 2u);
  EXPECT_NE(prompts.opened[0].find("satcodx"), std::string::npos);
  EXPECT_NE(prompts.opened[1].find("lyngsat"), std::string::npos);
  EXPECT_EQ(links->currentText(), "Web Link");
}

// The keyboard starts in the Satellite list; Ctrl+Tab and Ctrl+Shift+Tab
// step through the tabs from any control and take the keyboard to the
// tab's list, as a click on a tab does; Ctrl+Z and Ctrl+Y reach the editor
// from a text field.
TEST_F(QtEditor, KeysWorkFromAnywhere) {
  EXPECT_EQ(QApplication::focusWidget(), w(IDC_SAT_LIST));
  loadSatellites({"Astra", "Hotbird"});
  EXPECT_EQ(QApplication::focusWidget(), w(IDC_SAT_LIST));

  w(IDC_SAT_NAME)->setFocus();
  QTest::keyClick(window.windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(editor.currentTab(), editor::TAB_TRANSPONDER);
  EXPECT_EQ(QApplication::focusWidget(), w(IDC_TP_LIST));
  w(IDC_FREQUENCY)->setFocus();
  QTest::keyClick(window.windowHandle(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(editor.currentTab(), editor::TAB_SATELLITE);
  EXPECT_EQ(QApplication::focusWidget(), w(IDC_SAT_LIST));
  clickTab(2);
  EXPECT_EQ(QApplication::focusWidget(), w(IDC_SVC_LIST));
  clickTab(0);
  EXPECT_EQ(QApplication::focusWidget(), w(IDC_SAT_LIST));

  clickRow(IDC_SAT_LIST, 0);
  prompts.answers = {editor::Answer::Yes};
  press(IDC_SAT_LIST, Qt::Key_Delete);
  ASSERT_EQ(editor.database().satCount, 1);
  EXPECT_EQ(QApplication::focusWidget(), w(IDC_SAT_LIST));
  w(IDC_SAT_NAME)->setFocus();
  QTest::keyClick(window.windowHandle(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(editor.database().satCount, 2);
  QTest::keyClick(window.windowHandle(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(editor.database().satCount, 1);
}

}  // namespace
}  // namespace velmora::qt
