#include "qt/images.h"

#include <QPainter>
#include <QPolygonF>

#include "resource_ids.h"

// The images are XPM, which is C source: drawn by res/images/make_images.py.
#include "images/tb_make.xpm"
#include "images/tb_new.xpm"
#include "images/tb_open.xpm"
#include "images/tb_sort.xpm"
#include "images/velmora.xpm"

namespace velmora::qt {

QPixmap programPixmap() { return QPixmap(velmora_xpm); }

QIcon programIcon() { return QIcon(programPixmap()); }

QPixmap toolbarImage(int commandId) {
  switch (commandId) {
    case res::ID_TB_NEW:
      return QPixmap(tb_new_xpm);
    case res::ID_TB_OPEN:
      return QPixmap(tb_open_xpm);
    case res::ID_TB_MAKE:
      return QPixmap(tb_make_xpm);
    case res::ID_TB_SORT:
      return QPixmap(tb_sort_xpm);
    default:
      return {};
  }
}

QPixmap markerPixmap(QSize size) {
  QPixmap pixmap(size.expandedTo({1, 1}));
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1C, 0x3C, 0x8C));
  // A small triangle pointing at the caption beside it.
  const double w = pixmap.width(), h = pixmap.height();
  const double side = std::min(w, h);
  const double top = (h - side) / 2;
  painter.drawPolygon(
      QPolygonF({QPointF(0, top), QPointF(side, top + side / 2), QPointF(0, top + side)}));
  return pixmap;
}

}  // namespace velmora::qt
