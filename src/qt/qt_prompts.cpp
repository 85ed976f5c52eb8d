#include "qt/qt_prompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSpacerItem>
#include <QTextBrowser>
#include <QThread>
#include <QUrl>
#include <algorithm>

#include "layout.h"
#include "qt/qt_controls.h"
#include "qt/save_as_dialog.h"
#include "qt/sub_dialog_window.h"
#include "qt/western.h"
#include "resource_ids.h"
#include "texts.h"

namespace velmora::qt {

QString qtFileFilter(std::string_view filter) {
  const QStringList parts = fromBytes(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters.append(parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return filters.join(QStringLiteral(";;"));
}

namespace {

// A message box. One that asks Yes or No has no way out but those two
// buttons, as on Windows: Esc and the close box do nothing, so that a
// hurried key never answers a question the user did not read.
class MessageBox final : public QMessageBox {
 public:
  MessageBox(QWidget* parent, bool mustAnswer) : QMessageBox(parent), mustAnswer_(mustAnswer) {
    if (mustAnswer_) setWindowFlag(Qt::WindowCloseButtonHint, false);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (mustAnswer_ && event->key() == Qt::Key_Escape) {
      event->accept();
      return;
    }
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    if (mustAnswer_ && clickedButton() == nullptr) {
      event->ignore();
      return;
    }
    QMessageBox::closeEvent(event);
  }

 private:
  bool mustAnswer_;
};

// A message box takes the width of its text and buttons; a caption longer
// than that would be cut in the title bar. A row across the box's grid as
// wide as the caption needs (its text in a bold title font, and room for
// the title bar's icon and buttons) widens the box to hold it.
void fitCaption(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  QFont title = box.font();
  title.setBold(true);
  const QFontMetrics fm(title);
  const int width = fm.horizontalAdvance(box.windowTitle()) + 8 * fm.height();
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

QtPrompts::QtPrompts(QWidget* parent) : parent_(parent) {}

QtPrompts::~QtPrompts() {
  for (const QPointer<QThread>& thread : threads_) {
    if (!thread) continue;
    thread->wait();
    delete thread.data();
  }
}

editor::Answer QtPrompts::message(std::string_view text, std::string_view caption,
                                  editor::Buttons buttons, editor::Icon icon) {
  const bool yesNo =
      buttons == editor::Buttons::YesNo || buttons == editor::Buttons::YesNoDefaultNo;
  MessageBox box(parent_, yesNo);
  box.setWindowTitle(fromUtf8Text(caption.empty() ? text::APP_NAME : caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(fromUtf8Text(text));
  switch (icon) {
    case editor::Icon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case editor::Icon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case editor::Icon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  switch (buttons) {
    case editor::Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case editor::Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case editor::Buttons::YesNoDefaultNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      break;
    case editor::Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
  }
  fitCaption(box);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return editor::Answer::Yes;
    case QMessageBox::No:
      return editor::Answer::No;
    case QMessageBox::Cancel:
      return editor::Answer::Cancel;
    default:
      // A box closed without a button gives the answer that changes least.
      return buttons == editor::Buttons::Ok            ? editor::Answer::Ok
             : buttons == editor::Buttons::YesNoCancel ? editor::Answer::Cancel
                                                       : editor::Answer::No;
  }
}

// The one file dialog serves opening and saving: the user may pick a file or
// type the name of one that does not exist yet, and the editor asks its own
// question before replacing a file.
std::optional<std::string> QtPrompts::chooseFile(editor::FilePurpose purpose,
                                                 std::string_view filter) {
  const bool save = purpose == editor::FilePurpose::Save;
  QFileDialog dialog(parent_, save ? QStringLiteral("Save") : QStringLiteral("Open"));
  dialog.setNameFilter(qtFileFilter(filter));
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return toUtf8Text(files.first());
}

std::vector<std::string> QtPrompts::chooseFiles(std::string_view filter) {
  QFileDialog dialog(parent_, QStringLiteral("Open"));
  dialog.setNameFilter(qtFileFilter(filter));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  std::vector<std::string> chosen;
  if (dialog.exec() != QDialog::Accepted) return chosen;
  for (const QString& file : dialog.selectedFiles()) chosen.push_back(toUtf8Text(file));
  return chosen;
}

std::optional<editor::SaveAsChoice> QtPrompts::chooseSaveAs(const editor::SaveAsRequest& request) {
  SaveAsDialog dialog(parent_, request);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return editor::SaveAsChoice{toUtf8Text(files.first()), dialog.chosenType()};
}

int QtPrompts::runModal(editor::SubDialog& dialog) {
  const res::DialogDef* def = res::subDialog(dialog.dialogId());
  if (def == nullptr) {
    qWarning("Velmora: no template for dialog %d", dialog.dialogId());
    return res::ID_CANCEL;
  }
  SubDialogWindow window(*def, dialog, parent_);
  return window.run();
}

bool QtPrompts::shellOpen(std::string_view target) {
  const QString text = fromUtf8Text(target);
  const QUrl url = text.contains(QStringLiteral("://")) ? QUrl(text) : QUrl::fromLocalFile(text);
  return QDesktopServices::openUrl(url);
}

void QtPrompts::setClipboardText(const std::string& utf8) {
  QGuiApplication::clipboard()->setText(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

// The guide opens in a window of the editor's own, so that F1 works on a
// desktop without a web browser. The window stays open beside the editor
// and is brought forward on the next F1.
namespace {

// The help window whole on the screen the main window is on: its usual
// size where that fits the work area with room for the frame, smaller
// where it does not, and in the middle of it.
void placeHelpWindow(QWidget* help, const QWidget* near) {
  QScreen* screen = near != nullptr ? near->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  // Room for the title bar and the borders, which the size leaves out.
  const int frameW = 16, frameH = 48;
  const QSize size(std::min(720, area.width() - frameW), std::min(560, area.height() - frameH));
  help->resize(size);
  help->move(area.x() + (area.width() - size.width() - frameW) / 2,
             area.y() + (area.height() - size.height() - frameH) / 2);
}

}  // namespace

void QtPrompts::showHelp(std::string_view file) {
  const QString path = fromUtf8Text(file);
  if (!QFileInfo::exists(path)) return;
  auto* browser = qobject_cast<QTextBrowser*>(help_.data());
  if (browser == nullptr) {
    browser = new QTextBrowser(parent_);
    browser->setWindowFlags(Qt::Window);
    browser->setAttribute(Qt::WA_DeleteOnClose);
    browser->setObjectName(QStringLiteral("velmoraHelp"));
    browser->setOpenExternalLinks(true);
    placeHelpWindow(browser, parent_);
    // Esc closes the help, as it does a dialog.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), browser);
    QObject::connect(close, &QShortcut::activated, browser, &QWidget::close);
    help_ = browser;
  }
  browser->setSource(QUrl::fromLocalFile(path));
  browser->setWindowTitle(browser->documentTitle().isEmpty() ? QStringLiteral("Velmora Help")
                                                             : browser->documentTitle());
  browser->show();
  browser->raise();
  browser->activateWindow();
}

// The user's settings as the desktop keeps them (a file in the user's
// configuration folder on Linux, the registry on Windows).
// A setting is kept as the text it is (a path in any script). Earlier
// versions kept its UTF-8 bytes one character each: such a value reads back
// as those bytes.
std::string QtPrompts::setting(std::string_view key) {
  const QSettings settings(QStringLiteral("Velmora"), QStringLiteral("Velmora"));
  const QString value = settings.value(fromUtf8Text(key)).toString();
  const bool bytesEach =
      std::all_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x100; }) &&
      std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() >= 0x80; });
  if (bytesEach) {
    const QByteArray bytes = value.toLatin1();
    if (QString::fromUtf8(bytes).toUtf8() == bytes)
      return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
  }
  return toUtf8Text(value);
}

void QtPrompts::setSetting(std::string_view key, std::string_view value) {
  QSettings settings(QStringLiteral("Velmora"), QStringLiteral("Velmora"));
  settings.setValue(fromUtf8Text(key), fromUtf8Text(value));
}

int QtPrompts::contextMenu(int popupIndex) {
  const auto popups = res::mainMenu();
  if (popupIndex < 0 || static_cast<std::size_t>(popupIndex) >= popups.size()) return 0;
  QMenu menu(parent_);
  for (const res::MenuItemDef& item : popups[static_cast<std::size_t>(popupIndex)].items) {
    if (item.id == 0) {
      menu.addSeparator();
    } else {
      QAction* action = menu.addAction(fromBytes(item.text));
      action->setData(item.id);
      const QAction* own = menus_ != nullptr ? menus_->menuAction(item.id) : nullptr;
      if (own == nullptr) continue;
      action->setText(own->text());
      action->setEnabled(own->isEnabled());
      action->setVisible(own->isVisible());
      action->setCheckable(own->isCheckable());
      action->setChecked(own->isChecked());
    }
  }
  const QAction* chosen = menu.exec(QCursor::pos());
  return chosen != nullptr ? chosen->data().toInt() : 0;
}

void QtPrompts::runInBackground(std::function<std::function<void()>()> work) {
  QThread* thread = QThread::create([work = std::move(work)] {
    std::function<void()> then = work();
    if (!then) return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [then = std::move(then)] { then(); }, Qt::QueuedConnection);
  });
  QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  threads_.erase(std::remove_if(threads_.begin(), threads_.end(),
                                [](const QPointer<QThread>& t) { return t.isNull(); }),
                 threads_.end());
  threads_.emplace_back(thread);
  thread->start();
}

}  // namespace velmora::qt
