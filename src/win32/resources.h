// The icon and the toolbar images bound into Velmora.exe (velmora.rc).
#pragma once

#include "win32/win.h"

namespace velmora::win32 {

// The program icon, at the system's large or small icon size.
HICON programIcon(bool small);
// The toolbar's images, TOOLBAR_IMAGE_W x TOOLBAR_IMAGE_H each, and the
// index of a toolbar command's image in it (-1 for none).
HIMAGELIST toolbarImages();
int toolbarImageIndex(int commandId);

}  // namespace velmora::win32
