// Each control of a window's template made as a Qt widget, its signals
// forwarded as the user's events.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTabWidget>

#include "qt/images.h"
#include "qt/list_view.h"
#include "qt/qt_controls.h"
#include "qt/western.h"

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
    // The etched frame: a dark rectangle and a light one a pixel further
    // in and right, each edge filled as a strip one pixel wide inside the
    // box, so that a scaled screen rounds it to whole device pixels and
    // never drops the right or bottom edge outside the widget.
    const QRect frame = rect().adjusted(0, fm.height() / 2, 0, 0);
    const auto outline = [&painter](const QRect& r, const QColor& colour) {
      painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
      painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
      painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
      painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
    };
    outline(frame.adjusted(0, 0, -1, -1), palette().color(QPalette::Mid));
    outline(frame.adjusted(1, 1, 0, 0), palette().color(QPalette::Light));
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
      view->onClick = [this, id, view] {
        if (events_) events_->listClick(id, view->selectedRows());
      };
      view->onRightClick = [this, id] {
        if (events_) events_->listRightClick(id);
      };
      QObject::connect(view, &QAbstractItemView::doubleClicked, view,
                       [this, id](const QModelIndex& index) {
                         if (events_ && index.isValid()) events_->listDoubleClick(id);
                       });
      view->onColumnClick = [this, id] {
        if (events_) events_->columnClick(id);
      };
      view->onDragBegin = [this, id](int row) {
        if (events_) events_->dragBegin(id, row);
      };
      view->onDragMove = [this](QPoint global) { drag_.pointer(global, false); };
      view->onDragRelease = [this](QPoint global) { drag_.pointer(global, true); };
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
    case K::SearchEdit: {
      auto* edit = new QLineEdit(fromBytes(def.text), parent);
      // `textEdited` comes only from the user, never from setText.
      QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id](const QString&) {
        if (events_) events_->command(id);
      });
      return edit;
    }
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

}  // namespace velmora::qt
