// The receiver's *.wdb database file in its two layouts.
//
//   Type I  (receiver software since 2001.10): 32-byte satellite records with
//           longitude, west flag and DiSEqC switch ports; 32-byte services;
//           padded to 262144 bytes.
//   Type II (older receivers): 28-byte satellite records, 36-byte services;
//           padded to 131072 bytes.
//
// Readers and writers work on whole byte buffers; the file itself is read or
// written in one place (file_io.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"
#include "db/failure.h"
#include "sdx/favourites.h"

namespace velmora::wdb {

// NotChosen: a database that was neither opened from a file nor saved in
// a layout yet (a save writes it as Type I).
enum class Layout { NotChosen, TypeI, TypeII };

// "new", "I", "II": the names the command line and JSON use.
std::string_view layoutName(Layout layout);

inline constexpr std::size_t TYPE1_FILE_SIZE = 0x40000;
inline constexpr std::size_t TYPE2_FILE_SIZE = 0x20000;
inline constexpr std::size_t HEADER_SIZE = 6;
inline constexpr std::size_t SAT_AREA = 10;
inline constexpr std::size_t TYPE1_SAT_SIZE = 32;
inline constexpr std::size_t TYPE2_SAT_SIZE = 28;
inline constexpr std::size_t TP_SIZE = 12;
inline constexpr std::size_t TYPE1_SVC_SIZE = 32;
inline constexpr std::size_t TYPE2_SVC_SIZE = 36;
// The longest file read as a database: both layouts are far shorter, and a
// longer file is not one of them.
inline constexpr std::size_t MAX_FILE_BYTES = 1u << 20;
// A Type II file must keep at least six padding zeros after its last marker,
// or the layout test cannot find it again.
inline constexpr std::size_t TYPE2_MAX_CONTENT = TYPE2_FILE_SIZE - 6;

// Packed decimal: a value of 1000..99999 travels as the eight packed digits
// of value x 100 ("9750" -> 00 97 50 00, "10600" -> 01 06 00 00); anything
// else as four zero bytes. The value is taken by the leading-digits rule.
std::array<std::uint8_t, 4> packDecimal(std::string_view text);
// One packed byte as the receiver's software reads it: the byte's hex text
// by the leading-digits rule (0x47 -> 47, 0xA5 -> 0, 0x5A -> 5).
int unpackByte(std::uint8_t b);
// A 4-byte packed field back to decimal text; the hundredths are ignored.
std::string unpackDecimal(std::span<const std::uint8_t, 4> field);

// Outcome of reading a file: the database and its layout, or why it was
// refused (NotAFormat, OverLimits for a header over the receiver's limits;
// loading a file by name adds the kinds of load.h).
struct ReadResult {
  ChannelDb db;
  Layout layout = Layout::NotChosen;
  Failure failure;
  // Records of the file that could not be placed and were left out: a
  // transponder naming no loaded satellite, a channel naming no loaded
  // transponder, real satellites an older receiver stops short of or takes
  // for unused slots (wdb_scan.h says which).
  int lostSatellites = 0;
  int lostTransponders = 0;
  int lostChannels = 0;
  bool lostRecords() const { return lostSatellites + lostTransponders + lostChannels > 0; }
  bool ok() const { return !failure.failed(); }
};

// Header limits, layout recognition, reading and dropping the placeholder
// satellites. Never reads outside `bytes`.
ReadResult readWdb(std::span<const std::byte> bytes);

// Which layout the bytes hold, NotChosen when neither (header counts taken from
// the bytes; no limit checks).
Layout recogniseLayout(std::span<const std::byte> bytes);

// Whether a satellite's name, as a receiver reads it, holds "NEW", the mark
// of the placeholders in unused slots.
bool holdsNew(std::string_view name);
// Readers take a satellite whose name holds "NEW" and that has no
// transponders for a placeholder, and drop it.
bool readAsPlaceholder(std::string_view name, int transponders);

// Bytes of a file's content before its padding, for t transponders and s
// services; a Type II file holds at most TYPE2_MAX_CONTENT.
std::size_t imageContentSize(Layout layout, std::size_t t, std::size_t s);

// Why the database cannot be written in `layout`, or no failure when it
// can. In this order: no satellites (Empty), too many satellites,
// too many transponders, too many services (the channel-overflow warning),
// a Type II image that would not fit its file, a Type II satellite whose
// name an older receiver would take for the end of the list, a Type I
// satellite a newer receiver would take for a placeholder (OverLimits).
Failure saveRefusal(const ChannelDb& db, Layout layout);

// The refusal for more transponders or services than the database holds in
// all (the channel-overflow warning gives the number), no failure within
// them.
Failure totalsRefusal(int transponders, int services);

// Gives every transponder its 1-based seqNo over the whole database.
void numberTransponders(ChannelDb& db);
// Sets each service's tpSeqNo from the last transponder of its satellite
// whose short key equals the short part of the service's tpKey.
void linkServices(ChannelDb& db);

struct WriteResult {
  std::vector<std::byte> bytes;
  Failure failure;
  bool ok() const { return !failure.failed(); }
};

// The whole file image as the save writes it (NotChosen is written as Type I).
// Numbers the transponders, links the services, and cuts satellite names
// longer than 16 bytes in the database itself. satCodeCounter is set to 26
// first and advanced for every satellite not in the built-in table.
// Refuses, writing nothing and changing nothing, when saveRefusal says so.
WriteResult writeWdb(ChannelDb& db, Layout layout, const FavouriteList& favourites,
                     int& satCodeCounter);

}  // namespace velmora::wdb
