// Bringing satellites up to date from fresh SatcoDX listings, keeping what
// the user made of them.
//
// A listing's satellite is matched to one of the database's as reorder
// matches satellites (match.h). Its record (name, LNB, switches, DiSEqC,
// longitude) stays the user's. Its transponders become the listing's: one
// that matches an old transponder takes the old one's place, the others
// follow in listing order. Its channels become the listing's: one that
// matches an old channel takes that channel's place and keeps its name (a
// rename by the user outlives the provider's), with the listing's service
// id, PIDs, type and scrambling on its listing transponder; the others
// follow at the end in listing order. Old transponders and channels the
// listing lacks are removed, or with keepMissing kept in their order after
// the matched ones. A listing that matches no satellite is added as a new
// one, as the import adds it.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "db/channel_db.h"
#include "sdx/listing.h"

namespace velmora::match {

struct UpdateOptions {
  bool keepMissing = false;
  bool includeFeedTest = false;
};

// A listing as the import reads it: its first record's satellite, its
// accepted channels in file order and how its records went.
struct ParsedListing {
  SdxSatHeader header;
  SvcTable services;
  SdxCounts counts;
};

// The listing in `bytes`, or nullopt for a file that is no listing at all
// (the import's refusal then applies).
std::optional<ParsedListing> parseListing(std::span<const std::byte> bytes,
                                          const UpdateOptions& options);

struct UpdateCount {
  int kept = 0;       // matched, every field as it was
  int updated = 0;    // matched, some field changed
  int added = 0;      // in the listing only
  int removed = 0;    // in the database only, dropped
  int notListed = 0;  // in the database only, kept (keepMissing)
};

// What one listing did to its satellite.
struct SatelliteUpdate {
  std::size_t listing = 0;  // index into the listings given
  std::string satellite;    // the satellite's name in the database
  int position = 0;         // 1-based, in the updated database
  bool isNew = false;       // no satellite matched: the listing was added
  UpdateCount transponders, channels;
  std::vector<std::string> removedTransponders;  // "11727 V 27500", old order
  std::vector<std::string> removedChannels;      // names, old order
};

struct UpdateResult {
  // The refusal's messages; empty when the update was done.
  std::vector<std::string> messages;
  ChannelDb db;                             // the updated database; the one given when refused
  std::vector<SatelliteUpdate> satellites;  // one per listing, in listing order
  bool done() const { return messages.empty(); }
};

// Applies the listings one after the other to a copy of `db`. The
// receiver's limits hold as for the import (64 satellites, 1600
// transponders, 6000 channels, 4000 rows a satellite); a listing that
// breaks one refuses the whole update and `db` comes back unchanged.
UpdateResult updateFromListings(const ChannelDb& db, std::span<const ParsedListing> listings,
                                const UpdateOptions& options);

}  // namespace velmora::match
