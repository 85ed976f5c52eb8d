// The real Qt window on the offscreen platform: opening and saving files,
// entries added and names typed through the widgets, and the dialogs and
// messages the window shows.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStyle>

#include "editor_window_fixture.h"

namespace velmora::qt {
namespace {

using namespace velmora::res;

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
      // The list's columns fit beside its scroll bar, with none across.
      EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
      if (attempt.listBox) {
        QTest::mouseClick(box->findChild<QCheckBox*>(), Qt::LeftButton);
        list = box->findChild<QListWidget*>();
      }
      // Every caption over the lines, and every button, shows its text whole.
      for (const QPushButton* b : box->findChildren<QPushButton*>()) {
        const int margins = 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
        EXPECT_TRUE(!b->isVisible() ||
                    b->fontMetrics().horizontalAdvance(b->text()) + margins <= b->width())
            << b->text().toStdString();
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
