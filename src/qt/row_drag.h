// Dragging a row of a list to another place: the image of the row follows
// the pointer, a line across the list shows where it would land, and the
// whole program is watched until the release. The editor decides what the
// drag does; this reports the row the pointer points between, scrolls the
// list while the pointer rests at its edges, and draws what the editor
// shows.
#pragma once

#include <QPoint>
#include <QPointer>
#include <unordered_map>

#include "editor/port.h"

class QDialog;
class QLabel;
class QTimer;
class QWidget;

namespace velmora::qt {

class ListView;

class RowDrag {
 public:
  // `widgets`: the window's controls by id, the lists and the tab strip
  // among them; `dialog`: the window.
  RowDrag(QDialog* dialog, const std::unordered_map<int, QWidget*>& widgets);
  // A drag still under way ends with the window's controls.
  ~RowDrag();
  RowDrag(const RowDrag&) = delete;
  RowDrag& operator=(const RowDrag&) = delete;

  void setEvents(editor::ControlEvents* events) { events_ = events; }
  // Row `row` of `view` begins to move, its image held at (hotX, hotY).
  void begin(ListView* view, int row, int hotX, int hotY);
  void end();
  // The drop line above row `row` of `view`; none for a null view.
  void showInsertion(ListView* view, int row);
  // The forbidden sign as the pointer, or the normal pointer again.
  void showNoDrop(bool noDrop);
  // The pointer during a drag: the image follows it, and the editor hears
  // where the row would land.
  void pointer(QPoint global, bool released);
  // The image that follows the pointer; nullptr while no row is dragged.
  QLabel* image() const { return image_; }

 private:
  // The drag abandoned: the editor hears it, and the image and the line go.
  void cancel();
  // Scrolls the dragged row's list while the pointer is near its top or
  // bottom edge (not over `overList`, the tab strip).
  void autoScroll(QPoint global, int overList);
  // How often a list scrolls while the pointer stays near its edge.
  static constexpr int AUTO_SCROLL_MS = 50;
  class Watch;
  class Image;

  QPointer<QDialog> dialog_;
  const std::unordered_map<int, QWidget*>& widgets_;
  editor::ControlEvents* events_ = nullptr;
  QPointer<ListView> list_;
  QPointer<ListView> lineList_;
  QLabel* image_ = nullptr;
  QPoint hotSpot_;
  QPoint last_;
  bool noDrop_ = false;
  QTimer* repeat_ = nullptr;
  Watch* watch_ = nullptr;
};

}  // namespace velmora::qt
