#include "win32/menus.h"

#include "win32/wide.h"

namespace velmora::win32 {

std::wstring menuText(std::string_view text) {
  // The keys stand after the first run of two blanks or more; the label
  // before it may hold single blanks, and so may the keys ("Ctrl+N, F2").
  const std::size_t gap = text.find("  ");
  if (gap == std::string_view::npos || gap == 0) return widen(text);
  const std::size_t keyStart = text.find_first_not_of(' ', gap);
  if (keyStart == std::string_view::npos) return widen(text);
  return widen(text.substr(0, gap)) + L'\t' + widen(text.substr(keyStart));
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

// ------------------------------------------------------------ menu state

void MenuState::setMenu(HMENU menu) {
  menu_ = menu;
  items_.clear();
  const auto popups = res::mainMenu();
  for (std::size_t p = 0; p < popups.size(); ++p) {
    HMENU popup = GetSubMenu(menu, static_cast<int>(p));
    for (const res::MenuItemDef& item : popups[p].items) {
      if (item.id != 0) items_[item.id] = Item{popup, p, menuText(item.text)};
    }
  }
}

void MenuState::check(int commandId, bool checked) {
  const auto it = items_.find(commandId);
  if (it == items_.end()) return;
  it->second.checked = checked;
  CheckMenuItem(menu_, static_cast<UINT>(commandId),
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuState::setText(int commandId, std::string_view text) {
  const auto it = items_.find(commandId);
  if (it == items_.end()) return;
  // The whole text is the item's label: a path may hold any spaces.
  it->second.text = wideFromUtf8(text);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = it->second.text.data();
  SetMenuItemInfoW(menu_, static_cast<UINT>(commandId), FALSE, &info);
}

void MenuState::show(int commandId, bool shown) {
  const auto it = items_.find(commandId);
  if (it == items_.end() || it->second.shown == shown) return;
  Item& item = it->second;
  item.shown = shown;
  removeSeparators(item.popup);
  if (!shown) {
    RemoveMenu(item.popup, static_cast<UINT>(commandId), MF_BYCOMMAND);
  } else {
    // Back at its place: after the items before it in the table that are
    // in the menu now.
    UINT position = 0;
    for (const res::MenuItemDef& other : res::mainMenu()[item.popupIndex].items) {
      if (other.id == commandId) break;
      if (const auto o = items_.find(other.id); o != items_.end() && o->second.shown) ++position;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
    info.wID = static_cast<UINT>(commandId);
    info.dwTypeData = item.text.data();
    info.fState = (item.enabled ? MFS_ENABLED : MFS_GRAYED) | (item.checked ? MFS_CHECKED : 0);
    InsertMenuItemW(item.popup, position, TRUE, &info);
  }
  addSeparators(item.popupIndex, item.popup);
}

void MenuState::removeSeparators(HMENU popup) {
  for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info) &&
        (info.fType & MFT_SEPARATOR) != 0)
      RemoveMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
  }
}

// The table's separators stand only between items in the menu: none at
// either end (the File menu without recent files), none doubled.
void MenuState::addSeparators(std::size_t popupIndex, HMENU popup) {
  UINT position = 0;
  bool itemBefore = false, pending = false;
  for (const res::MenuItemDef& entry : res::mainMenu()[popupIndex].items) {
    if (entry.id == 0) {
      pending = itemBefore;
      continue;
    }
    const auto it = items_.find(entry.id);
    if (it == items_.end() || !it->second.shown) continue;
    if (pending) InsertMenuW(popup, position++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    pending = false;
    itemBefore = true;
    ++position;
  }
}

void MenuState::enable(int commandId, bool enabled) {
  const auto it = items_.find(commandId);
  if (it == items_.end()) return;
  it->second.enabled = enabled;
  EnableMenuItem(menu_, static_cast<UINT>(commandId),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace velmora::win32
