// Dialog units: the window templates place controls in units of a quarter
// of the dialog font's average character width and an eighth of its
// height, so a window keeps its proportions whatever font the desktop has.
#pragma once

#include <QFont>
#include <QRect>

#include "layout.h"

namespace velmora::qt {

struct DialogMetrics {
  QFont font;
  int baseX = 0;  // average character width in pixels
  int baseY = 0;  // character height in pixels

  int toPixelsX(int units) const;
  int toPixelsY(int units) const;
  QRect toPixels(int x, int y, int w, int h) const;
  QSize dialogSize(const res::DialogDef& def) const;
};

// The template's font at its point size; when the desktop lacks that family,
// its general sans font at the same size.
QFont dialogFont(const res::DialogDef& def);

// Base units as a dialog manager measures them: the width of the 52 Latin
// letters divided by 52, rounded, and the font's height.
DialogMetrics dialogMetrics(const res::DialogDef& def);

}  // namespace velmora::qt
