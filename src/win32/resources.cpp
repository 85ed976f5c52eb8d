#include "win32/resources.h"

#include "layout.h"
#include "resource_ids.h"
#include "win32/resource.h"

namespace velmora::win32 {

static_assert(VELMORA_RC_ICON == res::IDR_MAINFRAME);
static_assert(VELMORA_RC_TOOLBAR == res::IDR_TOOLBAR);

HICON programIcon(bool small) {
  const int size = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(VELMORA_RC_ICON),
                                       IMAGE_ICON, size, size, LR_SHARED));
}

HIMAGELIST toolbarImages() {
  // The strip is drawn by make_resources.py; magenta is transparent.
  return ImageList_LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(VELMORA_RC_TOOLBAR),
                              res::TOOLBAR_IMAGE_W, 0, RGB(255, 0, 255), IMAGE_BITMAP,
                              LR_CREATEDIBSECTION);
}

// The order of the strip (make_resources.py).
int toolbarImageIndex(int commandId) {
  switch (commandId) {
    case res::ID_TB_NEW:
      return 0;
    case res::ID_TB_OPEN:
      return 1;
    case res::ID_TB_MAKE:
      return 2;
    case res::ID_TB_SORT:
      return 3;
    default:
      return -1;
  }
}

}  // namespace velmora::win32
