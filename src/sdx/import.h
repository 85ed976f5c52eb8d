// Importing a SatcoDX listing as one new satellite after the existing ones.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "db/channel_db.h"
#include "sdx/listing.h"

namespace velmora {

struct ImportResult {
  bool added = false;                 // a satellite was appended
  std::vector<std::string> messages;  // refusals and limit messages, each at most once
  SdxCounts counts;                   // how the listing's records went
};

// The satellite record the import gives a listing's satellite: its name
// and position code with the common universal-LNB setup.
SatRecord importedSatellite(SdxSatHeader header);

// Appends the listing as satellite satCount with its services and derived
// transponders. When the database's transponder or service limit would be
// exceeded the new satellite is dropped, its message given, and the database
// left as it was. With 64 satellites already present nothing is read and the
// Open refusal is given; a file that is no listing at all (no line begins
// with "SATCODX") is refused with the message naming the supported files.
// Totals are recounted.
ImportResult importSdx(ChannelDb& db, std::span<const std::byte> listing, bool skipFeedTest);

}  // namespace velmora
