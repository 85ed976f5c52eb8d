// Every message and caption the user sees, in one place, so that the editor
// and velmora-cli report a refusal with exactly the same words.
#pragma once

#include <string_view>

namespace velmora::text {

inline constexpr std::string_view APP_NAME = "Velmora";

// Limits of the receiver.
inline constexpr std::string_view MAX_SATS_ADD = "The STB is available Max 50 in Satellites.";
inline constexpr std::string_view MAX_SATS = "The STB is available Max 64 in Satellites.";
inline constexpr std::string_view MAX_TP = "The STB is available Max 1600 in Transponders.";
inline constexpr std::string_view MAX_SVC =
    "The STB is available Max 6000 in SVC(Service Channel).";
inline constexpr std::string_view MAX_ROWS_PER_SAT =
    "A satellite can hold at most 4000 transponders and 4000 services.";

// Opening a file.
inline constexpr std::string_view OPEN_SAT_RANGE = "Sorry!\n\nOut of the range(Satellite:Max 64!";
inline constexpr std::string_view NO_DATA_IN_FILE = "No data in file!";
inline constexpr std::string_view SUPPORT_FILE =
    "< Support file >\n\n1) DB File(*.wdb) \n\n2) SatcoDXFile(*.sdx   or   *.sdx.txt)";
inline constexpr std::string_view NOT_A_FORMAT = "This file is not a format for Velmora.";
// A file that cannot be read: head, the path, ": ", the reason (the
// system's message or one below).
inline constexpr std::string_view CANNOT_READ = "Cannot read ";
// A file over the size a reader takes: head, the limit in MiB, tail.
inline constexpr std::string_view REASON_TOO_LARGE_HEAD = "It is larger than ";
inline constexpr std::string_view REASON_TOO_LARGE_TAIL = " MiB.";

// Saving a file.
inline constexpr std::string_view NO_DATA = "No Data!";
inline constexpr std::string_view CANT_BE_CREATED = " can't be created !  ";  // after the path
// Why a file could not be created, on its own line after CANT_BE_CREATED;
// other reasons are the system's own message.
inline constexpr std::string_view REASON_FOLDER = "It is a folder.";
inline constexpr std::string_view REASON_NOT_REGULAR = "It is not a regular file.";
inline constexpr std::string_view REASON_READ_ONLY = "The file is read-only.";
inline constexpr std::string_view REASON_SAME_AS_INPUT = "It is the file being read.";
// The file was written but its previous version was not kept: head, the
// backup's path, the system's message.
inline constexpr std::string_view BACKUP_NOT_KEPT = "The previous version could not be kept as ";
inline constexpr std::string_view ALREADY_EXISTS = " already exists.\n\nReplace existing file?";
inline constexpr std::string_view OVERWRITE_CAPTION = "Overwrite file";
// printf format with the current number of services, then the advice below.
inline constexpr std::string_view CHANNEL_OVERFLOW_FMT =
    "\nWarning!\n\nThe Number of Channels overflew.\n\n  - Current Number    : %d\n  - Available "
    "Number : 6000(Max.)";
inline constexpr std::string_view CHANNEL_OVERFLOW_ADVICE =
    "\n\n* Recommend to reduce the number of channels.       ";
inline constexpr std::string_view TYPE2_OVERFLOW =
    "Type II file overflow!\n\nThis database does not fit a Type II file.\nRecommend to reduce the "
    "number of channels.";
// A satellite name holding NEW that a Type II receiver stops at: head,
// the name, tail.
inline constexpr std::string_view TYPE2_NEW_NAME_HEAD = "The satellite name \"";
inline constexpr std::string_view TYPE2_NEW_NAME_TAIL =
    "\" contains NEW.\n\nA Type II receiver stops reading satellites at such a name.\nRename "
    "the satellite to save a Type II file.";
// A Type I satellite holding NEW without transponders: head as above, the
// name, tail.
inline constexpr std::string_view TYPE1_NEW_NAME_TAIL =
    "\" contains NEW and has no transponders.\n\nThe receiver takes such a satellite for an "
    "unused slot and drops it.\nRename the satellite or add a transponder to save it.";

// SatcoDX import.
inline constexpr std::string_view IMPORT_TP_RANGE = "Out of the range(TP:Max 1600)!";
inline constexpr std::string_view IMPORT_SVC_RANGE =
    "Sorry!\n\nOverflow the range of Channels!\nRecommend to reduce the number of sattellites(or "
    "channels)      \nin the current satellites.";

// velmora-cli import-sdx: how each listing's records went, on stderr. The
// path, then the counts, then the reasons of the skipped records in
// brackets, separated by ", ".
inline constexpr std::string_view SDX_RECORDS_READ = " records read, ";
inline constexpr std::string_view SDX_RECORDS_IMPORTED = " imported, ";
inline constexpr std::string_view SDX_RECORDS_SKIPPED = " skipped";
inline constexpr std::string_view SDX_SKIP_NOT_MPEG2 = " not MPEG-2";
inline constexpr std::string_view SDX_SKIP_NO_TRANSPONDER =
    " without frequency, polarisation or symbol rate";
inline constexpr std::string_view SDX_SKIP_FEED_TEST = " feed or test channels";
inline constexpr std::string_view SDX_SKIP_NO_PIDS = " without PIDs";
inline constexpr std::string_view SDX_SKIP_OVER_LIMIT = " past the 4000 services of a satellite";

// velmora-cli: wrong usage and output that could not be written.
inline constexpr std::string_view UNKNOWN_COMMAND = "Unknown command: ";  // then the command
inline constexpr std::string_view UNEXPECTED_ARGUMENT = "The following argument was not expected: ";
inline constexpr std::string_view UNEXPECTED_ARGUMENTS =
    "The following arguments were not expected: ";  // then the arguments in their order
inline constexpr std::string_view SATELLITE_FROM_ONE = "satellites are numbered from 1";
inline constexpr std::string_view SATELLITE_NOT_WITH_SATELLITES =
    "--satellite is not taken with --tab satellites";
inline constexpr std::string_view REPORT_NOT_WRITTEN =
    "The report could not be written to the output.";
// A JSON text: a NUL byte after "line L, column C" of the document, and a
// text holding the character U+0000, after the place of the text.
inline constexpr std::string_view JSON_NUL_BYTE = ": a NUL byte, which JSON does not allow.";
inline constexpr std::string_view JSON_NUL_CHARACTER =
    " holds the character U+0000, which ends a text in the file.";
// A text holding a character the Western code page has no byte for: after
// the character's number ("U+0141"), in the CLI after the place of the text.
inline constexpr std::string_view NOT_WESTERN_CHARACTER =
    ", which the file's Western code page (Windows-1252) does not have.";
// Before the character's number, when one is typed into a name.
inline constexpr std::string_view TYPED_NOT_WESTERN = "A name cannot hold the character ";

// Questions before a database is cleared, replaced or closed.
inline constexpr std::string_view SAVE_BEFORE_OPENING =
    "Do you want to save it before opening file?";
inline constexpr std::string_view SAVE_BEFORE_CLEARING = "Do you want to save it before clearing?";

// File dialogs: "Name|pattern|...||".
inline constexpr std::string_view OPEN_FILTER =
    "binary File(*.wdb)|*.wdb|SatcoDX File(*.sdx)|*.sdx|SatcoDX File(*.sdx.txt)|*.txt||";
inline constexpr std::string_view SAVE_FILTER = "binary File(*.wdb)|*.wdb||";
// Save As offers the two layouts as file types, the newer first.
inline constexpr std::string_view TYPE1_NAME = "Type I (since 2001.10)";
inline constexpr std::string_view TYPE2_NAME = "Type II (before 2001.10)";
inline constexpr std::string_view TYPE2_DROPS =
    "A Type II file keeps no longitude and no switch ports: Longi.(SDX), Com. and Uncom. of "
    "every satellite are lost when it is saved, and a USALS satellite has no position.";
// How many bytes a database is over a Type II file, and how many
// channels take as many bytes.
inline constexpr std::string_view TYPE2_OVER_HEAD = "\n\nIt is ";
inline constexpr std::string_view TYPE2_OVER_MIDDLE = " bytes too large: about ";
inline constexpr std::string_view TYPE2_OVER_TAIL = " channels fewer would fit.";
// A recent file that cannot be read: after the reason, the question.
inline constexpr std::string_view REMOVE_RECENT = "\n\nRemove it from the recent files?";
inline constexpr std::string_view RECENT_CAPTION = "Recent files";
// Update from listing: the listings it reads, what the dialog says of
// them, and the refusal of a file that is no listing.
inline constexpr std::string_view UPDATE_FILTER =
    "SatcoDX File(*.sdx)|*.sdx|SatcoDX File(*.sdx.txt)|*.txt||";
inline constexpr std::string_view UPDATE_FROM = "Update the database from ";
inline constexpr std::string_view NOT_A_LISTING = " is not a SatcoDX listing.";
inline constexpr std::string_view UPDATE_REPORT_CAPTION = "Update from listing";
// The database whose order Apply order takes.
inline constexpr std::string_view APPLY_ORDER_FILTER =
    "binary File(*.wdb)|*.wdb|JSON File(*.json)|*.json||";

// After the number, once a file is loaded that named transponders or
// satellites it does not hold.
inline constexpr std::string_view CHANNELS_LEFT_OUT =
    " channels of this file could not be placed and were left out.";

// Closing the window.
inline constexpr std::string_view SAVE_BEFORE_CLOSING =
    "Do you want to save it before closing Velmora?";
inline constexpr std::string_view BEFORE_OPENING_CAPTION = "Before Opening File";
// Why the window holds up a log-off or shutdown (shown by the system).
inline constexpr std::string_view UNSAVED_AT_END_OF_SESSION =
    "The channel database has unsaved changes.";

// The edit panel: Add, Change and Remove.
inline constexpr std::string_view SELECT_A_LIST = "Select a list,please!";
inline constexpr std::string_view NO_NAME = "No Name!";
// A satellite name over 16 characters: head, typed name, arrow, the 16
// characters kept, tail.
inline constexpr std::string_view NAME_CUT_HEAD = "Max 16 characters!\n( ";
inline constexpr std::string_view NAME_CUT_ARROW = " --> ";
inline constexpr std::string_view NAME_CUT_TAIL = " )";
// After the cut above, when a new satellite's name and position do not fit.
inline constexpr std::string_view NAME_CUT_QUESTION = "\n\nAdd the satellite under this name?";
// After the satellite's name.
inline constexpr std::string_view SAT_REPLACE_QUESTION =
    " already exists. \n\nReplace existing satellite?   ";
inline constexpr std::string_view SAT_REPLACE_CAPTION = "Satellite OverWrite Message.    ";
inline constexpr std::string_view SAT_NAME_EXISTS = "  already exists.";  // after the name
inline constexpr std::string_view LNB_FREQ_INVALID = "LNB FREQ : Invalid!";
// The LNB Type chosen against the LNB Freq: head, the type the frequencies
// give, middle, that type again, tail.
inline constexpr std::string_view LNB_TYPE_HEAD = "LNB TYPE : Invalid! \n\nThe LNB Freq give ";
inline constexpr std::string_view LNB_TYPE_MIDDLE = ".\n\nChoose ";
inline constexpr std::string_view LNB_TYPE_TAIL = " or change the LNB Freq.";
inline constexpr std::string_view SDX_CODE_INVALID =
    "SDX CODE : Invalid! \n\nRange : 0010 ~3599 \n\nEx) 0010,0100,1000,0192...etc";
inline constexpr std::string_view NO_SATELLITE = "There is no satellite!.";
inline constexpr std::string_view INVALID_FREQUENCY = "Invalid Frequency!";
inline constexpr std::string_view INVALID_SYMBOL_RATE = "Invalid Symbol Rate!";
inline constexpr std::string_view INVALID_NID_TID = "Invalid!";
inline constexpr std::string_view TP_EXISTS = "It already exists.";
inline constexpr std::string_view NO_SAT_OR_TP =
    "A information of Satellite/Transponder is empty.\nAt first input the values!";
inline constexpr std::string_view INVALID_DATA = "Invalid data!";
inline constexpr std::string_view SVC_EXISTS = "It already exists!";
inline constexpr std::string_view INVALID_VPID = "Invalid V-PID!";
inline constexpr std::string_view INVALID_APID = "Invalid A-PID!";
inline constexpr std::string_view INVALID_PPID = "Invalid P-PID!";
inline constexpr std::string_view INVALID_SID = "Invalid S-ID!";

// The Add channel dialog.
inline constexpr std::string_view SELECT_A_TP = "Select a TP of lists,please!";

// Moving an entry to another position.
inline constexpr std::string_view NOT_AVAILABLE_POSITION = "Not available position!";
// The Move dialog's line with several entries picked: "Move N entries to
// position".
inline constexpr std::string_view MOVE_ENTRIES_HEAD = "Move ";
inline constexpr std::string_view MOVE_ENTRIES_TAIL = " entries to position";

// The web-link chooser.
inline constexpr std::string_view WEB_LINK_START = "Web Link!";
inline constexpr std::string_view WEB_LINK = "Web Link";
inline constexpr std::string_view NOT_FOUND = "Not found.";
// After the address, when the desktop has no program to open it with.
inline constexpr std::string_view WEB_LINK_FAILED =
    "\n\nThis address could not be opened: no web browser answered.\n"
    "Open it in a web browser yourself.";

}  // namespace velmora::text
