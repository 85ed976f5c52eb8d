// The editor's window templates, menu, toolbar and string table, as data.
// Positions and sizes are in dialog units (a quarter of the dialog font's
// average character width, an eighth of its height); the window toolkit
// builds its widgets from these tables.
#pragma once

#include <span>
#include <string_view>

namespace velmora::res {

enum class ControlKind {
  Tab,       // tab strip with its pane
  ListView,  // report-style list
  GroupBox,
  Label,    // static text
  Value,    // static text showing a value (information panel)
  Picture,  // small marker picture
  Edit,
  NumberEdit,  // edit that takes only digits from the keyboard
  ComboList,   // drop-down list: pick an item only
  ComboEdit,   // drop-down combo with an edit part (the web-link chooser)
  Button,
  DefButton,  // default push button
  Icon,       // the program icon
  ListBox,    // plain list of text lines, one selectable; notifies selection changes
  CheckBox,
  // Edit whose every change by the user comes to the logic as a command
  // with its id (a search that follows the typing).
  SearchEdit,
};

struct ControlDef {
  int id;
  ControlKind kind;
  std::string_view text;
  int x, y, w, h;
  bool visibleAtStart = true;
  // Kept for its id only: never shown on any tab and of no use to the
  // user, so a window may leave it out.
  bool neverShown = false;
};

struct DialogDef {
  int id;
  std::string_view caption;
  std::string_view fontFamily;
  int fontPoints;
  int w, h;
  std::span<const ControlDef> controls;
  bool systemMenu = true;  // the caption bar has a system menu and close box
};

const DialogDef& editorDialog();

// How a control of the main window follows the window when it is larger
// than its template: the lists and the tab strip around them take the extra
// width and height, the information and edit panels keep their size at the
// right edge, the web-link chooser stays under the lists. Rectangles are in
// pixels of the window's client area, as the toolkit placed them from the
// template; `extraW` and `extraH` are how much the client area exceeds the
// template's size (never negative: the template's size is the minimum).
struct PixelRect {
  int x, y, w, h;
  bool operator==(const PixelRect&) const = default;
};
PixelRect grownEditorRect(int controlId, PixelRect atTemplateSize, int extraW, int extraH);

const DialogDef& aboutDialog();
const DialogDef& addChannelDialog();
const DialogDef& findDialog();
const DialogDef& moveDialog();
const DialogDef& findAllDialog();
// The template of a sub-dialog (About, Add channel, Find, Move, Find in
// every satellite) by its
// resource id; nullptr for none.
const DialogDef* subDialog(int dialogId);

// Menu bar: popups with their items; id 0 is a separator.
struct MenuItemDef {
  int id;
  std::string_view text;
};
struct PopupDef {
  std::string_view title;
  std::span<const MenuItemDef> items;
};
std::span<const PopupDef> mainMenu();
// Index of the "&Edit" popup, which also serves as the lists' context menu.
inline constexpr int EDIT_POPUP = 1;

// Toolbar buttons in order; id 0 is a separator. Images are 18 x 17 pixels.
std::span<const int> toolbarButtons();
inline constexpr int TOOLBAR_IMAGE_W = 18;
inline constexpr int TOOLBAR_IMAGE_H = 17;

// String table: toolbar tips and the system menu's About item; empty for
// an unknown id.
std::string_view stringResource(int id);

// Controls that carry a tool tip, and their texts.
struct ToolTipDef {
  int id;
  std::string_view text;
};
std::span<const ToolTipDef> toolTips();

// Colours of the three lists and of the tool tips, as 0xRRGGBB.
inline constexpr unsigned LIST_TEXT = 0x000000;
inline constexpr unsigned LIST_TEXT_BACKGROUND = 0xDCECD3;  // RGB(220, 236, 211)
inline constexpr unsigned LIST_BACKGROUND = 0xFFFFC8;       // RGB(255, 255, 200)
inline constexpr unsigned TIP_BACKGROUND = 0x0000FF;
inline constexpr unsigned TIP_TEXT = 0xFFFFFF;

}  // namespace velmora::res
