// Message boxes whose caption is longer than their text.
#pragma once

#include "win32/win.h"

namespace velmora::win32 {

// Has the message box `box` (a dialog of the system's class, just made)
// widen itself, once it has laid out its text and buttons, so that its
// title bar shows the whole caption.
void fitCaptionWhenShown(HWND box);

}  // namespace velmora::win32
