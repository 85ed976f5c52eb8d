// Menus built from the editor's menu table (res/layout.cpp).
#pragma once

#include <string>
#include <string_view>

#include "layout.h"
#include "win32/win.h"

namespace velmora::win32 {

// The item's text for a Windows menu: the key name that the text ends
// with, after a run of blanks, moves to the right edge of the menu.
std::wstring menuText(std::string_view text);

HMENU buildPopup(const res::PopupDef& popup);
HMENU buildMenuBar();

}  // namespace velmora::win32
