// SatcoDX listing files: fixed-column text records, one channel per line.
// Only MPG2 records with a frequency, a known polarisation, a symbol rate and
// a TV or radio PID set become services; everything else is skipped without
// notice, so a file of the wrong kind simply brings no channels.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"

namespace velmora {

// Longest record the reader takes at once; a longer physical line is read
// as several records.
inline constexpr std::size_t SDX_RECORD_CHARS = 128;

// The records of a listing as the reader sees them: pieces of at most 128
// characters ending after a line feed (CR LF counts as one line feed), with
// the end-of-line character removed and the text ending at its first NUL.
std::vector<std::string> splitSdxRecords(std::span<const std::byte> bytes);

struct SdxSatHeader {
  std::string name;     // 16 characters at offset 10, as they are
  std::string sdxCode;  // 4 characters at offset 51
};

// Satellite name and position code from a file's first record, whatever
// that record holds.
SdxSatHeader readSdxSatHeader(std::string_view record);

// The service of one record, or nullopt when the record is skipped.
// skipFeedTest drops channels whose name holds a feed or test word.
std::optional<SvcRecord> parseSdxRecord(std::string_view record, bool skipFeedTest);

// Appends every accepted record of the listing, in file order, to `table`
// (stopping at the table's capacity) and returns the header of its first
// record (empty texts when the listing has no record at all).
SdxSatHeader readSdxFile(std::span<const std::byte> bytes, SvcTable& table, bool skipFeedTest);

// Fills `tps` (empty on entry) with one transponder per distinct
// frequency + polarization + symbolRate among the services' keys, in order of
// first use, with the nid and tid of the first service that used it.
void deriveTransponders(const SvcTable& services, TpTable& tps);

}  // namespace velmora
