// Menus built from the editor's menu table (res/layout.cpp).
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "layout.h"
#include "win32/win.h"

namespace velmora::win32 {

// The item's text for a Windows menu: the key names after the first run
// of blanks move to the right edge of the menu.
std::wstring menuText(std::string_view text);

HMENU buildPopup(const res::PopupDef& popup);
HMENU buildMenuBar();

// The state of the main window's menu items, which the editor sets by
// command id: check marks, texts, shown or taken out, enabled or greyed.
class MenuState {
 public:
  // The menu bar built from the editor's menu table.
  void setMenu(HMENU menu);

  void check(int commandId, bool checked);
  void setText(int commandId, std::string_view text);
  void show(int commandId, bool shown);
  void enable(int commandId, bool enabled);

 private:
  // Each menu item: its popup and place in the table, and its state, so
  // that an item taken out of its menu goes back where it was.
  struct Item {
    HMENU popup = nullptr;
    std::size_t popupIndex = 0;
    std::wstring text;
    bool shown = true;
    bool enabled = true;
    bool checked = false;
  };

  static void removeSeparators(HMENU popup);
  void addSeparators(std::size_t popupIndex, HMENU popup);

  HMENU menu_ = nullptr;
  std::map<int, Item> items_;
};

}  // namespace velmora::win32
