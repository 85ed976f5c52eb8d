#include "layout.h"

#include <array>

#include "resource_ids.h"

namespace velmora::res {

namespace {

using K = ControlKind;

// Edit panel rows: labels at x 306, fields at x 352, 13 units apart.
constexpr int row(int i) { return 146 + 13 * i; }
constexpr int LX = 306, LW = 45, FX = 352, FW = 74;
// Left edge of the information and edit panels, which keep their size at
// the window's right edge when it grows.
constexpr int PANEL_X = 301;

// Hidden until their tab shows them; never shown at all.
constexpr bool HIDDEN = false, NEVER_SHOWN = true;

constexpr ControlDef kEditor[] = {
    {IDC_TAB, K::Tab, "", 7, 7, 430, 295},
    {IDC_SAT_LIST, K::ListView, "", 19, 33, 273, 235},
    {IDC_TP_LIST, K::ListView, "", 19, 33, 273, 235},
    {IDC_SVC_LIST, K::ListView, "", 19, 33, 273, 235},

    // Information panel.
    {IDC_INFO_GROUP, K::GroupBox, " Information ", 301, 23, 130, 111},
    {IDC_LBL_FILE, K::Label, "File", 307, 33, 20, 8},
    {IDC_FILE, K::Value, ".", 307, 42, 119, 16},
    {IDC_MARK_SELECTED, K::Picture, "", 307, 61, 6, 6},
    {IDC_LBL_SELECTED, K::Label, "Selected Info.", 315, 60, 80, 8},
    {IDC_LBL_SEL_SAT, K::Label, "SAT", 313, 71, 34, 8},
    {IDC_SEL_SAT, K::Value, ".", 349, 71, 77, 8},
    {IDC_LBL_SEL_TP, K::Label, "TP", 313, 80, 34, 8},
    {IDC_SEL_TP, K::Value, ".", 349, 80, 77, 8},
    {IDC_LBL_SEL_CH, K::Label, "Channel", 313, 89, 34, 8},
    {IDC_SEL_CH, K::Value, ".", 349, 89, 77, 8},
    {IDC_MARK_TOTAL, K::Picture, "", 307, 101, 6, 6},
    {IDC_LBL_TOTAL, K::Label, "Total Num.", 315, 100, 80, 8},
    {IDC_LBL_TOTAL_TP, K::Label, "Total TP", 313, 111, 34, 8},
    {IDC_TOTAL_TP, K::Value, ".", 349, 111, 77, 8},
    {IDC_LBL_TOTAL_CH, K::Label, "Total Ch", 313, 120, 34, 8},
    {IDC_TOTAL_CH, K::Value, ".", 349, 120, 77, 8},

    // Edit panel: Satellite tab.
    {IDC_EDIT_GROUP, K::GroupBox, " Edit ", 301, 134, 130, 163},
    {IDC_LBL_SAT_NAME, K::Label, "SAT Name", LX, row(0) + 2, LW, 8},
    {IDC_SAT_NAME, K::Edit, "", FX, row(0), FW, 12},
    {IDC_LBL_LNB_TYPE, K::Label, "LNB Type", LX, row(1) + 2, LW, 8},
    {IDC_LNB_TYPE, K::ComboList, "", FX, row(1), FW, 12},
    {IDC_LBL_LNB_FREQ, K::Label, "LNB Freq", LX, row(2) + 2, LW, 8},
    {IDC_LNB_FREQ1, K::Edit, "", FX, row(2), 34, 12},
    {IDC_LBL_LNB_SLASH, K::Label, "/", FX + 35, row(2) + 2, 4, 8},
    {IDC_LNB_FREQ2, K::Edit, "", FX + 40, row(2), 34, 12},
    {IDC_LBL_TONE, K::Label, "22KHz", LX, row(3) + 2, LW, 8},
    {IDC_TONE, K::ComboList, "", FX, row(3), FW, 12},
    {IDC_LBL_12V, K::Label, "0/12V", LX, row(4) + 2, LW, 8},
    {IDC_12V, K::ComboList, "", FX, row(4), FW, 12},
    {IDC_LBL_LNB_POWER, K::Label, "LNB Power", LX, row(5) + 2, LW, 8},
    {IDC_LNB_POWER, K::ComboList, "", FX, row(5), FW, 12},
    {IDC_LBL_LONGITUDE, K::Label, "Longi.(SDX)", LX, row(6) + 2, LW, 8},
    {IDC_LONGITUDE, K::Edit, "", FX, row(6), FW, 12},
    {IDC_LBL_DISEQC, K::Label, "DiSEqC", LX, row(7) + 2, LW, 8},
    {IDC_DISEQC, K::ComboList, "", FX, row(7), FW, 12},
    {IDC_LBL_COMMITTED, K::Label, "Com.", LX, row(8) + 2, LW, 8},
    {IDC_COMMITTED, K::ComboList, "", FX, row(8), FW, 12},
    {IDC_LBL_UNCOMMITTED, K::Label, "Uncom.", LX, row(9) + 2, LW, 8},
    {IDC_UNCOMMITTED, K::ComboList, "", FX, row(9), FW, 12},

    // Edit panel: Transponder tab, shown with it (NID and TID are kept but
    // never shown).
    {IDC_LBL_TP_SAT, K::Label, "SAT Name", LX, row(0) + 2, LW, 8, HIDDEN},
    {IDC_TP_SAT, K::ComboList, "", FX, row(0), FW, 12, HIDDEN},
    {IDC_LBL_FREQUENCY, K::Label, "Frequency", LX, row(1) + 2, LW, 8, HIDDEN},
    {IDC_FREQUENCY, K::Edit, "", FX, row(1), FW, 12, HIDDEN},
    {IDC_LBL_POLARITY, K::Label, "Polarity", LX, row(2) + 2, LW, 8, HIDDEN},
    {IDC_POLARITY, K::ComboList, "", FX, row(2), FW, 12, HIDDEN},
    {IDC_LBL_SYMBOL_RATE, K::Label, "Symbol Rate", LX, row(3) + 2, LW, 8, HIDDEN},
    {IDC_SYMBOL_RATE, K::Edit, "", FX, row(3), FW, 12, HIDDEN},
    {IDC_LBL_NID, K::Label, "NID", LX, row(4) + 2, LW, 8, HIDDEN, NEVER_SHOWN},
    {IDC_NID, K::Edit, "", FX, row(4), FW, 12, HIDDEN, NEVER_SHOWN},
    {IDC_LBL_TID, K::Label, "TID", LX, row(5) + 2, LW, 8, HIDDEN, NEVER_SHOWN},
    {IDC_TID, K::Edit, "", FX, row(5), FW, 12, HIDDEN, NEVER_SHOWN},

    // Edit panel: Channel tab, shown with it.
    {IDC_SVC_SAT, K::ComboList, "", FX, row(0), FW, 12, HIDDEN},
    {IDC_LBL_CH_NAME, K::Label, "Ch Name", LX, row(1) + 2, LW, 8, HIDDEN},
    {IDC_CH_NAME, K::Edit, "", FX, row(1), FW, 12, HIDDEN},
    {IDC_LBL_VIDEO_PID, K::Label, "Video-PID", LX, row(2) + 2, LW, 8, HIDDEN},
    {IDC_VIDEO_PID, K::Edit, "", FX, row(2), FW, 12, HIDDEN},
    {IDC_LBL_AUDIO_PID, K::Label, "Audio-PID", LX, row(3) + 2, LW, 8, HIDDEN},
    {IDC_AUDIO_PID, K::Edit, "", FX, row(3), FW, 12, HIDDEN},
    {IDC_LBL_PCR_PID, K::Label, "Pcr-PID", LX, row(4) + 2, LW, 8, HIDDEN},
    {IDC_PCR_PID, K::Edit, "", FX, row(4), FW, 12, HIDDEN},
    {IDC_LBL_SERVICE_ID, K::Label, "ServiceID", LX, row(5) + 2, LW, 8, HIDDEN},
    {IDC_SERVICE_ID, K::Edit, "", FX, row(5), FW, 12, HIDDEN},
    {IDC_LBL_SCRAMBLED, K::Label, "Scrambled", LX, row(6) + 2, LW, 8, HIDDEN},
    {IDC_SCRAMBLED, K::ComboList, "", FX, row(6), FW, 12, HIDDEN},

    // Buttons and the web-link chooser.
    {IDC_ADD, K::Button, "&Add", 306, 279, 38, 14},
    {IDC_CHANGE, K::Button, "&Change", 346, 279, 38, 14},
    {IDC_REMOVE, K::Button, "&Remove", 386, 279, 40, 14},
    {IDC_WEB_LINK, K::ComboEdit, "", 14, 278, 80, 12},

    // Controls of the window that have no function for the user.
    {IDC_HIDDEN_BUTTON1, K::Button, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {IDC_HIDDEN_BUTTON2, K::Button, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {IDC_HIDDEN_BUTTON3, K::Button, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1147, K::Picture, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1154, K::Picture, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1156, K::Picture, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1046, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1069, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1088, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1089, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1090, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1091, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1092, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1104, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1155, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1158, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1159, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1160, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1171, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1172, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1181, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
    {1182, K::Label, "", 0, 0, 1, 1, HIDDEN, NEVER_SHOWN},
};

constexpr ControlDef kAbout[] = {
    {IDR_MAINFRAME, K::Icon, "", 11, 14, 21, 20},
    {-1, K::Label, "Velmora", 40, 12, 115, 8},
    {-1, K::Label, "Version 1.00  (C) 2026 the Velmora developers", 40, 26, 118, 18},
    {ID_OK, K::DefButton, "&OK", 164, 7, 50, 14},
};

// Find: the text to look for in the shown list, "Find next" and "Close".
constexpr ControlDef kFind[] = {
    {IDC_FIND_LABEL, K::Label, "Find what:", 7, 9, 42, 8},
    {IDC_FIND_TEXT, K::Edit, "", 50, 7, 86, 12},
    {ID_OK, K::DefButton, "Find next", 142, 6, 50, 14},
    {ID_CANCEL, K::Button, "Close", 142, 23, 50, 14},
    {IDC_FIND_ALL_SATS, K::CheckBox, "All satellites", 50, 25, 86, 10},
};

// Find in every satellite: the text, the count of hits, and the hits.
constexpr ControlDef kFindAll[] = {
    {-1, K::Label, "Find what:", 7, 9, 42, 8},
    {IDC_FIND_ALL_TEXT, K::SearchEdit, "", 50, 7, 150, 12},
    {IDC_FIND_ALL_COUNT, K::Label, "", 206, 9, 60, 8},
    {IDC_FIND_ALL_LIST, K::ListView, "", 7, 24, 259, 160},
    {ID_OK, K::DefButton, "Show", 272, 6, 50, 14},
    {ID_CANCEL, K::Button, "Close", 272, 23, 50, 14},
};

// Add channel: the satellite's transponders as a list view, or as text
// lines under four caption buttons; below them the channel's fields. The
// lines set their fields apart with blanks: in a proportional font they
// need more room than the four columns, which the lists leave them.
constexpr int ACH_LX = 7, ACH_LW = 40, ACH_FX = 50, ACH_FW = 62;
constexpr ControlDef kAddChannel[] = {
    {IDC_ACH_TP_LIST, K::ListView, "", 7, 7, 201, 125},
    {IDC_ACH_CAP_NUM, K::Button, "Num", 7, 7, 24, 10, false},
    {IDC_ACH_CAP_FREQ, K::Button, "Frequency", 31, 7, 52, 10, false},
    {IDC_ACH_CAP_POL, K::Button, "Polarity", 83, 7, 44, 10, false},
    {IDC_ACH_CAP_SR, K::Button, "Symbol Rate", 127, 7, 81, 10, false},
    {IDC_ACH_TP_LINES, K::ListBox, "", 7, 16, 201, 116, false},
    {IDC_ACH_LINES_MODE, K::CheckBox, "If not show list(s),check it!", 30, 136, 134, 10},
    {IDC_ACH_LBL_NAME, K::Label, "Ch Name", ACH_LX, 159, ACH_LW, 8},
    {IDC_ACH_NAME, K::Edit, "", ACH_FX, 157, ACH_FW, 11},
    {IDC_ACH_LBL_VPID, K::Label, "V-PID", ACH_LX, 171, ACH_LW, 8},
    {IDC_ACH_VPID, K::NumberEdit, "", ACH_FX, 169, ACH_FW, 11},
    {IDC_ACH_LBL_APID, K::Label, "A-PID", ACH_LX, 183, ACH_LW, 8},
    {IDC_ACH_APID, K::NumberEdit, "", ACH_FX, 181, ACH_FW, 11},
    {IDC_ACH_LBL_PPID, K::Label, "P-PID", ACH_LX, 195, ACH_LW, 8},
    {IDC_ACH_PPID, K::NumberEdit, "", ACH_FX, 193, ACH_FW, 11},
    {IDC_ACH_LBL_SID, K::Label, "SID", ACH_LX, 207, ACH_LW, 8},
    {IDC_ACH_SID, K::NumberEdit, "", ACH_FX, 205, ACH_FW, 11},
    {IDC_ACH_LBL_SCRAMBLED, K::Label, "Scrambled", ACH_LX, 219, ACH_LW, 8},
    {IDC_ACH_SCRAMBLED, K::ComboList, "", ACH_FX, 217, ACH_FW, 12},
    {ID_OK, K::DefButton, "OK", 164, 200, 44, 14},
    {ID_CANCEL, K::Button, "Cancel", 164, 216, 44, 14},
};

// The Move dialog: one line to type the position in. With several entries
// picked the line before it says how many, over up to three lines.
constexpr ControlDef kMove[] = {
    {IDC_MOVE_LABEL, K::Label, "Input Position :", 8, 9, 54, 8},
    {IDC_MOVE_BLOCK_LABEL, K::Label, "", 8, 2, 54, 24},
    {IDC_MOVE_POSITION, K::Edit, "", 62, 7, 37, 12},
    {IDC_MOVE_OK, K::DefButton, "&OK", 8, 26, 42, 14},
    {IDC_MOVE_CANCEL, K::Button, "&Cancel", 57, 26, 42, 14},
};

// The Update from listing dialog: the listings chosen, and whether what
// they no longer have stays.
constexpr ControlDef kUpdate[] = {
    {IDC_UPDATE_FILES, K::Label, "", 8, 7, 190, 18},
    {IDC_UPDATE_KEEP, K::CheckBox, "&Keep what the listings no longer have", 8, 29, 190, 10},
    {ID_OK, K::DefButton, "&Update", 94, 46, 50, 14},
    {ID_CANCEL, K::Button, "Cancel", 148, 46, 50, 14},
};

constexpr DialogDef kEditorDialog{IDD_EDITOR, "Velmora 1.00", "Verdana", 8, 443, 305, kEditor};
constexpr DialogDef kAboutDialog{IDD_ABOUTBOX, "Velmora  Info.", "Verdana", 9, 221, 55, kAbout};
constexpr DialogDef kFindDialog{IDD_FIND, "Find", "Verdana", 8, 199, 44, kFind};
constexpr DialogDef kFindAllDialog{IDD_FIND_ALL, "Find in all satellites", "Verdana", 8, 329, 191,
                                   kFindAll};
constexpr DialogDef kAddChannelDialog{IDD_ADD_CHANNEL, "Add channel", "Arial", 9, 215, 237,
                                      kAddChannel};
constexpr DialogDef kMoveDialog{IDD_MOVE, "Move", "Verdana", 8, 107, 46, kMove, false};
constexpr DialogDef kUpdateDialog{IDD_UPDATE, "Update from listing", "Verdana", 8, 206, 67,
                                  kUpdate};

constexpr MenuItemDef kFile[] = {
    {ID_FILE_NEW, "&New  Ctrl+N, F2"},
    {0, ""},
    {ID_FILE_OPEN, "&Open wdb/sdx File...  Ctrl+O, F3"},
    {ID_FILE_SAVE_IN_PLACE, "&Save  Ctrl+S"},
    {ID_FILE_SAVE, "Save &As (*.wdb)...  F7"},
    {0, ""},
    {ID_FILE_CLOSE, "&Close               Alt+F4"},
    {0, ""},
    {ID_FILE_APPLY_ORDER, "Apply orde&r from..."},
    {ID_FILE_UPDATE_LISTING, "&Update from listing..."},
    {0, ""},
    {ID_FILE_RECENT1, "&1"},
    {ID_FILE_RECENT1 + 1, "&2"},
    {ID_FILE_RECENT1 + 2, "&3"},
    {ID_FILE_RECENT1 + 3, "&4"},
};
constexpr MenuItemDef kEdit[] = {
    {ID_EDIT_ADD, "&Add"},
    {ID_EDIT_CHANGE, "C&hange"},
    {ID_EDIT_REMOVE, "&Remove"},
    {ID_EDIT_MOVE, "&Move      F5"},
    {0, ""},
    {ID_EDIT_SORT, "&Sort        F8"},
    {0, ""},
    {ID_EDIT_UNDO, "&Undo  Ctrl+Z"},
    {ID_EDIT_REDO, "Re&do  Ctrl+Y"},
    {ID_EDIT_FIND, "&Find...  Ctrl+F"},
    {ID_EDIT_FIND_ALL, "Find in a&ll satellites...  Ctrl+Shift+F"},
    {0, ""},
    {ID_EDIT_CUT, "Cu&t  Ctrl+X"},
    {ID_EDIT_COPY, "&Copy  Ctrl+C"},
    {ID_EDIT_PASTE, "&Paste  Ctrl+V"},
};
constexpr MenuItemDef kOption[] = {{ID_OPTION_FEED_TEST, "&Include(Feed/Test channel)"}};
constexpr MenuItemDef kAboutMenu[] = {{ID_ABOUT, "&About"}};

constexpr PopupDef kMenu[] = {
    {"&File", kFile}, {"&Edit", kEdit}, {"&Option", kOption}, {"A&bout", kAboutMenu}};

constexpr int kToolbar[] = {ID_TB_NEW, ID_TB_OPEN, ID_TB_MAKE, 0, ID_TB_SORT};

constexpr ToolTipDef kTips[] = {
    {IDC_ADD, "Input each value"},
    {IDC_CHANGE, "Change each value of a selected list"},
    {IDC_REMOVE, "Remove a selected list."},
    {IDC_LONGITUDE, "SatcoDX CODE for USALS(*Range : 0001~3599).Ex)HotBird -> 0130"},
};

}  // namespace

const DialogDef& editorDialog() { return kEditorDialog; }

PixelRect grownEditorRect(int controlId, PixelRect r, int extraW, int extraH) {
  extraW = extraW > 0 ? extraW : 0;
  extraH = extraH > 0 ? extraH : 0;
  for (const ControlDef& c : kEditor) {
    if (c.id != controlId) continue;
    if (c.kind == K::Tab || c.kind == K::ListView) return {r.x, r.y, r.w + extraW, r.h + extraH};
    if (c.id == IDC_WEB_LINK) return {r.x, r.y + extraH, r.w, r.h};
    if (c.x >= PANEL_X) return {r.x + extraW, r.y, r.w, r.h};
    break;
  }
  return r;
}
const DialogDef& aboutDialog() { return kAboutDialog; }
const DialogDef& addChannelDialog() { return kAddChannelDialog; }
const DialogDef& findDialog() { return kFindDialog; }
const DialogDef& moveDialog() { return kMoveDialog; }
const DialogDef& findAllDialog() { return kFindAllDialog; }
const DialogDef* subDialog(int dialogId) {
  for (const DialogDef* def : {&kAboutDialog, &kAddChannelDialog, &kFindDialog, &kMoveDialog,
                               &kUpdateDialog, &kFindAllDialog})
    if (def->id == dialogId) return def;
  return nullptr;
}
std::span<const PopupDef> mainMenu() { return kMenu; }
std::span<const int> toolbarButtons() { return kToolbar; }
std::span<const ToolTipDef> toolTips() { return kTips; }

std::string_view stringResource(int id) {
  switch (id) {
    case IDS_ABOUTBOX:
      return "Velmora";
    case ID_TB_OPEN:
      return "Open a file(*.wdb)";
    case ID_TB_MAKE:
      return "Make [wdb] file to update the new to STB";
    case ID_TB_NEW:
      return "New";
    case ID_TB_SORT:
      return "Sort";
    default:
      return {};
  }
}

}  // namespace velmora::res
