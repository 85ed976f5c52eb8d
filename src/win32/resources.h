// The icon and the toolbar images bound into Velmora.exe (velmora.rc).
#pragma once

#include "win32/win.h"

namespace velmora::win32 {

// The program icon at the system's large or small icon size for `dpi`,
// drawn at that size (the icon holds 16 to 256 pixels).
HICON programIcon(bool small, int dpi);
// The toolbar's images for `dpi`: TOOLBAR_IMAGE_W x TOOLBAR_IMAGE_H each at
// 96 DPI, larger for larger scalings (the strip drawn for the largest
// scaling at or below `dpi`, so that their pixels stay crisp); and the
// index of a toolbar command's image in it (-1 for none).
HIMAGELIST toolbarImages(int dpi);
int toolbarImageIndex(int commandId);

}  // namespace velmora::win32
