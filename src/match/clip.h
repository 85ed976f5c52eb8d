// Entries taken from one satellite's lists to put into another's: the
// channels or the transponders picked in a list, each with what it needs
// to stand on its own. A channel keeps its transponder's frequency,
// polarization and symbol rate, since it names its transponder only by
// that key; a transponder keeps the channels tuned on it.
//
// Pasting puts them into a satellite before a given row of its list. A
// channel goes on the satellite's transponder of the same frequency,
// polarization and symbol rate, which is added at the end of the
// satellite's transponders when it has none. The receiver's limits apply
// as for adding an entry by hand: its total counts, the rows of one
// satellite's table, and no second copy of an entry the satellite holds.
// A refused paste changes nothing.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"

namespace velmora::match {

struct ClipChannel {
  SvcRecord service;
  TpRecord transponder;  // frequency, polarization, symbol rate, nid, tid
};

struct ClipTransponder {
  TpRecord transponder;
  std::vector<SvcRecord> channels;  // in the order of the channel list
};

struct Clip {
  // One of the two holds entries; both empty for an empty clip.
  std::vector<ClipChannel> channels;
  std::vector<ClipTransponder> transponders;
  bool empty() const { return channels.empty() && transponders.empty(); }
};

// Rows `rows` of satellite `sat`'s channel or transponder list, in list
// order; rows outside the list are left out.
Clip copyChannels(const ChannelDb& db, int sat, std::span<const int> rows);
Clip copyTransponders(const ChannelDb& db, int sat, std::span<const int> rows);

// Removes those rows; a transponder takes the channels tuned on it along.
void removeChannels(ChannelDb& db, int sat, std::span<const int> rows);
void removeTransponders(ChannelDb& db, int sat, std::span<const int> rows);

// What a paste did: the refusal (empty when done), and what it added.
struct PasteResult {
  std::string_view refusal;
  int channels = 0;
  int transponders = 0;
  int firstRow = 0;  // the row of the list the first pasted entry stands at
  bool done() const { return refusal.empty(); }
};

// Puts the clip into satellite `sat`'s channel or transponder list before
// row `before` (at the end when -1 or beyond). Pasting transponders adds
// their channels at the end of the channel list.
PasteResult pasteChannels(ChannelDb& db, int sat, int before, std::span<const ClipChannel> clip);
PasteResult pasteTransponders(ChannelDb& db, int sat, int before,
                              std::span<const ClipTransponder> clip);

// The rows as a spreadsheet takes them: the list's column headers, then
// one line per row, cells as the list shows them, in UTF-8, separated by
// tabs.
std::string channelRowsText(const ChannelDb& db, int sat, std::span<const int> rows);
std::string transponderRowsText(const ChannelDb& db, int sat, std::span<const int> rows);

}  // namespace velmora::match
