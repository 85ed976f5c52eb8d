// The real Qt window on the offscreen platform, driven with mouse clicks and
// key presses: does what the user does reach the editor, and does what the
// editor shows reach the screen?
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
namespace {

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
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Option", "&About"}));
  auto items = [&](int popup) {
    QStringList out;
    for (QAction* a : window.menuBar()->actions()[popup]->menu()->actions()) {
      out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return out;
  };
  // The receiver's own items as they are; the editor's additions follow
  // after a separator at the end.
  EXPECT_EQ(items(0).mid(0, 9),
            QStringList({"&New                      F2", "-", "&Open wdb/sdx File  F3",
                         "&Save (*.wdb)          F7", "-", "&Close               Alt+F4", "-",
                         "Apply order from...", "-"}));
  EXPECT_EQ(items(1),
            QStringList({"&Add", "&Change", "&Remove", "&Move      F5", "-", "&Sort        F8", "-",
                         "Undo  Ctrl+Z", "Redo  Ctrl+Y", "Find...  Ctrl+F"}));
  EXPECT_EQ(items(2), QStringList({"Include(Feed/Test channel)"}));
  EXPECT_EQ(items(3), QStringList({"About"}));

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
  // The controls sit at fixed places: the window cannot be resized.
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
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
  help->close();

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

TEST_F(QtEditor, OpeningAFileLoadsItInTheBackgroundAndShowsIt) {
  ChannelDb db = test::makeDb(3, 2, 4);
  int codeCounter = 26;
  const wdb::WriteResult image = wdb::writeWdb(db, wdb::Layout::TypeI, {}, codeCounter);
  ASSERT_TRUE(image.ok());
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("three.wdb"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(image.bytes.data()),
             static_cast<qint64>(image.bytes.size()));
  file.close();

  prompts.files = {QFile::encodeName(path).toStdString()};
  press(IDC_SAT_LIST, Qt::Key_F3);
  // The worker's result comes back through the event loop.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return !editor.isLoading() && as<ListView>(IDC_SAT_LIST)->model()->rowCount() == 3; }));
  EXPECT_EQ(as<QLabel>(IDC_FILE)->text(), path);
  EXPECT_EQ(as<QComboBox>(IDC_SVC_SAT)->count(), 3);
  EXPECT_TRUE(prompts.messages.empty());
}

// A folder and a name in any script: opened, shown, saved (an upper-case
// extension too) and opened again, the path shown as the user wrote it.
TEST_F(QtEditor, OpenAndSaveThroughAFolderAndANameInAnyScript) {
  ChannelDb db = test::makeDb(3, 2, 4);
  int codeCounter = 26;
  const wdb::WriteResult image = wdb::writeWdb(db, wdb::Layout::TypeI, {}, codeCounter);
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("Łukasz Ελλάδα €"));
  const QString path = folder + QStringLiteral("/Ελλάδα €.wdb");
  const QString saved = folder + QStringLiteral("/Łukasz €.WDB");
  QFile file(path);
  ASSERT_TRUE(QDir().mkpath(folder) && file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(image.bytes.data()), qint64(image.bytes.size()));
  file.close();
  for (const QString& name : {path, saved}) {
    press(IDC_SAT_LIST, Qt::Key_F2);
    prompts.files = {name.toUtf8().toStdString()};
    press(IDC_SAT_LIST, Qt::Key_F3);
    ASSERT_TRUE(QTest::qWaitFor([&] {
      return !editor.isLoading() && as<ListView>(IDC_SAT_LIST)->model()->rowCount() == 3;
    }));
    EXPECT_EQ(as<QLabel>(IDC_FILE)->text(), name);
    EXPECT_EQ(as<QLabel>(IDC_FILE)->toolTip(), name);
    EXPECT_TRUE(window.windowTitle().endsWith(QFileInfo(name).fileName() + QStringLiteral("[*]")));
    EXPECT_TRUE(window.controls().menuAction(ID_FILE_RECENT1)->text().endsWith(name));
    prompts.files = {saved.toUtf8().toStdString()};
    prompts.answers = {editor::Answer::Yes};  // replacing the file saved the first time
    press(IDC_SAT_LIST, Qt::Key_F7);
    EXPECT_EQ(as<QLabel>(IDC_FILE)->text(), saved);
  }
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].starts_with(saved.toUtf8().toStdString()));
  EXPECT_TRUE(QFileInfo::exists(saved));
}

TEST_F(QtEditor, ASatelliteATransponderAndAChannelAddedThroughTheWidgets) {
  auto type = [&](int id, const char* text) {
    as<QLineEdit>(id)->setText(QString::fromLatin1(text));
  };
  type(IDC_SAT_NAME, "Hotbird");
  type(IDC_LNB_FREQ1, "9750");
  type(IDC_LNB_FREQ2, "10600");
  type(IDC_LONGITUDE, "0130");
  QTest::mouseClick(as<QPushButton>(IDC_ADD), Qt::LeftButton);
  ASSERT_EQ(editor.database().satCount, 1) << (prompts.messages.empty() ? "" : prompts.messages[0]);
  EXPECT_EQ(editor.database().sats[0].name, "Hotbird-13E");
  EXPECT_EQ(as<QComboBox>(IDC_TP_SAT)->itemText(0), QStringLiteral("Hotbird-13E"));

  clickTab(1);
  type(IDC_FREQUENCY, "10992");
  type(IDC_SYMBOL_RATE, "27500");
  QTest::mouseClick(as<QPushButton>(IDC_ADD), Qt::LeftButton);
  type(IDC_FREQUENCY, "11766");
  type(IDC_SYMBOL_RATE, "29900");
  QTest::mouseClick(as<QPushButton>(IDC_ADD), Qt::LeftButton);
  ASSERT_EQ(editor.database().tpTables[0].count(), 2)
      << (prompts.messages.empty() ? "" : prompts.messages[0]);
  EXPECT_EQ(as<ListView>(IDC_TP_LIST)->model()->rowCount(), 2);

  clickTab(2);
  for (auto [id, text] : {std::pair{IDC_CH_NAME, "Rai 4"},
                          {IDC_VIDEO_PID, "522"},
                          {IDC_AUDIO_PID, "670"},
                          {IDC_PCR_PID, "522"},
                          {IDC_SERVICE_ID, "8511"}}) {
    as<QLineEdit>(id)->setText(QString::fromLatin1(text));
  }

  bool picked = false;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || box == &window) return;
    auto* list = dynamic_cast<ListView*>(box->findChild<QTableView*>());
    if (list == nullptr) return;
    list->rows().flush();  // as the event loop does before the user can click
    if (list->model()->rowCount() == 2) {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualRect(list->model()->index(1, 1)).center());
      picked = true;
    }
    QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    if (box->isVisible()) box->close();
  });
  QTest::mouseClick(as<QPushButton>(IDC_ADD), Qt::LeftButton);

  EXPECT_TRUE(picked);
  EXPECT_EQ(prompts.messages, std::vector<std::string>());
  ASSERT_EQ(editor.database().svcTables[0].count(), 1);
  EXPECT_EQ(editor.database().svcTables[0][0].name, "Rai 4");
  EXPECT_EQ(tpKeyShortPart(editor.database().svcTables[0][0].tpKey), "11766H29900");
}

// Names are Western (Windows-1252) text: a typed "€" is byte 0x80 in the
// file and "€" again on screen; a character that code page lacks is
// refused by name, never turned into "?".
TEST_F(QtEditor, ANameTypedInTheWindowIsWesternText) {
  auto type = [&](int id, const QString& text) {
    as<QLineEdit>(id)->clear();
    // QTest spells keys for ASCII only; a key beyond comes as its text.
    for (const QChar ch : text) {
      if (ch.unicode() < 0x80)
        QTest::keyClick(as<QLineEdit>(id), static_cast<char>(ch.unicode()));
      else
        QTest::sendKeyEvent(QTest::Click, as<QLineEdit>(id), Qt::Key_unknown, QString(ch),
                            Qt::NoModifier);
    }
  };
  auto add = [&](const QString& name) {
    type(IDC_SAT_NAME, name);
    as<QLineEdit>(IDC_LNB_FREQ1)->setText(QStringLiteral("9750"));
    as<QLineEdit>(IDC_LNB_FREQ2)->setText(QStringLiteral("10600"));
    as<QLineEdit>(IDC_LONGITUDE)->setText(QStringLiteral("0130"));
    QTest::mouseClick(as<QPushButton>(IDC_ADD), Qt::LeftButton);
  };
  add(QStringLiteral("Łódź"));
  EXPECT_EQ(editor.database().satCount, 0);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].find("U+0141"), std::string::npos) << prompts.messages[0];

  add(QStringLiteral("5 €"));
  ASSERT_EQ(editor.database().satCount, 1) << prompts.messages.back();
  EXPECT_EQ(editor.database().sats[0].name, "5 \x80-13E");
  as<ListView>(IDC_SAT_LIST)->rows().flush();
  EXPECT_EQ(as<ListView>(IDC_SAT_LIST)->model()->index(0, 1).data().toString(),
            QStringLiteral("5 €-13E"));

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("euro.wdb"));
  prompts.files = {QFile::encodeName(path).toStdString()};
  EXPECT_EQ(editor.saveDatabase(), editor::EditorDialog::SaveOutcome::Saved);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains(QByteArray("5 \x80-13E")));
}

TEST_F(QtEditor, AboutBoxIsBuiltFromItsTemplateAndEndsWithEnter) {
  QString caption;
  bool hasIcon = false;
  bool endedByEnter = false;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    caption = box->windowTitle();
    for (const QLabel* label : box->findChildren<QLabel*>()) {
      hasIcon = hasIcon || !label->pixmap().isNull();
    }
    QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    endedByEnter = !box->isVisible();
    // Whatever happened, the test must not hang in the box.
    if (box->isVisible()) box->close();
  });
  window.menuBar()->actions()[3]->menu()->actions()[0]->trigger();
  EXPECT_EQ(caption, "Velmora  Info.");
  EXPECT_TRUE(hasIcon);
  EXPECT_TRUE(endedByEnter);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Focus alone never picks a transponder in the Add channel dialog; a row
// chosen with the arrow keys does, in either of its lists.
TEST_F(QtEditor, TheAddChannelDialogTakesOnlyATransponderTheUserChose) {
  test::load(editor, test::makeDb(1, 3, 0));
  clickTab(2);
  struct Attempt {
    bool listBox;
    bool arrow;
  };
  for (const Attempt attempt :
       {Attempt{true, false}, Attempt{true, true}, Attempt{false, false}, Attempt{false, true}}) {
    prompts.messages.clear();
    for (auto [id, text] : {std::pair{IDC_CH_NAME, "Rai 4"},
                            {IDC_VIDEO_PID, "522"},
                            {IDC_AUDIO_PID, "670"},
                            {IDC_PCR_PID, "522"},
                            {IDC_SERVICE_ID, attempt.listBox ? "1" : "2"}}) {
      as<QLineEdit>(id)->setText(QString::fromLatin1(text));
    }
    int shown = -1;  // the row the list shows chosen
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      if (box == nullptr || box == &window) return;
      QApplication::setActiveWindow(box);
      EXPECT_TRUE(QTest::qWaitForWindowActive(box));
      auto* view = dynamic_cast<ListView*>(box->findChild<QTableView*>());
      view->rows().flush();  // as the event loop does before the user can act
      QWidget* list = view;
      if (attempt.listBox) {
        QTest::mouseClick(box->findChild<QCheckBox*>(), Qt::LeftButton);
        list = box->findChild<QListWidget*>();
      }
      list->setFocus();
      if (attempt.arrow) {
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        const auto* lines = qobject_cast<QListWidget*>(list);
        shown = lines != nullptr ? lines->currentRow() : view->selectedRows().at(0);
      }
      QTest::keyClick(box->windowHandle(), Qt::Key_Return);
      if (box->isVisible()) box->close();
    });
    QTest::mouseClick(as<QPushButton>(IDC_ADD), Qt::LeftButton);
    if (attempt.arrow) {
      EXPECT_EQ(prompts.messages, std::vector<std::string>()) << attempt.listBox;
      ASSERT_FALSE(editor.database().svcTables[0].empty());
      ASSERT_GE(shown, 0);
      EXPECT_EQ(editor.database().svcTables[0][editor.database().svcTables[0].count() - 1].tpKey,
                tpKeyLong(editor.database().tpTables[0][shown]));
    } else {
      EXPECT_EQ(prompts.messages, std::vector<std::string>{"Select a TP of lists,please!"})
          << attempt.listBox;
    }
  }
  EXPECT_EQ(editor.database().svcTables[0].count(), 2);
}

// Esc or the close box never answers a Yes/No question: the user must say
// Yes or No. A question with Cancel takes them as Cancel.
TEST(QtMessages, YesNoQuestionsWaitForAnAnswerAndCancelTakesEsc) {
  QWidget parent;
  QtPrompts prompts(&parent);
  bool openAfterEsc = false;
  bool openAfterClose = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    QTest::keyClick(box, Qt::Key_Escape);
    openAfterEsc = box->isVisible();
    box->close();
    openAfterClose = box->isVisible();
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(prompts.message("Save first?", "", editor::Buttons::YesNo, editor::Icon::Information),
            editor::Answer::Yes);
  EXPECT_TRUE(openAfterEsc);
  EXPECT_TRUE(openAfterClose);

  for (const bool useEsc : {true, false}) {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      if (useEsc)
        QTest::keyClick(box, Qt::Key_Escape);
      else
        box->close();
      if (box->isVisible()) box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(
        prompts.message("Save first?", "", editor::Buttons::YesNoCancel, editor::Icon::Information),
        editor::Answer::Cancel);
  }
}

// Files from the desktop reach the editor through the real window: dropped
// from a file manager, or named on the command line at start.
TEST_F(QtEditor, AFileDroppedOnTheWindowOpens) {
  ChannelDb db = test::makeDb(3, 2, 4);
  int codeCounter = 26;
  const wdb::WriteResult image = wdb::writeWdb(db, wdb::Layout::TypeI, {}, codeCounter);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("dropped.wdb"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(image.bytes.data()),
             static_cast<qint64>(image.bytes.size()));
  file.close();

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path)});
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(&window, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(&window, &drop);
  for (int i = 0; i < 250 && as<ListView>(IDC_SAT_LIST)->model()->rowCount() < 3; ++i)
    QTest::qWait(20);
  EXPECT_EQ(as<ListView>(IDC_SAT_LIST)->model()->rowCount(), 3);
  EXPECT_EQ(as<QLabel>(IDC_FILE)->toolTip(), path);

  // Text or a web address dropped is not a file: the window takes nothing.
  QMimeData text;
  text.setText(QStringLiteral("hello"));
  QDragEnterEvent notAFile(QPoint(20, 20), Qt::CopyAction, &text, Qt::LeftButton, {});
  QApplication::sendEvent(&window, &notAFile);
  EXPECT_FALSE(notAFile.isAccepted());
}

TEST(QtFileDialog, FilterListBecomesQtsNameFilters) {
  EXPECT_EQ(qtFileFilter("binary File(*.wdb)|*.wdb|SatcoDX File(*.sdx)|*.sdx|"
                         "SatcoDX File(*.sdx.txt)|*.txt||"),
            "binary File(*.wdb) (*.wdb);;SatcoDX File(*.sdx) (*.sdx);;"
            "SatcoDX File(*.sdx.txt) (*.txt)");
  EXPECT_EQ(qtFileFilter("Lists|*.sdx;*.txt||"), "Lists (*.sdx *.txt)");
  EXPECT_EQ(qtFileFilter(""), "");
}

}  // namespace
}  // namespace velmora::qt
