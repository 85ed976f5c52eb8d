// SatcoDX listing files: fixed-column text records, one channel per line,
// each line beginning with "SATCODX" and the format's version ("SATCODX103",
// "SATCODX105"). Only MPG2 records with a frequency, a known polarisation, a
// symbol rate and a TV or radio PID set become services; the others are
// skipped and counted by reason.
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

// Whether the bytes are a listing at all: some line begins with "SATCODX".
// Any other file (a text, an image, zeros) is not one, whatever its name.
bool isSdxListing(std::span<const std::byte> bytes);

// Why a record brings no service.
enum class SdxSkip {
  None,
  NotMpeg2,       // another format (MPG4 HD, MPG1 audio) or no record at all
  NoTransponder,  // no frequency, polarisation or symbol rate
  FeedOrTest,     // a feed or test channel, left out on request
  NoPids,         // no audio PID, or a radio channel without PCR PID
};

// How the records of one listing went. Blank records are not counted.
struct SdxCounts {
  int records = 0;
  int imported = 0;
  int notMpeg2 = 0;
  int noTransponder = 0;
  int feedOrTest = 0;
  int noPids = 0;
  int overLimit = 0;  // past the 4000 services a satellite holds
  int skipped() const { return records - imported; }
};

// Satellite name and position code from a file's first record, whatever
// that record holds.
SdxSatHeader readSdxSatHeader(std::string_view record);

// The service of one record, or nullopt when the record is skipped (and
// then why in `why`, when given). skipFeedTest drops channels whose name
// holds a feed or test word.
std::optional<SvcRecord> parseSdxRecord(std::string_view record, bool skipFeedTest,
                                        SdxSkip* why = nullptr);

// Appends every accepted record of the listing, in file order, to `table`
// (up to the table's capacity) and returns the header of its first record
// (empty texts when the listing has no record at all); counts the records
// into `counts` when given.
SdxSatHeader readSdxFile(std::span<const std::byte> bytes, SvcTable& table, bool skipFeedTest,
                         SdxCounts* counts = nullptr);

// Fills `tps` (empty on entry) with one transponder per distinct
// frequency + polarization + symbolRate among the services' keys, in order of
// first use, with the nid and tid of the first service that used it.
void deriveTransponders(const SvcTable& services, TpTable& tps);

}  // namespace velmora
