// Matching two channel databases entry by entry, and what it is used for:
// putting one database in the order of another (a fresh scan or listing
// takes the order a user sorted by hand), and listing what differs between
// two databases.
//
// Satellites match by their longitude code (when it is not "0000"), else by
// name without case and without a longitude suffix in any of its styles
// ("Astra 19.2E" and "Astra-19.2E" are "astra", db/longitude_suffix.h),
// names ending in the same position first. Transponders of matched
// satellites match by polarisation, symbol rate and a frequency within 2
// MHz (scans of the same transponder differ by a few MHz), nearest first.
// Channels of matched satellites match by service id on the matched
// transponder, else by name without case and surrounding blanks. Each entry
// is used at most once. A stricter match comes first (code and name before
// the code alone, service id and name before the service id alone, an exact
// frequency before a shifted one); among equal candidates one equal in
// every field wins, else the first in list order; satellites that no field
// tells apart (Type II keeps no codes or ports) go by how many of their
// transponders and channels match. So duplicates find their own partners,
// and a database matched with itself maps every entry to itself.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "db/channel_db.h"

namespace velmora::match {

// For each entry of `db`, the index of the entry of `ref` it matches, or
// -1. Tables are indexed by db's satellite.
struct Matching {
  std::vector<int> sats;
  std::array<std::vector<int>, MAX_SATS> tps;
  std::array<std::vector<int>, MAX_SATS> svcs;
};

Matching matchDatabases(const ChannelDb& db, const ChannelDb& ref);

// The name as satellites are compared: lower case, surrounding blanks and a
// trailing longitude ("-13E", "13.0E", "(19.2°E)", "0.8 W") removed, unless
// the name is nothing else.
std::string satelliteNameKey(std::string_view name);

struct Count {
  int matched = 0;
  int unmatched = 0;  // in the database, kept at the end of their lists
  int missing = 0;    // in the reference only
};
struct ReorderReport {
  Count satellites, transponders, channels;
  bool changed = false;  // the order of something changed
  // satelliteOrder[k]: where the satellite now at position k was before.
  std::vector<int> satelliteOrder;
};

// Puts `db` in the order of `ref`: the matched entries in the reference's
// order, then the others in their present order, for the satellites and
// for each satellite's transponders and channels. Nothing is added or
// removed and no record changes.
ReorderReport reorderLike(ChannelDb& db, const ChannelDb& ref);

enum class Level { Satellite, Transponder, Channel };
enum class ChangeKind { Added, Removed, Changed, Moved };

// One difference. Positions are 1-based, 0 where there is none (an added
// entry has no old position). A transponder or channel names its
// satellite by its name and positions in both databases.
struct Change {
  Level level = Level::Satellite;
  ChangeKind kind = ChangeKind::Added;
  std::string satellite;
  int oldSatellite = 0, newSatellite = 0;
  std::string entry;  // "11727 V 27500", "RAI 1", a satellite's name
  int oldPosition = 0, newPosition = 0;
  std::vector<std::string> fields;  // Changed: the fields that differ
};

// What turns `a` into `b`, satellite by satellite (each satellite's own
// change first, then its transponders, then its channels). Moved are the
// fewest entries whose moving explains the new order; the others only
// shifted with what was added or removed around them.
std::vector<Change> diffDatabases(const ChannelDb& a, const ChannelDb& b);

std::string_view levelName(Level level);
std::string_view changeKindName(ChangeKind kind);

}  // namespace velmora::match
