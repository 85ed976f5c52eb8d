// What a dealer should look at before a list goes into a receiver, and the
// lists as the editor shows them, for velmora-cli's `check` and
// `export-csv`.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"
#include "wdb/wdb_format.h"

namespace velmora::cli {

struct Finding {
  std::string kind;   // missing-transponder, duplicate-channel, ...
  int satellite = 0;  // 1-based; 0 for the whole database
  int row = 0;        // 1-based row of the satellite's list; 0 for none
  std::string message;
};

// How full the database is against each of the receiver's limits.
struct Room {
  int satellites = 0, transponders = 0, channels = 0;
  int largestTable = 0;  // rows of the fullest transponder or channel table
  std::size_t typeTwoBytes = 0;
};

// Text as a report carries it: valid UTF-8 as it is, and every byte that
// begins no UTF-8 sequence written as "\xHH". A report is UTF-8 always, yet
// a refusal may hold a path in some other encoding (a file name on Linux is
// bytes) or bytes the JSON library quotes from a document it could not read.
std::string reportText(std::string_view text);

std::vector<Finding> checkDatabase(const ChannelDb& db);
Room roomOf(const ChannelDb& db);

void writeFindings(std::ostream& out, const std::vector<Finding>& findings, const Room& room);
void writeFindingsJson(std::ostream& out, const std::vector<Finding>& findings, const Room& room);

enum class ListTab { Satellites, Transponders, Channels };

// The list as RFC 4180 CSV in UTF-8: the column headers, then the rows.
// For transponders and channels, satellite `satellite` (1-based) or, with
// 0, every satellite's list one after another.
void writeListCsv(std::ostream& out, const ChannelDb& db, ListTab tab, int satellite);

}  // namespace velmora::cli
