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
#include <algorithm>
#include <utility>

#include "editor/trace.h"
#include "qt/images.h"
#include "qt/list_view.h"
#include "qt/western.h"
#include "resource_ids.h"

namespace velmora::qt {

using K = res::ControlKind;

QtControls::QtControls(const res::DialogDef& def, QWidget* client, QDialog* dialog)
    : metrics_(dialogMetrics(def)),
      client_(client),
      dialog_(dialog),
      mainWindow_(def.id == res::IDD_EDITOR),
      drag_(dialog, widgets_) {
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

void QtControls::setEnabled(int id, bool enabled) {
  if (QWidget* w = widget(id)) w->setEnabled(enabled);
}

void QtControls::setToolTip(int id, std::string_view text) {
  if (QWidget* w = widget(id)) w->setToolTip(fromUtf8Text(text));
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

void QtControls::listSetSource(int id, const editor::RowSource* source) {
  if (ListView* view = list(id)) view->rows().setSource(source);
}

void QtControls::listRowsChanged(int id, editor::ListChange change) {
  if (ListView* view = list(id)) {
    view->rows().changed(change);
    if (change.kind == editor::ListChange::Kind::Reset && editor::trace::enabled())
      view->refilled();
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

std::vector<int> QtControls::listColumnWidths(int id) const {
  const ListView* view = list(id);
  if (view == nullptr) return {};
  std::vector<int> widths;
  for (int c = 0; c < view->rows().headerCount(); ++c)
    widths.push_back(view->horizontalHeader()->sectionSize(c));
  return widths;
}

void QtControls::listEnsureVisible(int id, int row) {
  if (ListView* view = list(id)) view->ensureVisible(row);
}

// ------------------------------------------------------------ dragging a row

void QtControls::dragBegin(int id, int row, int hotX, int hotY) {
  drag_.end();
  ListView* view = list(id);
  if (view == nullptr || row < 0 || row >= view->rows().rows()) return;
  drag_.begin(view, row, hotX, hotY);
}

void QtControls::dragEnd() { drag_.end(); }

void QtControls::dragShowNoDrop(bool noDrop) { drag_.showNoDrop(noDrop); }

void QtControls::dragShowInsertion(int id, int row) {
  drag_.showInsertion(row >= 0 ? list(id) : nullptr, row);
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

// The whole text is the line's tip as well: a long one is cut at the
// window's edge.
void QtControls::setStatusText(std::string_view text) {
  if (!statusLine_) return;
  const QString shown = fromUtf8Text(text);
  statusLine_->setText(shown);
  statusLine_->setToolTip(shown);
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

void QtControls::menuSetText(int commandId, std::string_view text) {
  if (QAction* action = menuAction(commandId)) action->setText(fromUtf8Text(text));
}

void QtControls::menuShow(int commandId, bool shown) {
  if (QAction* action = menuAction(commandId)) action->setVisible(shown);
}

void QtControls::menuEnable(int commandId, bool enabled) {
  if (QAction* action = menuAction(commandId)) action->setEnabled(enabled);
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

// Only the look: the window's key filter hands Enter to the logic before
// the dialog could press the default button itself.
void QtControls::setDefaultButton(int id) {
  for (const auto& [other, w] : widgets_)
    if (auto* button = qobject_cast<QPushButton*>(w); button != nullptr && other != id)
      button->setDefault(false);
  if (auto* button = qobject_cast<QPushButton*>(widget(id))) button->setDefault(true);
}

// ------------------------------------------------------------ keyboard

// A widget in a window that is not active keeps the focus it is given
// until the window is active again, so this also holds while a modal
// window is going or the window is not yet shown.
void QtControls::focusList(int id) {
  QWidget* view = widget(id);
  if (view == nullptr || !view->isEnabled()) return;
  view->setFocus(Qt::OtherFocusReason);
}

bool QtControls::stepTab(bool back) {
  auto* tabs = find<QTabWidget>(res::IDC_TAB);
  if (tabs == nullptr || !tabs->isVisible() || !tabs->isEnabled() || tabs->count() < 2)
    return false;
  const int count = tabs->count();
  const int at = std::max(0, tabs->currentIndex());
  tabs->setCurrentIndex((at + (back ? count - 1 : 1)) % count);
  return true;
}

}  // namespace velmora::qt
