// The program's own pictures: the program icon, the toolbar images and the
// small marker of the information panel.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace velmora::qt {

QIcon programIcon();
QPixmap programPixmap();
// The 18 x 17 image of a toolbar button; a null pixmap for an unknown id.
QPixmap toolbarImage(int commandId);
// The marker before "Selected Info." and "Total Num.", filling `size`.
QPixmap markerPixmap(QSize size);

}  // namespace velmora::qt
