// Reading a *.wdb file: header limits, layout recognition, the three areas,
// and dropping the placeholder satellites the writer fills unused slots with.
#include <array>
#include <vector>

#include "db/text_number.h"
#include "texts.h"
#include "wdb/byte_cursor.h"
#include "wdb/wdb_format.h"
#include "wdb/wdb_records.h"
#include "wdb/wdb_scan.h"

namespace velmora::wdb {

namespace {

constexpr const std::array<std::uint8_t, 4>& kStart = SECTION_START;
constexpr const std::array<std::uint8_t, 4>& kEnd = SECTION_END;
constexpr const Geometry& kType1 = TYPE1_GEOMETRY;
constexpr const Geometry& kType2 = TYPE2_GEOMETRY;

bool markerAt(const ByteView& v, std::size_t offset, const std::array<std::uint8_t, 4>& m) {
  for (std::size_t i = 0; i < 4; ++i) {
    const auto b = v.u8(offset + i);
    if (!b || *b != m[i]) return false;
  }
  return true;
}

// The final section-end marker and six padding zeros add up to 20; a byte
// missing from the file counts as -1. The byte sum alone is too weak (with
// 64 services both layouts put their final marker at the same offset), so
// the layout must also have its section markers where it puts them.
bool looksLike(const ByteView& v, const Geometry& g, std::size_t t, std::size_t s) {
  int sum = 0;
  const std::size_t tail = g.svcEnd(t, s);
  for (std::size_t i = 0; i < 10; ++i) {
    const auto b = v.u8(tail + i);
    sum += b ? *b : -1;
  }
  return sum == 20 && markerAt(v, 6, kStart) && markerAt(v, g.satAreaEnd(), kEnd) &&
         markerAt(v, g.satAreaEnd() + 4, kStart) && markerAt(v, g.tpEnd(t), kEnd) &&
         markerAt(v, g.tpEnd(t) + 4, kStart);
}

Layout recognise(const ByteView& v, std::size_t t, std::size_t s) {
  if (looksLike(v, kType1, t, s)) return Layout::TypeI;
  if (looksLike(v, kType2, t, s)) return Layout::TypeII;
  return Layout::NotChosen;
}

const char* onOff(bool on) { return on ? "On" : "Off"; }

// A position as four digits. A west position beyond 360 degrees, which no
// writer makes, stays a negative number rather than "0-34".
std::string fourDigits(int v) {
  std::string s = decimalText(v);
  if (v >= 0 && s.size() < 4) s.insert(0, 4 - s.size(), '0');
  return s;
}

SatRecord decodeSat(const ByteView& r, Layout layout) {
  SatRecord sat;
  // Type II receivers show at most 15 characters of a name.
  sat.name = r.text(2, 16, layout == Layout::TypeI ? 16 : 15);
  const std::array<std::uint8_t, 4> f1 = {r.at(18), r.at(19), r.at(20), r.at(21)};
  const std::array<std::uint8_t, 4> f2 = {r.at(22), r.at(23), r.at(24), r.at(25)};
  sat.lnbFreq1 = unpackDecimal(f1);
  sat.lnbFreq2 = unpackDecimal(f2);
  sat.lnbType = lnbTypeFor(sat.lnbFreq1, sat.lnbFreq2);
  if (layout == Layout::TypeII && leadingValue(sat.lnbFreq2) != 0) sat.lnbType = "Universal";

  const std::uint8_t settings = r.at(27);
  sat.lnbPower = onOff(settings & 0x01);
  sat.switch12v = onOff(settings & 0x02);
  sat.tone22k = onOff(settings & 0x04);
  sat.diseqc = diseqcModeText((settings >> 3) & 0x07, "NONE");

  if (layout == Layout::TypeI) {
    const std::uint8_t ports = r.at(28);
    sat.diseqcCommitted = decimalText(ports & 0x07);
    sat.diseqcUncommitted = decimalText(ports >> 3);
    int longitude = unpackByte(r.at(30)) * 100 + unpackByte(r.at(31));
    // Bit 6 marks a western position, stored as its distance from 0 degrees.
    if (settings & 0x40) longitude = 3600 - longitude;
    sat.sdxCode = fourDigits(longitude);
  } else {
    sat.sdxCode = "0000";
    sat.diseqcCommitted = "0";
    sat.diseqcUncommitted = "0";
  }
  if (sat.lnbType.find("Universal") != std::string::npos) sat.tone22k = "Auto";
  return sat;
}

TpRecord decodeTp(const ByteView& r, std::size_t position) {
  TpRecord tp;
  tp.polarization = r.at(1) == 0 ? "H" : "V";
  const std::array<std::uint8_t, 4> f = {r.at(2), r.at(3), r.at(4), r.at(5)};
  const std::array<std::uint8_t, 4> sr = {r.at(6), r.at(7), r.at(8), r.at(9)};
  tp.frequency = unpackDecimal(f);
  tp.symbolRate = unpackDecimal(sr);
  tp.seqNo = decimalText(static_cast<std::int64_t>(position));
  tp.nid = "0";
  tp.tid = "0";
  return tp;
}

constexpr const SvcOffsets& kSvc1 = TYPE1_SVC;
constexpr const SvcOffsets& kSvc2 = TYPE2_SVC;

SvcRecord decodeSvc(const ByteView& r, Layout layout) {
  const SvcOffsets& o = layout == Layout::TypeI ? kSvc1 : kSvc2;
  SvcRecord svc;
  svc.serviceId = decimalText(r.le16(0));
  svc.videoPid = decimalText(r.le16(o.videoPid));
  svc.audioPid = decimalText(r.le16(o.audioPid));
  svc.pcrPid = decimalText(r.le16(o.pcrPid));
  svc.name = r.text(o.name, 16, layout == Layout::TypeI ? 16 : 15);
  svc.serviceType = r.at(o.type);
  return svc;
}

// Fills `db` from a recognised file. Records that name a satellite or a
// transponder that was not loaded are skipped; the others keep their
// positions, so numbers in the file still mean what they meant.
void readAreas(const ByteView& v, Layout layout, std::size_t t, std::size_t s, ReadResult& result) {
  ChannelDb& db = result.db;
  const Geometry& g = layout == Layout::TypeI ? kType1 : kType2;
  // The names of every slot, read or not, to tell real satellites from the
  // writer's placeholders when counting what was left out.
  std::vector<std::string> names;
  for (std::size_t i = 0; i < static_cast<std::size_t>(MAX_SATS); ++i) {
    const auto r = v.record(SAT_AREA + i * g.satSize, g.satSize);
    if (!r) break;
    names.push_back(r->text(SAT_NAME_OFFSET, 16, 16));
  }
  const std::size_t realSlots = realSatelliteSlots(names);
  std::size_t tpsPresent = 0, svcsPresent = 0;

  for (std::size_t i = 0; i < static_cast<std::size_t>(MAX_SATS); ++i) {
    const auto r = v.record(SAT_AREA + i * g.satSize, g.satSize);
    if (!r) break;
    SatRecord sat = decodeSat(*r, layout);
    // Older receivers end their satellite list at the first placeholder.
    if (layout == Layout::TypeII && holdsNew(sat.name)) break;
    db.appendSatellite(std::move(sat));
  }

  // Where each transponder of the file went: satellite and row, or -1.
  struct Placed {
    int sat = -1;
    int row = -1;
  };
  std::vector<Placed> placed(t);
  for (std::size_t i = 0; i < t; ++i) {
    const auto r = v.record(g.tpStart() + i * TP_SIZE, TP_SIZE);
    if (!r) break;
    ++tpsPresent;
    const int slot = r->at(0);
    if (slot < 1 || slot > db.satCount) continue;
    TpTable& table = db.tpTables[static_cast<std::size_t>(slot - 1)];
    if (!table.append(decodeTp(*r, i + 1))) continue;
    placed[i] = {slot - 1, table.count() - 1};
  }

  for (std::size_t i = 0; i < s; ++i) {
    const auto r = v.record(g.svcStart(t) + i * g.svcSize, g.svcSize);
    if (!r) break;
    ++svcsPresent;
    const SvcOffsets& o = layout == Layout::TypeI ? kSvc1 : kSvc2;
    const std::size_t number = r->le16(o.tpNumber);
    if (number < 1 || number > t || placed[number - 1].sat < 0) continue;
    const Placed p = placed[number - 1];
    SvcRecord svc = decodeSvc(*r, layout);
    svc.tpKey = tpKeyLong(db.tpTables[static_cast<std::size_t>(p.sat)][p.row]);
    db.svcTables[static_cast<std::size_t>(p.sat)].append(std::move(svc));
  }

  // Unused slots are written as "NEW n" placeholders without transponders;
  // drop them in one stable pass, the others moving up.
  int kept = 0;
  int keptPlaceholders = 0;
  for (int i = 0; i < db.satCount; ++i) {
    const auto from = static_cast<std::size_t>(i);
    if (readAsPlaceholder(db.sats[from].name, db.tpTables[from].count())) continue;
    keptPlaceholders += from >= realSlots;
    const auto to = static_cast<std::size_t>(kept++);
    if (to != from) {
      db.sats[to] = std::move(db.sats[from]);
      db.tpTables[to] = std::move(db.tpTables[from]);
      db.svcTables[to] = std::move(db.svcTables[from]);
    }
  }
  for (int i = kept; i < db.satCount; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    db.sats[slot] = SatRecord{};
    db.tpTables[slot].clear();
    db.svcTables[slot].clear();
  }
  db.satCount = kept;
  db.recountTotals();
  result.lostSatellites = static_cast<int>(realSlots) - (kept - keptPlaceholders);
  result.lostTransponders = static_cast<int>(tpsPresent) - db.totalTp;
  result.lostChannels = static_cast<int>(svcsPresent) - db.totalSvc;
}

}  // namespace

bool holdsNew(std::string_view name) { return name.find("NEW") != std::string_view::npos; }

bool readAsPlaceholder(std::string_view name, int transponders) {
  return holdsNew(name) && transponders == 0;
}

Layout recogniseLayout(std::span<const std::byte> bytes) {
  const ByteView v(bytes);
  const auto t = v.u16(2);
  const auto s = v.u16(4);
  if (!t || !s) return Layout::NotChosen;
  return recognise(v, *t, *s);
}

ReadResult readWdb(std::span<const std::byte> bytes) {
  ReadResult result;
  const ByteView v(bytes);
  // Each header number is checked as soon as it is read.
  const auto slots = v.u16(0);
  if (!slots) {
    result.failure = {FailureKind::NotAFormat, std::string(text::NOT_A_FORMAT)};
    return result;
  }
  if (*slots > MAX_SATS) {
    result.failure = {FailureKind::OverLimits, std::string(text::MAX_SATS)};
    return result;
  }
  const auto t = v.u16(2);
  if (t && *t > MAX_TOTAL_TP) {
    result.failure = {FailureKind::OverLimits, std::string(text::MAX_TP)};
    return result;
  }
  const auto s = v.u16(4);
  if (s && *s > MAX_TOTAL_SVC) {
    result.failure = {FailureKind::OverLimits, std::string(text::MAX_SVC)};
    return result;
  }
  if (!t || !s) {
    result.failure = {FailureKind::NotAFormat, std::string(text::NOT_A_FORMAT)};
    return result;
  }
  const Layout layout = recognise(v, *t, *s);
  if (layout == Layout::NotChosen) {
    result.failure = {FailureKind::NotAFormat, std::string(text::NOT_A_FORMAT)};
    return result;
  }
  result.layout = layout;
  readAreas(v, layout, *t, *s, result);
  return result;
}

}  // namespace velmora::wdb
