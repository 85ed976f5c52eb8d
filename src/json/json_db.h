// The channel database as JSON, the form in which velmora-cli exchanges it
// with scripts.
//
// Texts are byte strings in the file and in memory. In JSON each byte
// travels as the character the Western code page gives it (Windows-1252,
// db/western_text.h), so every byte string survives the trip exactly; a
// character that code page has no byte for is refused. The service type is
// a JSON number, every other field a string, and objects list their keys
// in the order of the records' field tables (db/record_fields.h).
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"
#include "db/failure.h"
#include "wdb/load.h"
#include "wdb/wdb_format.h"

namespace velmora::json {

// Writes the database and its layout name as pretty-printed JSON (two
// spaces per level, a newline at the end). Streams record by record, so a
// full database needs no JSON tree in memory.
void writeDatabaseJson(std::ostream& out, const ChannelDb& db, wdb::Layout layout);

// The longest document read; a database the receiver can hold takes a few
// megabytes at most.
inline constexpr std::size_t MAX_JSON_BYTES = 16u << 20;

// One satellite as the document gives it. The counts are the document's;
// rows past what the database can hold in all (1600 transponders, 6000
// services) are counted but not kept.
struct JsonSatellite {
  SatRecord sat;
  std::vector<TpRecord> transponders;
  std::vector<SvcRecord> services;
  std::size_t transponderCount = 0;
  std::size_t serviceCount = 0;
};

// A parsed document, or why it is not one (NotAFormat; TooLong for a
// document over MAX_JSON_BYTES). The
// layout is empty when the document names none. Satellites past the 64th
// are counted, not kept.
struct JsonDocument {
  std::optional<wdb::Layout> layout;
  std::vector<JsonSatellite> satellites;
  std::size_t satelliteCount = 0;
  Failure failure;
  bool ok() const { return !failure.failed(); }
};

// Reads a document in the schema, of at most MAX_JSON_BYTES. Missing fields
// are empty texts (a missing serviceType is 0, missing arrays are empty);
// members the schema does not know are ignored. Refused, with the first
// fault in document order (a syntax error before any other):
//   "SOURCE: Not a Velmora JSON database: ..." for a field of the wrong type,
//   a character the Western code page has no byte for, a layout other than "new", "I" or "II", a
//   missing "satellites" array;
//   "Invalid database: satellites[S].services[N].FIELD does not fit the file
//   (0..65535)." for a videoPid, audioPid, pcrPid or serviceId whose value
//   (by the leading-digits rule) the file's 16 bits cannot hold, "(0..255)"
//   for a serviceType outside a byte.
// `source` names the input; without it the messages start at "Not a".
JsonDocument parseDatabaseJson(std::string_view text, std::string_view source = {});

// The refusal of a document longer than MAX_JSON_BYTES.
std::string jsonTooLongRefusal(std::string_view source);

// Fills `db` from the document, refusing as a save would, in this order: no
// satellites (Empty), more than 64, a satellite with more rows than a table
// holds, more transponders or services than the database holds in all
// (OverLimits). Totals are recounted.
Failure fillDatabase(JsonDocument doc, ChannelDb& db);

// A JSON document loaded by name as wdb/load.h loads a database file:
// checked and read (longer than MAX_JSON_BYTES is TooLong), parsed, filled.
// A document naming no layout, or "new", is Type I, like a database
// started new in the window. Nothing is lost in a document, so the lost
// counts stay 0.
wdb::ReadResult loadJsonFile(std::string_view path, const wdb::LoadOptions& options = {});

// A JSON document when the name ends in .json, else a database file.
wdb::ReadResult loadAnyDatabaseFile(std::string_view path, const wdb::LoadOptions& options = {});

// A database whose order another takes (reorder, Apply order from...): as
// loadAnyDatabaseFile, except that a JSON document without satellites is
// an empty database, which orders nothing, rather than a refusal.
wdb::ReadResult loadReferenceFile(std::string_view path, const wdb::LoadOptions& options = {});

}  // namespace velmora::json
