#include "qt/qt_controls.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <QtGlobal>
#include <utility>

#include "editor/trace.h"
#include "qt/images.h"
#include "qt/list_view.h"
#include "qt/western.h"
#include "resource_ids.h"

namespace velmora::qt {

namespace {

using K = res::ControlKind;

// A static text showing a value on one line. A value too long for it (a
// deep file path) loses its middle, so that its start and its end, the
// file's name, stay in view; the control's tip shows the whole of it.
class ValueLabel final : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QRect area = contentsRect();
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()));
  }
};

// A group frame as dialogs draw it: an etched rectangle whose top line the
// title interrupts, the controls inside being the window's own.
class FrameGroup final : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics fm(font());
    const QRect frame = rect().adjusted(0, fm.height() / 2, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
    if (title().isEmpty()) return;
    const QRect label(fm.averageCharWidth(), 0, fm.horizontalAdvance(title()), fm.height());
    painter.fillRect(label, palette().window());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title());
  }
};

// Static texts break their lines between words, as dialog texts do.
QLabel* makeLabel(QLabel* label, const res::ControlDef& def) {
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  // Opaque, as dialog statics are: the Transponder tab shows both "SAT
  // Name" captions at one place, and the second must cover the first.
  label->setAutoFillBackground(true);
  label->setText(fromBytes(def.text));
  return label;
}

QComboBox* makeCombo(QWidget* parent, bool editable) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(editable);
  // What the user types is never added to the items.
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMaxVisibleItems(17);
  return combo;
}

}  // namespace

QtControls::QtControls(const res::DialogDef& def, QWidget* client, QDialog* dialog)
    : metrics_(dialogMetrics(def)),
      client_(client),
      dialog_(dialog),
      mainWindow_(def.id == res::IDD_EDITOR) {
  client_->setFont(metrics_.font);
  for (const res::ControlDef& control : def.controls) {
    QWidget* w = build(control, client_);
    w->setGeometry(metrics_.toPixels(control.x, control.y, control.w, control.h));
    w->setVisible(control.visibleAtStart);
    if (control.id != -1) {
      widgets_.emplace(control.id, w);
      ids_.emplace(w, control.id);
    }
  }
}

QWidget* QtControls::build(const res::ControlDef& def, QWidget* parent) {
  const int id = def.id;
  switch (def.kind) {
    case K::Tab: {
      auto* tabs = new QTabWidget(parent);
      tabs->setFocusPolicy(Qt::TabFocus);
      // The pane in the window's own colour, as dialog tab controls draw
      // it, so that static texts over it blend in.
      tabs->setStyleSheet(QStringLiteral(
          "QTabWidget::pane { border: 1px solid palette(mid); background: palette(window); }"));
      QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this, id](int) {
        if (events_) events_->tabChanged(id);
      });
      return tabs;
    }
    case K::ListView: {
      // The green and yellow scheme belongs to the main window's lists;
      // lists in small dialogs keep the desktop's colours.
      auto* view = new ListView(parent, mainWindow_);
      view->onClick = [this, id] {
        if (events_) events_->listClick(id);
      };
      view->onRightClick = [this, id] {
        if (events_) events_->listRightClick(id);
      };
      view->onColumnClick = [this, id] {
        if (events_) events_->columnClick(id);
      };
      view->onDragBegin = [this, id](int row) {
        if (events_) events_->dragBegin(id, row);
      };
      view->onDragMove = [this](QPoint global) { dragPointer(global, false); };
      view->onDragRelease = [this](QPoint global) { dragPointer(global, true); };
      return view;
    }
    case K::GroupBox:
      return new FrameGroup(fromBytes(def.text), parent);
    case K::Label:
      return makeLabel(new QLabel(parent), def);
    case K::Value:
      return makeLabel(new ValueLabel(parent), def);
    case K::Picture: {
      auto* picture = new QLabel(parent);
      picture->setPixmap(markerPixmap(metrics_.toPixels(def.x, def.y, def.w, def.h).size()));
      return picture;
    }
    case K::Icon: {
      auto* icon = new QLabel(parent);
      icon->setPixmap(programPixmap());
      icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return icon;
    }
    case K::Edit:
      return new QLineEdit(fromBytes(def.text), parent);
    case K::NumberEdit: {
      auto* edit = new QLineEdit(fromBytes(def.text), parent);
      // Only digits can be typed; the program may still put any text in.
      edit->setValidator(
          new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
      return edit;
    }
    case K::ListBox: {
      auto* lines = new QListWidget(parent);
      lines->setSelectionMode(QAbstractItemView::SingleSelection);
      lines->setUniformItemSizes(true);
      // A line counts as chosen when the user selects it, by mouse or by
      // keyboard; the focus alone makes a line current without choosing it.
      QObject::connect(lines, &QListWidget::itemSelectionChanged, lines, [this, id] {
        if (events_) events_->lineChosen(id);
      });
      return lines;
    }
    case K::CheckBox: {
      auto* check = new QCheckBox(fromBytes(def.text), parent);
      QObject::connect(check, &QCheckBox::clicked, check, [this, id](bool) {
        if (events_) events_->command(id);
      });
      return check;
    }
    case K::ComboList:
    case K::ComboEdit: {
      QComboBox* combo = makeCombo(parent, def.kind == K::ComboEdit);
      // `activated` comes only from the user, never from a change the
      // program makes.
      QObject::connect(combo, &QComboBox::activated, combo, [this, id](int) {
        if (events_) events_->comboChanged(id);
      });
      return combo;
    }
    case K::Button:
    case K::DefButton: {
      auto* button = new QPushButton(fromBytes(def.text), parent);
      button->setAutoDefault(false);
      button->setDefault(def.kind == K::DefButton);
      QObject::connect(button, &QPushButton::clicked, button, [this, id] {
        if (events_) events_->command(id);
      });
      return button;
    }
  }
  return new QWidget(parent);
}

QWidget* QtControls::widget(int id) const {
  const auto it = widgets_.find(id);
  if (it != widgets_.end()) return it->second;
  qWarning("Velmora: no control with id %d", id);
  return nullptr;
}

template <class W>
W* QtControls::find(int id) const {
  return dynamic_cast<W*>(widget(id));
}

ListView* QtControls::list(int id) const { return find<ListView>(id); }

int QtControls::idOf(const QWidget* w) const {
  for (; w != nullptr; w = w->parentWidget()) {
    const auto it = ids_.find(w);
    if (it != ids_.end()) return it->second;
    if (w == client_) break;
  }
  return 0;
}

void QtControls::addMenuAction(int commandId, QAction* action) { actions_[commandId] = action; }

QAction* QtControls::menuAction(int commandId) const {
  const auto it = actions_.find(commandId);
  return it == actions_.end() ? nullptr : it->second;
}

// ------------------------------------------------------------ any control

void QtControls::setText(int id, std::string_view text) {
  QWidget* w = widget(id);
  const QString t = fromBytes(text);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(t);
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    const QSignalBlocker quiet(combo);
    if (combo->isEditable()) {
      combo->setEditText(t);
    } else {
      combo->setCurrentIndex(combo->findText(t, Qt::MatchExactly));
    }
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(t);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(t);
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    group->setTitle(t);
  } else if (w != nullptr) {
    w->setWindowTitle(t);
  }
}

std::string QtControls::text(int id) const {
  const QWidget* w = widget(id);
  if (const auto* edit = qobject_cast<const QLineEdit*>(w)) return toBytes(edit->text());
  if (const auto* combo = qobject_cast<const QComboBox*>(w)) return toBytes(combo->currentText());
  if (const auto* lines = qobject_cast<const QListWidget*>(w)) {
    const QList<QListWidgetItem*> chosen = lines->selectedItems();
    return chosen.isEmpty() ? std::string() : toBytes(chosen.first()->text());
  }
  if (const auto* label = qobject_cast<const QLabel*>(w)) return toBytes(label->text());
  if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
    return toBytes(button->text());
  }
  if (const auto* group = qobject_cast<const QGroupBox*>(w)) return toBytes(group->title());
  return w != nullptr ? toBytes(w->windowTitle()) : std::string();
}

// A path as the user knows it; a label shows it as plain text.
void QtControls::setPathText(int id, std::string_view path) {
  QWidget* w = widget(id);
  const QString t = fromUtf8Text(path);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(t);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setTextFormat(Qt::PlainText);
    label->setText(t);
  }
}

std::optional<char32_t> QtControls::foreignChar(int id) const {
  const QWidget* w = widget(id);
  if (const auto* edit = qobject_cast<const QLineEdit*>(w)) return qt::foreignChar(edit->text());
  if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
    return qt::foreignChar(combo->currentText());
  }
  return std::nullopt;
}

void QtControls::setVisible(int id, bool visible) {
  if (QWidget* w = widget(id)) w->setVisible(visible);
}

// The control's own state, whether or not its window is on screen yet.
bool QtControls::isVisible(int id) const {
  const QWidget* w = widget(id);
  return w != nullptr && !w->isHidden();
}

void QtControls::setEnabled(int id, bool enabled) {
  if (QWidget* w = widget(id)) w->setEnabled(enabled);
}

bool QtControls::isEnabled(int id) const {
  const QWidget* w = widget(id);
  return w != nullptr && !w->testAttribute(Qt::WA_ForceDisabled);
}

void QtControls::setToolTip(int id, std::string_view text) {
  if (QWidget* w = widget(id)) w->setToolTip(fromUtf8Text(text));
}

std::string QtControls::toolTip(int id) const {
  const QWidget* w = widget(id);
  return w != nullptr ? toUtf8Text(w->toolTip()) : std::string();
}

// ------------------------------------------------------------ combo and list boxes

// Like the dialog combo boxes the logic was written for, inserting an item
// never selects it, and deleting the selected item leaves none selected.
// A list box of text lines is addressed the same way.
void QtControls::comboInsert(int id, int index, std::string_view item) {
  QWidget* w = widget(id);
  if (auto* lines = qobject_cast<QListWidget*>(w)) {
    const QSignalBlocker quiet(lines);
    if (index < 0 || index > lines->count()) index = lines->count();
    lines->insertItem(index, fromBytes(item));
    return;
  }
  auto* combo = qobject_cast<QComboBox*>(w);
  if (combo == nullptr) return;
  const QSignalBlocker quiet(combo);
  const bool noneSelected = combo->currentIndex() < 0;
  const QString editText = combo->isEditable() ? combo->currentText() : QString();
  if (index < 0 || index > combo->count()) index = combo->count();
  combo->insertItem(index, fromBytes(item));
  if (noneSelected && combo->currentIndex() >= 0) {
    combo->setCurrentIndex(-1);
    if (combo->isEditable()) combo->setEditText(editText);
  }
}

void QtControls::comboDelete(int id, int index) {
  QWidget* w = widget(id);
  if (auto* lines = qobject_cast<QListWidget*>(w)) {
    const QSignalBlocker quiet(lines);
    if (index >= 0 && index < lines->count()) delete lines->takeItem(index);
    return;
  }
  auto* combo = qobject_cast<QComboBox*>(w);
  if (combo == nullptr || index < 0 || index >= combo->count()) return;
  const QSignalBlocker quiet(combo);
  const bool wasSelected = combo->currentIndex() == index;
  combo->removeItem(index);
  if (wasSelected) combo->setCurrentIndex(-1);
}

void QtControls::comboClear(int id) {
  QWidget* w = widget(id);
  if (auto* lines = qobject_cast<QListWidget*>(w)) {
    const QSignalBlocker quiet(lines);
    lines->clear();
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    const QSignalBlocker quiet(combo);
    combo->clear();
  }
}

int QtControls::comboCount(int id) const {
  const QWidget* w = widget(id);
  if (const auto* lines = qobject_cast<const QListWidget*>(w)) return lines->count();
  const auto* combo = qobject_cast<const QComboBox*>(w);
  return combo != nullptr ? combo->count() : 0;
}

std::string QtControls::comboItem(int id, int index) const {
  const QWidget* w = widget(id);
  if (const auto* lines = qobject_cast<const QListWidget*>(w)) {
    const QListWidgetItem* item = lines->item(index);
    return item != nullptr ? toBytes(item->text()) : std::string();
  }
  const auto* combo = qobject_cast<const QComboBox*>(w);
  if (combo == nullptr || index < 0 || index >= combo->count()) return {};
  return toBytes(combo->itemText(index));
}

void QtControls::comboSelect(int id, int index) {
  QWidget* w = widget(id);
  if (auto* lines = qobject_cast<QListWidget*>(w)) {
    const QSignalBlocker quiet(lines);
    if (index >= 0 && index < lines->count()) {
      lines->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    } else {
      lines->clearSelection();
      lines->setCurrentRow(-1);
    }
    return;
  }
  auto* combo = qobject_cast<QComboBox*>(w);
  if (combo == nullptr) return;
  const QSignalBlocker quiet(combo);
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int QtControls::comboSelection(int id) const {
  const QWidget* w = widget(id);
  if (const auto* lines = qobject_cast<const QListWidget*>(w)) {
    const QList<QListWidgetItem*> chosen = lines->selectedItems();
    return chosen.isEmpty() ? -1 : lines->row(chosen.first());
  }
  const auto* combo = qobject_cast<const QComboBox*>(w);
  return combo != nullptr ? combo->currentIndex() : -1;
}

// ------------------------------------------------------------ list views

void QtControls::listAddColumn(int id, std::string_view header, int width) {
  if (ListView* view = list(id)) view->addColumn(fromBytes(header), width);
}

int QtControls::listColumnCount(int id) const {
  const ListView* view = list(id);
  return view != nullptr ? view->rows().headerCount() : 0;
}

std::string QtControls::listColumnHeader(int id, int column) const {
  const ListView* view = list(id);
  return view != nullptr ? toBytes(view->rows().header(column)) : std::string();
}

int QtControls::listColumnWidth(int id, int column) const {
  const ListView* view = list(id);
  if (view == nullptr || column < 0 || column >= view->rows().headerCount()) return 0;
  return view->horizontalHeader()->sectionSize(column);
}

void QtControls::listInsertRow(int id, int row, const std::vector<std::string>& cells) {
  if (ListView* view = list(id)) view->rows().insert(row, cells);
}

void QtControls::listDeleteRow(int id, int row) {
  if (ListView* view = list(id)) view->rows().remove(row);
}

void QtControls::listDeleteAll(int id) {
  if (ListView* view = list(id)) {
    view->rows().removeAll();
    if (editor::trace::enabled()) view->refilled();
  }
}

int QtControls::listRowCount(int id) const {
  const ListView* view = list(id);
  return view != nullptr ? view->rows().rows() : 0;
}

std::string QtControls::listCell(int id, int row, int column) const {
  const ListView* view = list(id);
  return view != nullptr ? view->rows().cell(row, column) : std::string();
}

std::vector<int> QtControls::listSelectedRows(int id) const {
  const ListView* view = list(id);
  return view != nullptr ? view->selectedRows() : std::vector<int>();
}

void QtControls::listSelectRows(int id, const std::vector<int>& rows) {
  if (ListView* view = list(id)) view->selectRows(rows);
}

void QtControls::listEnsureVisible(int id, int row) {
  if (ListView* view = list(id)) view->ensureVisible(row);
}

void QtControls::listMoveRow(int id, int from, int to) {
  if (ListView* view = list(id)) view->rows().move(from, to);
}

void QtControls::listSetCell(int id, int row, int column, std::string_view text) {
  if (ListView* view = list(id)) view->rows().setCell(row, column, std::string(text));
}

int QtControls::listTopRow(int id) const {
  const ListView* view = list(id);
  return view != nullptr ? view->topRow() : 0;
}

int QtControls::listRowsPerPage(int id) const {
  const ListView* view = list(id);
  return view != nullptr ? view->rowsPerPage() : 0;
}

int QtControls::listRowAt(int id, int y) const {
  const ListView* view = list(id);
  return view != nullptr ? view->rowAtHeight(y) : -1;
}

int QtControls::listRowHeight(int id) const {
  const ListView* view = list(id);
  return view != nullptr ? view->rowHeightPixels() : 1;
}

// ------------------------------------------------------------ dragging a row

// While a row is dragged the whole program is watched. Esc abandons the
// drag, and no other key reaches a widget, a menu or a shortcut; so do a
// press of any button, a move without the left button (its release went
// to another program: the mouse was taken away), the window losing the
// focus (Alt+Tab) and a modal window coming up over it.
class QtControls::DragWatch final : public QObject {
 public:
  DragWatch(QtControls& controls, QObject* parent) : QObject(parent), controls_(controls) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  void stop() { QCoreApplication::instance()->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QObject* window = controls_.dialog_.data();
    const bool ourWindow =
        window != nullptr && (watched == window || watched == controls_.dialog_->windowHandle());
    switch (event->type()) {
      case QEvent::ShortcutOverride:
        // Taken by the focus widget, so no shortcut or menu key fires.
        event->accept();
        return true;
      case QEvent::KeyPress:
        if (static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape) controls_.cancelDrag();
        return true;
      case QEvent::KeyRelease:
        return true;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        controls_.cancelDrag();
        return true;
      case QEvent::MouseMove:
        if (!(static_cast<const QMouseEvent*>(event)->buttons() & Qt::LeftButton))
          controls_.cancelDrag();
        return false;
      case QEvent::WindowDeactivate:
      case QEvent::WindowBlocked:
        if (ourWindow) controls_.cancelDrag();
        return false;
      case QEvent::ApplicationDeactivate:
        controls_.cancelDrag();
        return false;
      default:
        return false;
    }
  }

 private:
  QtControls& controls_;
};

QtControls::~QtControls() {
  if (dragWatch_ != nullptr) dragWatch_->stop();
  delete dragImage_;  // with its timer and its watch
}

// The image of the dragged row. Where the desktop cannot show a window
// see-through, it hides the drop line beneath it: the line is drawn across
// the image as well.
class QtControls::DragImage final : public QLabel {
 public:
  explicit DragImage(const QtControls* controls)
      : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                            Qt::WindowDoesNotAcceptFocus),
        controls_(controls) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    const ListView* view = controls_->lineList_.data();
    if (view == nullptr) return;
    QPainter painter(this);
    view->paintInsertion(painter,
                         view->viewport()->mapToGlobal(QPoint(0, 0)) - mapToGlobal(QPoint(0, 0)));
  }

 private:
  const QtControls* controls_;
};

void QtControls::dragBegin(int id, int row, int hotX, int hotY) {
  dragEnd();
  ListView* view = list(id);
  if (view == nullptr || row < 0 || row >= view->rows().rows()) return;
  view->rows().flush();
  // The image is the row as the list shows it, as far as it is in view.
  const QRect cells =
      view->visualRect(view->model()->index(row, 0))
          .united(view->visualRect(view->model()->index(row, view->rows().headerCount() - 1)))
          .intersected(view->viewport()->rect());
  dragImage_ = new DragImage(this);
  dragImage_->setAttribute(Qt::WA_TransparentForMouseEvents);
  dragImage_->setAttribute(Qt::WA_ShowWithoutActivating);
  dragImage_->setFrameShape(QFrame::Box);
  dragImage_->setLineWidth(1);
  dragImage_->setPixmap(view->viewport()->grab(cells));
  dragImage_->adjustSize();
  dragImage_->setWindowOpacity(0.7);
  dragHotSpot_ = QPoint(hotX, hotY);
  dragList_ = view;
  view->setDragging(true);
  dragLast_ = QCursor::pos();
  dragImage_->move(dragLast_ - dragHotSpot_);
  dragImage_->show();
  // A pointer resting on the first or last row in view keeps the list
  // scrolling: its last position is reported again while it rests.
  dragRepeat_ = new QTimer(dragImage_);
  QObject::connect(dragRepeat_, &QTimer::timeout, dragImage_,
                   [this] { dragPointer(dragLast_, false); });
  dragRepeat_->start(100);
  dragWatch_ = new DragWatch(*this, dragImage_);
}

// The logic may end a drag from inside the event that ended it (the
// watch's own): the image, its timer and the watch go once that is over.
void QtControls::dragEnd() {
  if (dragList_) dragList_->setDragging(false);
  dragList_ = nullptr;
  if (dragWatch_ != nullptr) std::exchange(dragWatch_, nullptr)->stop();
  if (dragRepeat_ != nullptr) std::exchange(dragRepeat_, nullptr)->stop();
  if (QLabel* image = std::exchange(dragImage_, nullptr)) {
    image->hide();
    image->deleteLater();
  }
  dragShowInsertion(0, -1);
}

void QtControls::cancelDrag() {
  if (dragImage_ == nullptr) return;
  if (events_ != nullptr) events_->dragCancel();
  dragEnd();  // whether or not the logic did
}

void QtControls::dragShowInsertion(int id, int row) {
  ListView* view = row >= 0 ? list(id) : nullptr;
  if (lineList_ && lineList_ != view) lineList_->showInsertion(-1);
  lineList_ = view;
  if (view != nullptr) view->showInsertion(row);
  if (dragImage_ != nullptr) dragImage_->update();
}

void QtControls::dragPointer(QPoint global, bool released) {
  if (dragImage_ == nullptr) return;
  dragLast_ = global;
  dragImage_->move(global - dragHotSpot_);
  dragImage_->update();
  // The list under the pointer: its rows, its headers or its scroll bars;
  // else the tab strip.
  int overList = 0;
  QPoint at = global;
  for (const auto& [id, w] : widgets_) {
    auto* view = dynamic_cast<ListView*>(w);
    if (view == nullptr || !view->isVisible()) continue;
    if (view->rect().contains(view->mapFromGlobal(global))) {
      overList = id;
      at = view->viewport()->mapFromGlobal(global);
      break;
    }
  }
  for (const auto& [id, w] : widgets_) {
    const auto* tabs = qobject_cast<const QTabWidget*>(w);
    if (overList != 0 || tabs == nullptr || !tabs->isVisible()) continue;
    const QTabBar* strip = tabs->tabBar();
    if (strip->rect().contains(strip->mapFromGlobal(global))) {
      overList = id;
      at = strip->mapFromGlobal(global);
    }
  }
  if (events_ == nullptr) return;
  if (!released) {
    events_->dragMove(overList, at.x(), at.y());
    return;
  }
  // Let go outside the window (on the desktop, another program): the user
  // has given up the drag, which removes nothing.
  if (dialog_ && !dialog_->rect().contains(dialog_->mapFromGlobal(global))) {
    cancelDrag();
    return;
  }
  events_->dragRelease(overList, at.x(), at.y());
}

// ------------------------------------------------------------ text fields, title

void QtControls::selectAllText(int id) {
  QWidget* w = widget(id);
  if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
}

// Qt puts the "*" of a modified window where the title holds "[*]".
void QtControls::setWindowTitle(std::string_view title, bool modified) {
  if (!dialog_) return;
  // A "[*]" of the title's own would be taken for the mark.
  QString shown = fromUtf8Text(title);
  shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  dialog_->setWindowTitle(shown + QStringLiteral("[*]"));
  dialog_->setWindowModified(modified);
}

// ------------------------------------------------------------ tab strip

void QtControls::tabInsert(int id, int index, std::string_view title) {
  auto* tabs = find<QTabWidget>(id);
  if (tabs == nullptr) return;
  const QSignalBlocker quiet(tabs);
  // The pages stay empty: the lists and panels are the window's own
  // controls, drawn over the pane.
  auto* page = new QWidget;
  page->setFocusPolicy(Qt::NoFocus);
  tabs->insertTab(index, page, fromBytes(title));
}

int QtControls::tabCount(int id) const {
  const auto* tabs = find<QTabWidget>(id);
  return tabs != nullptr ? tabs->count() : 0;
}

int QtControls::tabSelection(int id) const {
  const auto* tabs = find<QTabWidget>(id);
  return tabs != nullptr ? tabs->currentIndex() : -1;
}

void QtControls::tabSelect(int id, int index) {
  auto* tabs = find<QTabWidget>(id);
  if (tabs == nullptr) return;
  const QSignalBlocker quiet(tabs);
  tabs->setCurrentIndex(index);
}

// ------------------------------------------------------------ menu, focus, end

void QtControls::menuCheck(int commandId, bool checked) {
  QAction* action = menuAction(commandId);
  if (action == nullptr) return;
  const QSignalBlocker quiet(action);
  action->setCheckable(true);
  action->setChecked(checked);
}

bool QtControls::menuChecked(int commandId) const {
  const QAction* action = menuAction(commandId);
  return action != nullptr && action->isChecked();
}

void QtControls::menuSetText(int commandId, std::string_view text) {
  if (QAction* action = menuAction(commandId)) action->setText(fromUtf8Text(text));
}

void QtControls::menuShow(int commandId, bool shown) {
  if (QAction* action = menuAction(commandId)) action->setVisible(shown);
}

void QtControls::menuEnable(int commandId, bool enabled) {
  if (QAction* action = menuAction(commandId)) action->setEnabled(enabled);
}

bool QtControls::menuEnabled(int commandId) const {
  const QAction* action = menuAction(commandId);
  return action != nullptr && action->isEnabled();
}

int QtControls::focusedControl() const {
  const QWidget* focus = QApplication::focusWidget();
  // While the window is not the active one, the widget that will have the
  // focus when it is.
  if (focus == nullptr && dialog_) focus = dialog_->focusWidget();
  return idOf(focus);
}

void QtControls::endDialog(int result) {
  if (dialog_) dialog_->done(result);
}

}  // namespace velmora::qt
