#include "win32/resources.h"

#include "layout.h"
#include "resource_ids.h"
#include "win32/dpi.h"
#include "win32/resource.h"

namespace velmora::win32 {

static_assert(VELMORA_RC_ICON == res::IDR_MAINFRAME);
static_assert(VELMORA_RC_TOOLBAR == res::IDR_TOOLBAR);

HICON programIcon(bool small, int dpi) {
  const int size = metricForDpi(small ? SM_CXSMICON : SM_CXICON, dpi);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(VELMORA_RC_ICON),
                                       IMAGE_ICON, size, size, LR_SHARED));
}

HIMAGELIST toolbarImages(int dpi) {
  // The strips make_resources.py draws, by scaling in percent.
  struct Strip {
    int percent;
    int resource;
  };
  constexpr Strip strips[] = {{300, VELMORA_RC_TOOLBAR_300}, {250, VELMORA_RC_TOOLBAR_250},
                              {200, VELMORA_RC_TOOLBAR_200}, {175, VELMORA_RC_TOOLBAR_175},
                              {150, VELMORA_RC_TOOLBAR_150}, {125, VELMORA_RC_TOOLBAR_125},
                              {100, VELMORA_RC_TOOLBAR}};
  Strip chosen = strips[6];
  for (const Strip& s : strips) {
    if (s.percent * BASE_DPI <= dpi * 100) {
      chosen = s;
      break;
    }
  }
  const int width = (res::TOOLBAR_IMAGE_W * chosen.percent + 50) / 100;
  // Magenta is transparent.
  return ImageList_LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(chosen.resource), width,
                              0, RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
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
