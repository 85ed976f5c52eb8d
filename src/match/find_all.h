// Finding a text anywhere in the database: in the channel names of every
// satellite (a part of the name, without case), and, for a number, in the
// channels' service ids and PIDs (video, audio, PCR) and the transponders'
// frequencies. Each hit names its satellite, its transponder and its
// channel, so that the editor can show the entry whatever list is in view.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"

namespace velmora::match {

// A hit: satellite `sat`; transponder row `tp` of that satellite (-1 when
// a channel's key names none of its transponders); channel row `svc`, or
// -1 when the hit is the transponder itself (its frequency).
struct Found {
  int sat = 0;
  int tp = -1;
  int svc = -1;
  bool operator==(const Found&) const = default;
};

// Every hit for `text` (surrounding blanks ignored; empty finds nothing),
// satellite by satellite in list order, each satellite's transponders
// before its channels. A number finds the channels whose service id or
// one of whose PIDs has that value, the transponders whose frequency
// starts with it, and the channels whose name holds it.
std::vector<Found> findAll(const ChannelDb& db, std::string_view text);

// The columns a list of hits shows, and the cells of one hit: satellite,
// transponder (frequency, polarisation, symbol rate), channel name and
// service id; the last two empty for a transponder.
inline constexpr const char* FOUND_COLUMNS[] = {"Satellite", "Transponder", "Channel", "SID"};
std::string foundCell(const ChannelDb& db, const Found& found, int column);

}  // namespace velmora::match
