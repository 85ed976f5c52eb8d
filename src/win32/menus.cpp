#include "win32/menus.h"

#include "win32/wide.h"

namespace velmora::win32 {

std::wstring menuText(std::string_view text) {
  const std::size_t keyStart = text.find_last_of(' ');
  if (keyStart == std::string_view::npos || keyStart + 1 >= text.size() || keyStart < 1 ||
      text[keyStart - 1] != ' ') {
    return widen(text);
  }
  const std::size_t labelEnd = text.find_last_not_of(' ', keyStart);
  if (labelEnd == std::string_view::npos) return widen(text);
  return widen(text.substr(0, labelEnd + 1)) + L'\t' + widen(text.substr(keyStart + 1));
}

HMENU buildPopup(const res::PopupDef& popup) {
  HMENU menu = CreatePopupMenu();
  for (const res::MenuItemDef& item : popup.items) {
    if (item.id == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), menuText(item.text).c_str());
    }
  }
  return menu;
}

HMENU buildMenuBar() {
  HMENU bar = CreateMenu();
  for (const res::PopupDef& popup : res::mainMenu()) {
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(buildPopup(popup)),
                widen(popup.title).c_str());
  }
  return bar;
}

}  // namespace velmora::win32
