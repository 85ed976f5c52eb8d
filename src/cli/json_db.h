// The channel database as JSON, the form in which velmora-cli exchanges it
// with scripts.
//
// Texts are byte strings in the file and in memory. In JSON each byte
// travels as the Unicode code point of the same number (Latin-1), so every
// byte string survives the trip exactly; a code point above 255 has no byte
// and is refused. The service type is a JSON number, every other field a
// string, and objects list their keys in the order of the records' fields.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"
#include "wdb/wdb_format.h"

namespace velmora::cli {

// Writes the database and its layout name as pretty-printed JSON (two
// spaces per level, a newline at the end). Streams record by record, so a
// full database needs no JSON tree in memory.
void writeDatabaseJson(std::ostream& out, const ChannelDb& db, wdb::Layout layout);

// One satellite as the document gives it, before any limit is applied.
struct JsonSatellite {
  SatRecord sat;
  std::vector<TpRecord> transponders;
  std::vector<SvcRecord> services;
};

// A parsed document, or why it is not one (`message` non-empty). The
// layout is empty when the document names none.
struct JsonDocument {
  std::optional<wdb::Layout> layout;
  std::vector<JsonSatellite> satellites;
  std::string message;
  bool ok() const { return message.empty(); }
};

// Reads a document in the schema. Missing fields are empty texts (a missing
// serviceType is 0, missing arrays are empty); a field of the wrong type, a
// code point above 255, a layout other than "new", "I" or "II" and a
// missing "satellites" array are refused with a message naming the place.
JsonDocument parseDatabaseJson(std::string_view text);

// Fills `db` from the document, refusing as a save would, in this order: no
// satellites, more than 64, a satellite with more rows than a table holds.
// Returns the refusal message, empty on success (totals are recounted).
std::string fillDatabase(JsonDocument doc, ChannelDb& db);

}  // namespace velmora::cli
