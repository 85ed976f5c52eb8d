#include "sdx/listing.h"

#include <array>
#include <unordered_set>

#include "db/text_number.h"
#include "sdx/text_reads.h"

namespace velmora {

namespace {

// Column offsets of a listing record (0-based characters).
constexpr std::size_t SAT_NAME_AT = 10, SAT_NAME_LEN = 16;
constexpr std::size_t FORMAT_AT = 29, FORMAT_LEN = 4;
constexpr std::size_t FREQ_AT = 34, FREQ_LEN = 5;
constexpr std::size_t POL_AT = 42;
constexpr std::size_t NAME1_AT = 43, NAME1_LEN = 8;
constexpr std::size_t SAT_CODE_AT = 51, SAT_CODE_LEN = 4;
constexpr std::size_t SYMRATE_AT = 69, SYMRATE_LEN = 5;
constexpr std::size_t VPID_AT = 75, APID_AT = 79, PCR_AT = 83, PID_LEN = 4;
constexpr std::size_t SID_AT = 87, NID_AT = 92, TID_AT = 97, ID_LEN = 5;
constexpr std::size_t CA_AT = 111, CA_LEN = 4;
constexpr std::size_t NAME2_AT = 115, NAME2_LEN = 12;

constexpr std::size_t NAME_CHARS = 18;

// Columns of underscores mark a value the listing does not give.
constexpr std::string_view NO_NUMBER = "_____";
constexpr std::string_view NO_PID = "____";

// Only MPEG-2 channels are taken; MPG4 (HD) and MPG1 (audio) lines of newer
// listings have no place in the receiver's table.
constexpr std::string_view CHANNEL_FORMAT = "MPG2";

constexpr std::array<std::string_view, 6> FEED_TEST_WORDS = {"FEED", "Feed", "feed",
                                                             "TEST", "Test", "test"};

// The characters at [offset, offset + width) that the record has; a column
// beyond the end of a short record is shorter or empty.
std::string_view column(std::string_view record, std::size_t offset, std::size_t width) {
  if (offset >= record.size()) return {};
  return record.substr(offset, width);
}

// The receiver only knows H and V. Listings write the polarisation as a
// letter or as a digit (0 and 3 vertical/right-hand, 1 and 2 horizontal/left).
std::optional<char> polarisationAt(std::string_view record) {
  if (record.size() <= POL_AT) return std::nullopt;
  switch (record[POL_AT]) {
    case '0':
    case '3':
    case 'V':
      return 'V';
    case '1':
    case '2':
    case 'H':
      return 'H';
    default:
      return std::nullopt;
  }
}

bool isFeedOrTest(std::string_view name) {
  for (std::string_view word : FEED_TEST_WORDS) {
    if (name.find(word) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

namespace {

// Hands the records of a listing one at a time to `take`, which returns
// false to stop reading.
template <class Take>
void forEachSdxRecord(std::span<const std::byte> bytes, Take take) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  detail::forEachTextModeRead(text, SDX_RECORD_CHARS, [&](std::string& record) {
    if (!record.empty() && record.back() == '\n') record.pop_back();
    record.resize(detail::untilNul(record).size());
    return take(record);
  });
}

}  // namespace

std::vector<std::string> splitSdxRecords(std::span<const std::byte> bytes) {
  std::vector<std::string> records;
  forEachSdxRecord(bytes, [&](std::string& record) {
    records.push_back(std::move(record));
    return true;
  });
  return records;
}

SdxSatHeader readSdxSatHeader(std::string_view record) {
  return SdxSatHeader{std::string(column(record, SAT_NAME_AT, SAT_NAME_LEN)),
                      std::string(column(record, SAT_CODE_AT, SAT_CODE_LEN))};
}

std::optional<SvcRecord> parseSdxRecord(std::string_view record, bool skipFeedTest, SdxSkip* why) {
  SdxSkip ignored = SdxSkip::None;
  SdxSkip& skip = why ? *why : ignored;
  skip = SdxSkip::None;
  if (column(record, FORMAT_AT, FORMAT_LEN) != CHANNEL_FORMAT) {
    skip = SdxSkip::NotMpeg2;
    return std::nullopt;
  }

  const std::string_view freq = column(record, FREQ_AT, FREQ_LEN);
  const std::optional<char> pol = polarisationAt(record);
  const std::string_view symbolRate = column(record, SYMRATE_AT, SYMRATE_LEN);
  if (freq == NO_NUMBER || !pol || symbolRate == NO_NUMBER) {
    skip = SdxSkip::NoTransponder;
    return std::nullopt;
  }

  std::string name(column(record, NAME1_AT, NAME1_LEN));
  name += column(record, NAME2_AT, NAME2_LEN);
  if (name.size() > NAME_CHARS) name.resize(NAME_CHARS);
  if (skipFeedTest && isFeedOrTest(name)) {
    skip = SdxSkip::FeedOrTest;
    return std::nullopt;
  }

  // A TV channel needs video and audio; a radio channel has no video but an
  // audio and a PCR PID. A missing PCR on TV is carried by the video PID.
  const std::string_view video = column(record, VPID_AT, PID_LEN);
  const std::string_view audio = column(record, APID_AT, PID_LEN);
  const std::string_view pcr = column(record, PCR_AT, PID_LEN);
  const bool radio = video == NO_PID;
  if (audio == NO_PID || (radio && pcr == NO_PID)) {
    skip = SdxSkip::NoPids;
    return std::nullopt;
  }

  SvcRecord svc;
  svc.videoPid = radio ? "0" : normalisedNumber(video);
  svc.audioPid = normalisedNumber(audio);
  svc.pcrPid = (!radio && pcr == NO_PID) ? normalisedNumber(video) : normalisedNumber(pcr);
  svc.serviceId = normalisedNumber(column(record, SID_AT, ID_LEN));

  // The underscore pads names in listings; the channel name ends before it.
  if (const std::size_t cut = name.find('_'); cut != std::string::npos) name.resize(cut);
  svc.name = std::move(name);

  // "Frei" (free) and an empty CA column are free-to-air; anything else is a
  // CA system and the channel counts as scrambled.
  const std::string_view ca = column(record, CA_AT, CA_LEN);
  const bool scrambled = ca != NO_PID && ca != "Frei";
  // The type follows the stored video PID, so a TV line with video 0 is
  // kept as a radio service.
  svc.serviceType = (svc.videoPid == "0" ? 8 : 4) + (scrambled ? 1 : 0);

  svc.tpKey = normalisedNumber(freq);
  svc.tpKey += *pol;
  svc.tpKey += normalisedNumber(symbolRate);
  svc.tpKey += 'N';
  svc.tpKey += normalisedNumber(column(record, NID_AT, ID_LEN));
  svc.tpKey += 'T';
  svc.tpKey += normalisedNumber(column(record, TID_AT, ID_LEN));
  return svc;
}

SdxSatHeader readSdxFile(std::span<const std::byte> bytes, SvcTable& table, bool skipFeedTest,
                         SdxCounts* counts) {
  // Record by record, never the whole listing split at once: a file of
  // nothing but line ends would otherwise cost a string per line.
  SdxSatHeader header;
  SdxCounts ignored;
  SdxCounts& count = counts ? *counts : ignored;
  bool first = true;
  forEachSdxRecord(bytes, [&](const std::string& record) {
    if (first) header = readSdxSatHeader(record);
    first = false;
    // The rest of a line longer than a record, or an empty line.
    if (record.find_first_not_of(" \t\r") == std::string::npos) return true;
    ++count.records;
    SdxSkip why = SdxSkip::None;
    std::optional<SvcRecord> svc = parseSdxRecord(record, skipFeedTest, &why);
    if (svc && table.full()) {
      ++count.overLimit;
    } else if (svc) {
      table.append(std::move(*svc));
      ++count.imported;
    }
    switch (why) {
      case SdxSkip::None:
        break;
      case SdxSkip::NotMpeg2:
        ++count.notMpeg2;
        break;
      case SdxSkip::NoTransponder:
        ++count.noTransponder;
        break;
      case SdxSkip::FeedOrTest:
        ++count.feedOrTest;
        break;
      case SdxSkip::NoPids:
        ++count.noPids;
        break;
    }
    return true;
  });
  return header;
}

bool isSdxListing(std::span<const std::byte> bytes) {
  constexpr std::string_view MARK = "SATCODX";
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // A byte-order mark that an editor put in front of the first line.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  for (std::size_t at = 0; at < text.size();) {
    if (text.substr(at).starts_with(MARK)) return true;
    at = text.find('\n', at);
    if (at == std::string_view::npos) break;
    ++at;
  }
  return false;
}

void deriveTransponders(const SvcTable& services, TpTable& tps) {
  std::unordered_set<std::string> seen;
  for (const SvcRecord& svc : services) {
    if (tps.full()) break;
    TpRecord tp = splitTpKey(svc.tpKey);
    if (seen.insert(tpKeyShort(tp)).second) tps.append(std::move(tp));
  }
}

}  // namespace velmora
