// Writing a *.wdb file: header, 64 satellite slots (real satellites first,
// then "NEW n" placeholders), transponders numbered over the whole file,
// services tied to them by that number, and zero padding to the fixed size.
#include <cstdio>
#include <string>
#include <unordered_map>

#include "db/text_number.h"
#include "texts.h"
#include "wdb/sat_code.h"
#include "wdb/wdb_format.h"

namespace velmora::wdb {

namespace {

constexpr std::size_t NAME_FIELD = 16;

class ImageWriter {
 public:
  explicit ImageWriter(std::size_t capacity) { bytes_.reserve(capacity); }

  void u8(unsigned v) { bytes_.push_back(static_cast<std::byte>(v & 0xFF)); }
  void u16(unsigned v) {
    u8(v);
    u8(v >> 8);
  }
  void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, std::byte{0}); }
  void packed(std::string_view text) {
    for (std::uint8_t b : packDecimal(text)) u8(b);
  }
  // Length byte, then the text cut to 16 bytes and padded with zeros; a
  // text of exactly 16 bytes has no terminating zero.
  void name(std::string_view text) {
    const std::size_t n = std::min(text.size(), NAME_FIELD);
    u8(static_cast<unsigned>(n));
    for (std::size_t i = 0; i < n; ++i) u8(static_cast<unsigned char>(text[i]));
    zeros(NAME_FIELD - n);
  }
  void startMarker() { marker(0x41); }
  void endMarker() { marker(0x05); }
  void padTo(std::size_t size) {
    if (bytes_.size() < size) zeros(size - bytes_.size());
  }
  std::vector<std::byte> take() { return std::move(bytes_); }

 private:
  void marker(unsigned b) {
    for (int i = 0; i < 4; ++i) u8(b);
  }
  std::vector<std::byte> bytes_;
};

bool has(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

unsigned settingsByte(const SatRecord& sat) {
  unsigned b = 0;
  if (!has(sat.diseqc, "None")) {
    if (has(sat.diseqc, "D1.0"))
      b += 8;
    else if (has(sat.diseqc, "D1.1"))
      b += 16;
    else if (has(sat.diseqc, "MOTOR"))
      b += 24;
    else if (has(sat.diseqc, "USALS"))
      b += 32;
  }
  if (!has(sat.tone22k, "Off") && (has(sat.tone22k, "On") || has(sat.tone22k, "Auto"))) b += 4;
  if (!has(sat.switch12v, "Off") && has(sat.switch12v, "On")) b += 2;
  if (!has(sat.lnbPower, "Off") && has(sat.lnbPower, "On")) b += 1;
  return b;
}

unsigned bcdByte(std::int64_t v) { return static_cast<unsigned>((v / 10) << 4 | (v % 10)); }

void writeSatellites(ImageWriter& w, const ChannelDb& db, Layout layout,
                     const FavouriteList& favourites, int& satCodeCounter) {
  for (int i = 0; i < db.satCount; ++i) {
    const SatRecord& sat = db.sats[static_cast<std::size_t>(i)];
    w.u8(static_cast<unsigned>(i + 1));
    w.name(sat.name);
    w.packed(sat.lnbFreq1);
    w.packed(sat.lnbFreq2);
    w.u8(satelliteCode(sat.name, satCodeCounter));
    unsigned settings = settingsByte(sat);
    if (layout == Layout::TypeI) {
      // Longitude in tenths of a degree east; a western one is flagged and
      // stored as its distance west of 0 degrees.
      std::int64_t longitude = leadingValue(sat.sdxCode);
      if (longitude > 1800) {
        settings += 64;
        longitude = 3600 - longitude;
      }
      if (longitude < 0 || longitude > 9999) longitude = 0;
      w.u8(settings);
      w.u8(static_cast<unsigned>(leadingValue(sat.diseqcCommitted) +
                                 8 * leadingValue(sat.diseqcUncommitted)));
      w.u8(0);
      w.u8(bcdByte(longitude / 100));
      w.u8(bcdByte(longitude % 100));
    } else {
      w.u8(settings);
    }
  }
  for (int k = 1; db.satCount + k <= MAX_SATS; ++k) {
    const std::string name = "NEW " + std::to_string(k);
    w.u8(static_cast<unsigned>(db.satCount + k));
    w.name(name);
    w.packed("10600");
    w.packed("9750");
    w.u8(static_cast<unsigned>(favouriteLine(favourites, name)));
    w.u8(0x01);
    if (layout == Layout::TypeI) w.zeros(4);
  }
}

void writeTransponders(ImageWriter& w, const ChannelDb& db) {
  for (int i = 0; i < db.satCount; ++i) {
    for (const TpRecord& tp : db.tpTables[static_cast<std::size_t>(i)]) {
      w.u8(static_cast<unsigned>(i + 1));
      w.u8(has(tp.polarization, "V") ? 1 : 0);
      w.packed(tp.frequency);
      w.packed(tp.symbolRate);
      w.zeros(2);
    }
  }
}

void writeServices(ImageWriter& w, const ChannelDb& db, Layout layout) {
  for (int i = 0; i < db.satCount; ++i) {
    for (const SvcRecord& svc : db.svcTables[static_cast<std::size_t>(i)]) {
      const auto type = static_cast<unsigned>(svc.serviceType) & 0xFF;
      w.u16(leadingU16(svc.serviceId));
      if (layout == Layout::TypeI) {
        w.u16(leadingU16(svc.tpSeqNo));
        w.u16(0xFFFF);
        w.u16(leadingU16(svc.videoPid));
        w.u16(leadingU16(svc.audioPid));
        w.u16(leadingU16(svc.pcrPid));
        w.name(svc.name);
        w.u8(type);
        w.zeros(2);
      } else {
        w.u16(type);
        w.u16(leadingU16(svc.tpSeqNo));
        w.name(svc.name);
        w.zeros(3);
        w.u16(0xFFFF);
        w.u16(leadingU16(svc.videoPid));
        w.u16(leadingU16(svc.audioPid));
        w.u16(leadingU16(svc.pcrPid));
        w.zeros(2);
      }
    }
  }
}

}  // namespace

std::size_t imageContentSize(Layout layout, std::size_t t, std::size_t s) {
  return layout == Layout::TypeII ? 1818 + TP_SIZE * t + TYPE2_SVC_SIZE * s + 4
                                  : 2074 + TP_SIZE * t + TYPE1_SVC_SIZE * s + 4;
}

Failure totalsRefusal(int transponders, int services) {
  if (transponders > MAX_TOTAL_TP) return {FailureKind::OverLimits, std::string(text::MAX_TP)};
  if (services > MAX_TOTAL_SVC) {
    char buf[256];
    std::snprintf(buf, sizeof buf, std::string(text::CHANNEL_OVERFLOW_FMT).c_str(), services);
    return {FailureKind::OverLimits, std::string(buf) + std::string(text::CHANNEL_OVERFLOW_ADVICE)};
  }
  return {};
}

Failure saveRefusal(const ChannelDb& db, Layout layout) {
  if (db.satCount <= 0) return {FailureKind::Empty, std::string(text::NO_DATA)};
  if (db.satCount > MAX_SATS) return {FailureKind::OverLimits, std::string(text::MAX_SATS)};
  const int t = db.countTransponders();
  const int s = db.countServices();
  if (Failure refusal = totalsRefusal(t, s); refusal.failed()) return refusal;
  if (layout == Layout::TypeII && imageContentSize(layout, static_cast<std::size_t>(t),
                                                   static_cast<std::size_t>(s)) > TYPE2_MAX_CONTENT)
    return {FailureKind::OverLimits, std::string(text::TYPE2_OVERFLOW)};
  // NEW marks the placeholders of unused slots. An older receiver reads at
  // most 15 characters of a name and ends its satellite list at the first
  // name holding NEW: such a satellite and every one after it would be
  // lost. A newer one reads 16 and drops each such satellite that has no
  // transponders, as it drops the placeholders.
  const bool typeII = layout == Layout::TypeII;
  for (int i = 0; i < db.satCount; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    const std::string& name = db.sats[slot].name;
    std::string_view seen = std::string_view(name).substr(0, typeII ? 15 : 16);
    seen = seen.substr(0, seen.find('\0'));
    if (typeII && holdsNew(seen))
      return {FailureKind::OverLimits, std::string(text::TYPE2_NEW_NAME_HEAD) + name +
                                           std::string(text::TYPE2_NEW_NAME_TAIL)};
    if (!typeII && readAsPlaceholder(seen, db.tpTables[slot].count()))
      return {FailureKind::OverLimits, std::string(text::TYPE2_NEW_NAME_HEAD) + name +
                                           std::string(text::TYPE1_NEW_NAME_TAIL)};
  }
  return {};
}

void numberTransponders(ChannelDb& db) {
  int n = 0;
  for (int i = 0; i < db.satCount; ++i)
    for (TpRecord& tp : db.tpTables[static_cast<std::size_t>(i)]) tp.seqNo = decimalText(++n);
}

void linkServices(ChannelDb& db) {
  std::unordered_map<std::string, const std::string*> seqByKey;
  for (int i = 0; i < db.satCount; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    seqByKey.clear();
    // Later rows overwrite earlier ones: the last equal transponder wins.
    for (const TpRecord& tp : db.tpTables[slot]) seqByKey[tpKeyShort(tp)] = &tp.seqNo;
    for (SvcRecord& svc : db.svcTables[slot]) {
      const auto it = seqByKey.find(std::string(tpKeyShortPart(svc.tpKey)));
      if (it != seqByKey.end()) svc.tpSeqNo = *it->second;
    }
  }
}

WriteResult writeWdb(ChannelDb& db, Layout layout, const FavouriteList& favourites,
                     int& satCodeCounter) {
  if (layout == Layout::NotChosen) layout = Layout::TypeI;
  WriteResult result;
  result.failure = saveRefusal(db, layout);
  if (!result.ok()) return result;

  for (int i = 0; i < db.satCount; ++i) {
    std::string& name = db.sats[static_cast<std::size_t>(i)].name;
    if (name.size() > NAME_FIELD) name.resize(NAME_FIELD);
  }
  numberTransponders(db);
  linkServices(db);
  db.recountTotals();

  const std::size_t fileSize = layout == Layout::TypeI ? TYPE1_FILE_SIZE : TYPE2_FILE_SIZE;
  ImageWriter w(fileSize);
  w.u16(MAX_SATS);
  w.u16(static_cast<unsigned>(db.totalTp));
  w.u16(static_cast<unsigned>(db.totalSvc));
  satCodeCounter = SAT_CODE_TABLE_SIZE;
  w.startMarker();
  writeSatellites(w, db, layout, favourites, satCodeCounter);
  w.endMarker();
  w.startMarker();
  writeTransponders(w, db);
  w.endMarker();
  w.startMarker();
  writeServices(w, db, layout);
  w.endMarker();
  w.padTo(fileSize);
  result.bytes = w.take();
  return result;
}

}  // namespace velmora::wdb
