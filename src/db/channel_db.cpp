#include "db/channel_db.h"

namespace velmora {

void ChannelDb::reset() { *this = ChannelDb{}; }

bool ChannelDb::appendSatellite(SatRecord sat) {
  if (satCount < 0 || satCount >= MAX_SATS) return false;
  const auto slot = static_cast<std::size_t>(satCount);
  sats[slot] = std::move(sat);
  tpTables[slot].clear();
  svcTables[slot].clear();
  ++satCount;
  return true;
}

void ChannelDb::removeSatellite(int i) {
  if (i < 0 || i >= satCount) return;
  for (int k = i; k + 1 < satCount; ++k) {
    const auto a = static_cast<std::size_t>(k);
    sats[a] = std::move(sats[a + 1]);
    tpTables[a] = std::move(tpTables[a + 1]);
    svcTables[a] = std::move(svcTables[a + 1]);
  }
  const auto last = static_cast<std::size_t>(satCount - 1);
  sats[last] = SatRecord{};
  tpTables[last].clear();
  svcTables[last].clear();
  --satCount;
}

int ChannelDb::countTransponders() const {
  int n = 0;
  for (int s = 0; s < satCount; ++s) n += tpTables[static_cast<std::size_t>(s)].count();
  return n;
}

int ChannelDb::countServices() const {
  int n = 0;
  for (int s = 0; s < satCount; ++s) n += svcTables[static_cast<std::size_t>(s)].count();
  return n;
}

void ChannelDb::recountTotals() {
  totalTp = countTransponders();
  totalSvc = countServices();
}

std::string diseqcModeText(int mode, std::string_view none) {
  switch (mode) {
    case 1:
      return "D1.0";
    case 2:
      return "D1.1";
    case 3:
      return "MOTOR";
    case 4:
      return "USALS";
    default:
      return std::string(none);
  }
}

std::string tpKeyShort(const TpRecord& tp) {
  return tp.frequency + tp.polarization + tp.symbolRate;
}

std::string tpKeyLong(const TpRecord& tp) { return tpKeyShort(tp) + "N" + tp.nid + "T" + tp.tid; }

std::string_view tpKeyShortPart(std::string_view key) { return key.substr(0, key.find('N')); }

TpRecord splitTpKey(std::string_view key) {
  // Cuts [from, to) out of the key, clamped so that a missing separator
  // gives an empty or shorter field instead of a fault.
  auto cut = [key](std::size_t from, std::size_t to) -> std::string {
    if (from >= key.size() || to <= from) return {};
    return std::string(key.substr(from, to - from));
  };
  std::size_t p = key.find('H');
  if (p == std::string_view::npos) p = key.find('V');
  const std::size_t n = key.find('N');
  const std::size_t t = key.find('T');
  const std::size_t end = key.size();
  TpRecord tp;
  if (p == std::string_view::npos) {
    tp.frequency = cut(0, n == std::string_view::npos ? end : n);
  } else {
    tp.frequency = cut(0, p);
    tp.polarization = std::string(1, key[p]);
    tp.symbolRate = cut(p + 1, n == std::string_view::npos ? end : n);
  }
  if (n != std::string_view::npos) {
    tp.nid = cut(n + 1, t == std::string_view::npos ? end : t);
  }
  if (t != std::string_view::npos) tp.tid = cut(t + 1, end);
  return tp;
}

}  // namespace velmora
