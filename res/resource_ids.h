// Numeric identifiers of the editor's windows, controls, commands and
// resources. The editor logic addresses every control by these numbers, as
// a dialog template does, and the window toolkit maps them to widgets.
#pragma once

namespace velmora::res {

// Resources.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_EDITOR = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDR_MENU = 131;
inline constexpr int IDR_TOOLBAR = 132;
inline constexpr int IDD_ADD_CHANNEL = 164;
inline constexpr int IDD_FIND = 171;
inline constexpr int IDD_MOVE = 169;
inline constexpr int IDD_UPDATE = 175;
inline constexpr int IDD_FIND_ALL = 172;

// Dialog results, and the commands Enter and Esc give a dialog: Windows'
// own values, which the Win32 adapter passes through.
inline constexpr int ID_OK = 1;
inline constexpr int ID_CANCEL = 2;

// System menu item that opens the About box. Windows keeps the low four
// bits of a system-menu command for itself: the id is a multiple of 16.
inline constexpr int IDM_ABOUTBOX = 16;

// Lists, tab and groups.
inline constexpr int IDC_SAT_LIST = 1000;
inline constexpr int IDC_TAB = 1001;
inline constexpr int IDC_TP_LIST = 1002;
inline constexpr int IDC_SVC_LIST = 1005;
inline constexpr int IDC_EDIT_GROUP = 1145;
inline constexpr int IDC_INFO_GROUP = 1146;

// Buttons and the web-link chooser.
inline constexpr int IDC_ADD = 1043;
inline constexpr int IDC_CHANGE = 1052;
inline constexpr int IDC_REMOVE = 1053;
inline constexpr int IDC_WEB_LINK = 1049;

// Edit panel, Satellite tab.
inline constexpr int IDC_LBL_SAT_NAME = 1008;
inline constexpr int IDC_SAT_NAME = 1003;
inline constexpr int IDC_LBL_LNB_TYPE = 1184;
inline constexpr int IDC_LNB_TYPE = 1010;
inline constexpr int IDC_LBL_LNB_FREQ = 1009;
inline constexpr int IDC_LNB_FREQ1 = 1011;
inline constexpr int IDC_LBL_LNB_SLASH = 1185;
inline constexpr int IDC_LNB_FREQ2 = 1183;
inline constexpr int IDC_LBL_TONE = 1014;
inline constexpr int IDC_TONE = 1015;
inline constexpr int IDC_LBL_12V = 1016;
inline constexpr int IDC_12V = 1017;
inline constexpr int IDC_LBL_LNB_POWER = 1035;
inline constexpr int IDC_LNB_POWER = 1036;
inline constexpr int IDC_LBL_LONGITUDE = 1163;
inline constexpr int IDC_LONGITUDE = 1162;
inline constexpr int IDC_LBL_DISEQC = 1012;
inline constexpr int IDC_DISEQC = 1013;
inline constexpr int IDC_LBL_COMMITTED = 1186;
inline constexpr int IDC_COMMITTED = 1188;
inline constexpr int IDC_LBL_UNCOMMITTED = 1187;
inline constexpr int IDC_UNCOMMITTED = 1189;

// Edit panel, Transponder tab.
inline constexpr int IDC_LBL_TP_SAT = 1027;  // also labels the Channel tab's combo
inline constexpr int IDC_TP_SAT = 1018;
inline constexpr int IDC_LBL_FREQUENCY = 1019;
inline constexpr int IDC_FREQUENCY = 1020;
inline constexpr int IDC_LBL_POLARITY = 1021;
inline constexpr int IDC_POLARITY = 1023;
inline constexpr int IDC_LBL_SYMBOL_RATE = 1024;
inline constexpr int IDC_SYMBOL_RATE = 1025;
inline constexpr int IDC_LBL_NID = 1037;
inline constexpr int IDC_LBL_TID = 1038;
inline constexpr int IDC_NID = 1142;
inline constexpr int IDC_TID = 1161;

// Edit panel, Channel tab.
inline constexpr int IDC_SVC_SAT = 1022;
inline constexpr int IDC_LBL_CH_NAME = 1029;
inline constexpr int IDC_CH_NAME = 1004;
inline constexpr int IDC_LBL_VIDEO_PID = 1028;
inline constexpr int IDC_VIDEO_PID = 1032;
inline constexpr int IDC_LBL_AUDIO_PID = 1030;
inline constexpr int IDC_AUDIO_PID = 1033;
inline constexpr int IDC_LBL_PCR_PID = 1031;
inline constexpr int IDC_PCR_PID = 1034;
inline constexpr int IDC_LBL_SERVICE_ID = 1026;
inline constexpr int IDC_SERVICE_ID = 1055;
inline constexpr int IDC_LBL_SCRAMBLED = 1134;
inline constexpr int IDC_SCRAMBLED = 1135;

// Information panel.
inline constexpr int IDC_LBL_FILE = 1148;
inline constexpr int IDC_FILE = 1068;
inline constexpr int IDC_LBL_SEL_SAT = 1149;
inline constexpr int IDC_LBL_SEL_TP = 1150;
inline constexpr int IDC_LBL_SEL_CH = 1151;
inline constexpr int IDC_SEL_SAT = 1057;
inline constexpr int IDC_SEL_TP = 1058;
inline constexpr int IDC_SEL_CH = 1059;
inline constexpr int IDC_LBL_TOTAL_TP = 1152;
inline constexpr int IDC_LBL_TOTAL_CH = 1153;
inline constexpr int IDC_TOTAL_TP = 1087;
inline constexpr int IDC_TOTAL_CH = 1093;
inline constexpr int IDC_MARK_SELECTED = 1200;  // marker picture before "Selected Info."
inline constexpr int IDC_LBL_SELECTED = 1201;
inline constexpr int IDC_MARK_TOTAL = 1202;  // marker picture before "Total Num."
inline constexpr int IDC_LBL_TOTAL = 1203;

// Hidden buttons: present in the window, never shown.
inline constexpr int IDC_HIDDEN_BUTTON1 = 1054;
inline constexpr int IDC_HIDDEN_BUTTON2 = 1056;
inline constexpr int IDC_HIDDEN_BUTTON3 = 1067;

// Add channel dialog (IDD_ADD_CHANNEL). Its ids are its own: some repeat
// numbers of the main window.
inline constexpr int IDC_ACH_TP_LIST = 1120;   // transponders as a list view
inline constexpr int IDC_ACH_TP_LINES = 1137;  // the same as lines of a list box
inline constexpr int IDC_ACH_CAP_NUM = 1054;   // captions over the list box
inline constexpr int IDC_ACH_CAP_FREQ = 1055;
inline constexpr int IDC_ACH_CAP_POL = 1056;
inline constexpr int IDC_ACH_CAP_SR = 1057;
inline constexpr int IDC_ACH_LINES_MODE = 1138;  // check box: list box instead of list view
inline constexpr int IDC_ACH_LBL_NAME = 1121;
inline constexpr int IDC_ACH_LBL_VPID = 1122;
inline constexpr int IDC_ACH_LBL_APID = 1123;
inline constexpr int IDC_ACH_LBL_PPID = 1124;
inline constexpr int IDC_ACH_LBL_SID = 1125;
inline constexpr int IDC_ACH_LBL_SCRAMBLED = 1132;
inline constexpr int IDC_ACH_NAME = 1127;
inline constexpr int IDC_ACH_VPID = 1128;
inline constexpr int IDC_ACH_APID = 1129;
inline constexpr int IDC_ACH_PPID = 1130;
inline constexpr int IDC_ACH_SID = 1126;
inline constexpr int IDC_ACH_SCRAMBLED = 1133;

// Find dialog (IDD_FIND).
inline constexpr int IDC_FIND_LABEL = 1190;
inline constexpr int IDC_FIND_TEXT = 1191;
inline constexpr int IDC_FIND_ALL_SATS = 1192;  // check box: look in every satellite
// Find in every satellite (IDD_FIND_ALL).
inline constexpr int IDC_FIND_ALL_TEXT = 1193;
inline constexpr int IDC_FIND_ALL_LIST = 1194;
inline constexpr int IDC_FIND_ALL_COUNT = 1195;
// Move dialog (IDD_MOVE).
inline constexpr int IDC_MOVE_POSITION = 1141;
inline constexpr int IDC_MOVE_OK = 1140;
inline constexpr int IDC_MOVE_CANCEL = 1069;
// Its line before the position: one for a single entry, one for several.
inline constexpr int IDC_MOVE_LABEL = 1230;
inline constexpr int IDC_MOVE_BLOCK_LABEL = 1231;
// Update from listing dialog (IDD_UPDATE).
inline constexpr int IDC_UPDATE_FILES = 1210;
inline constexpr int IDC_UPDATE_KEEP = 1211;

// Menu and toolbar commands.
inline constexpr int ID_FILE_OPEN = 32771;
inline constexpr int ID_FILE_SAVE = 32772;
inline constexpr int ID_FILE_CLOSE = 32773;
inline constexpr int ID_TB_OPEN = 32775;
inline constexpr int ID_TB_MAKE = 32776;
inline constexpr int ID_TB_NEW = 32782;
inline constexpr int ID_FILE_NEW = 32783;
inline constexpr int ID_EDIT_ADD = 32785;
inline constexpr int ID_EDIT_CHANGE = 32786;
inline constexpr int ID_EDIT_REMOVE = 32787;
inline constexpr int ID_TB_SORT = 32790;
inline constexpr int ID_EDIT_SORT = 32793;
inline constexpr int ID_ABOUT = 32795;
inline constexpr int ID_EDIT_MOVE = 32799;
inline constexpr int ID_OPTION_FEED_TEST = 32803;
// Commands added after the receiver's own set, each at the end of its menu.
inline constexpr int ID_EDIT_UNDO = 32810;
inline constexpr int ID_EDIT_REDO = 32811;
inline constexpr int ID_EDIT_FIND = 32812;
// File: the order of another database, before the recent files.
inline constexpr int ID_FILE_APPLY_ORDER = 32813;
// File: Save to the open file, beside Save As (F7).
inline constexpr int ID_FILE_SAVE_IN_PLACE = 32814;
// File: satellites brought up to date from fresh listings.
inline constexpr int ID_FILE_UPDATE_LISTING = 32817;
// Edit: find in every satellite (Ctrl+Shift+F).
inline constexpr int ID_EDIT_FIND_ALL = 32815;
// Edit: channels and transponders taken between satellites.
inline constexpr int ID_EDIT_CUT = 32816;
inline constexpr int ID_EDIT_COPY = 32818;
inline constexpr int ID_EDIT_PASTE = 32819;
inline constexpr int ID_FILE_RECENT1 = 32820;  // ... ID_FILE_RECENT1 + RECENT_FILES - 1
inline constexpr int RECENT_FILES = 4;

// Keys, by their virtual-key codes: the Win32 adapter passes a key's code
// through unchanged, the Qt adapter maps its keys to these.
inline constexpr int KEY_RETURN = 0x0D;
inline constexpr int KEY_ESCAPE = 0x1B;
inline constexpr int KEY_DELETE = 0x2E;
inline constexpr int KEY_F1 = 0x70;
inline constexpr int KEY_F2 = 0x71;
inline constexpr int KEY_F3 = 0x72;
inline constexpr int KEY_F5 = 0x74;
inline constexpr int KEY_F7 = 0x76;
inline constexpr int KEY_F8 = 0x77;
inline constexpr int KEY_F9 = 0x78;
// Letters are their own codes ('F', 'Y', 'Z'); with Ctrl they are the
// editor's added commands.

}  // namespace velmora::res
