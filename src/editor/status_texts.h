// What the status line under the lists says after a command: the texts
// are made here from what the command did, so that every adapter shows
// the same words. All are UTF-8; names from the database are converted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"
#include "match/match.h"
#include "match/update.h"
#include "sdx/listing.h"
#include "wdb/wdb_format.h"

namespace velmora::editor {

// The file's own name, without its folder, as the status line and the
// editor's questions name a file.
std::string_view fileName(std::string_view path);

// 1234567 as "1,234,567".
std::string withThousands(long long n);

// "e70.sdx: 20 records, 18 imported, 2 feed/test channels skipped".
std::string importStatus(std::string_view listingPath, const SdxCounts& counts);

// "Matched 5 satellites, 300 transponders, 2,900 channels; 12 new at the
// ends", or "REF: nothing matched".
std::string orderStatus(std::string_view refPath, const match::ReorderReport& report);

// What removing `rows` of tab `tab` (of satellite `sat` on the Transponder
// and Channel tabs) takes with it, said before they go; empty for no rows.
std::string removalStatus(const ChannelDb& db, int tab, int sat, const std::vector<int>& rows);

// "Saved NAME.wdb (Type I: 64 satellites, 1,600 transponders, 6,000
// channels)".
std::string savedStatus(std::string_view path, wdb::Layout layout, const ChannelDb& db);

// "Opened NAME.wdb (Type II: ...)", and the records the file held that
// could not be placed.
std::string openedStatus(std::string_view path, const wdb::ReadResult& loaded);

// A Type II file keeps no longitude and no DiSEqC switch ports: what of
// `after` differs from `before` there and will read back as zero after a
// save; empty when nothing.
std::string typeIILossStatus(const SatRecord& before, const SatRecord& after);

// Cut, Copy and Paste of `transponders` transponders (with `channels`
// channels) or, with none, of `channels` channels: "Copied 3 channels",
// "Cut 2 transponders with 40 channels from Astra-19.2E. Ctrl+Z brings
// them back.", "Pasted 3 channels into Hotbird-13E, adding 1
// transponder". `added`: transponders a channel paste added.
std::string copiedStatus(int transponders, int channels);
std::string cutStatus(int transponders, int channels, std::string_view satName);
std::string pastedStatus(int transponders, int channels, int added, std::string_view satName);

// What an update from a listing did to its satellite, on one line.
std::string updateStatus(const match::SatelliteUpdate& sat);
// After an update from several listings, whose lines a report shows.
std::string updatedSatellitesStatus(int count);

}  // namespace velmora::editor
