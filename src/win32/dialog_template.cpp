#include "win32/dialog_template.h"

#include <cstring>
#include <string_view>

#include "resource_ids.h"
#include "win32/wide.h"
#include "win32/win.h"

namespace velmora::win32 {

namespace {

using K = res::ControlKind;

// Appends WORDs to a DWORD-aligned buffer.
class Writer {
 public:
  void word(std::uint16_t w) { words_.push_back(w); }
  void dword(std::uint32_t d) {
    word(static_cast<std::uint16_t>(d & 0xFFFF));
    word(static_cast<std::uint16_t>(d >> 16));
  }
  void text(std::wstring_view s) {
    for (const wchar_t c : s) word(static_cast<std::uint16_t>(c));
    word(0);
  }
  void align() {
    if (words_.size() % 2 != 0) word(0);
  }
  std::vector<std::uint32_t> take() {
    align();
    std::vector<std::uint32_t> out(words_.size() / 2);
    std::memcpy(out.data(), words_.data(), out.size() * sizeof(std::uint32_t));
    return out;
  }

 private:
  std::vector<std::uint16_t> words_;
};

struct ItemStyle {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle = 0;
};

ItemStyle styleOf(K kind) {
  constexpr DWORD tab = WS_TABSTOP;
  switch (kind) {
    case K::Tab:
      // Lies under the lists and panels and never paints over them.
      return {WC_TABCONTROLW, WS_CLIPSIBLINGS | tab};
    case K::ListView:
      // The rows live in the program, which gives the text of the cells
      // the control paints.
      return {WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_BORDER | tab};
    case K::GroupBox:
      return {L"BUTTON", BS_GROUPBOX};
    case K::Label:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX};
    case K::Value:
      // One line; a long value (a deep path) loses its middle. Notifies,
      // so that its tip can show the whole of it.
      return {L"STATIC", SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS | SS_NOPREFIX | SS_NOTIFY};
    case K::Picture:
      return {L"STATIC", SS_OWNERDRAW};
    case K::Icon:
      return {L"STATIC", SS_ICON | SS_REALSIZEIMAGE};
    case K::Edit:
    case K::SearchEdit:
      return {L"EDIT", ES_AUTOHSCROLL | WS_BORDER | tab};
    case K::NumberEdit:
      return {L"EDIT", ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | tab};
    case K::ComboList:
      return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | tab};
    case K::ComboEdit:
      // A chooser whose box reads a title (the web-link chooser's "Web
      // Link!") rather than an item: a drop-down list that draws the
      // title itself, so nothing can be typed into it.
      return {L"COMBOBOX",
              CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | tab};
    case K::Button:
      return {L"BUTTON", BS_PUSHBUTTON | tab};
    case K::DefButton:
      return {L"BUTTON", BS_DEFPUSHBUTTON | tab};
    case K::ListBox:
      // Scrolls sideways when a line is wider than the box.
      return {L"LISTBOX",
              LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER | tab};
    case K::CheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | tab};
  }
  return {L"STATIC", 0};
}

// A combo box's height in a template includes its drop-down list: room for
// 17 items, as many as the longest of the editor's fixed lists.
constexpr int COMBO_LIST_UNITS = 17 * 8 + 2;

std::int16_t units(int v) { return static_cast<std::int16_t>(v); }

// The header of an extended template, up to its first control.
void header(Writer& w, DWORD style, DWORD exStyle, int controls, int cx, int cy,
            std::string_view caption, const res::DialogDef& def) {
  w.word(1);       // dlgVer
  w.word(0xFFFF);  // signature: extended template
  w.dword(0);      // help id
  w.dword(exStyle);
  w.dword(style);
  w.word(static_cast<std::uint16_t>(controls));
  w.word(0);
  w.word(0);
  w.word(static_cast<std::uint16_t>(units(cx)));
  w.word(static_cast<std::uint16_t>(units(cy)));
  w.word(0);  // no menu
  w.word(0);  // the standard dialog class
  w.text(widen(caption));
  if ((style & DS_SETFONT) == 0) return;
  w.word(static_cast<std::uint16_t>(def.fontPoints));
  w.word(FW_NORMAL);
  w.word(DEFAULT_CHARSET << 8);  // italic 0, charset
  w.text(widen(def.fontFamily));
}

}  // namespace

std::vector<std::uint32_t> buildFrameTemplate(const res::DialogDef& def) {
  Writer w;
  // Shown in the task bar; it can be minimised, maximised and sized by
  // its border, down to the size the pane's template needs. It shows no
  // text of its own, so it makes no font either.
  header(w,
         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, 0, 0, 0, def.caption, def);
  return w.take();
}

std::vector<std::uint32_t> buildDialogTemplate(const res::DialogDef& def, bool mainWindow) {
  Writer w;
  DWORD style = DS_SETFONT;
  DWORD exStyle = 0;
  if (mainWindow) {
    // A pane inside the frame: Tab and the mnemonics reach into it from
    // the frame, and its controls never move once it is placed.
    style |= DS_CONTROL | WS_CHILD | WS_VISIBLE;
    exStyle |= WS_EX_CONTROLPARENT;
  } else {
    // A dialog without a system menu (Move) has no close box either.
    style |= DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_VISIBLE;
    if (def.systemMenu) style |= WS_SYSMENU;
  }
  int controls = 0;
  for (const res::ControlDef& c : def.controls)
    if (!(mainWindow && c.neverShown)) ++controls;
  header(w, style, exStyle, controls, def.w, def.h, mainWindow ? std::string_view() : def.caption,
         def);

  for (const res::ControlDef& c : def.controls) {
    if (mainWindow && c.neverShown) continue;
    w.align();
    const ItemStyle s = styleOf(c.kind);
    DWORD itemStyle = WS_CHILD | s.style;
    if (c.visibleAtStart) itemStyle |= WS_VISIBLE;
    int h = c.h;
    if (c.kind == K::ComboList || c.kind == K::ComboEdit) h += COMBO_LIST_UNITS;
    w.dword(0);  // help id
    w.dword(s.exStyle);
    w.dword(itemStyle);
    w.word(static_cast<std::uint16_t>(units(c.x)));
    w.word(static_cast<std::uint16_t>(units(c.y)));
    w.word(static_cast<std::uint16_t>(units(c.w)));
    w.word(static_cast<std::uint16_t>(units(h)));
    w.dword(static_cast<std::uint32_t>(c.id));
    w.text(s.windowClass);
    w.text(widen(c.text));
    w.word(0);  // no creation data
  }
  return w.take();
}

}  // namespace velmora::win32
