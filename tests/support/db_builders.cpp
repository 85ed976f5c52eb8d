#include "support/db_builders.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velmora::test {

SatRecord makeSat(std::string name, std::string sdxCode) {
  SatRecord s;
  s.name = std::move(name);
  s.lnbType = "Universal";
  s.lnbFreq1 = "9750";
  s.lnbFreq2 = "10600";
  s.diseqc = "None";
  s.tone22k = "Auto";
  s.switch12v = "Off";
  s.lnbPower = "On";
  s.sdxCode = std::move(sdxCode);
  s.diseqcCommitted = "0";
  s.diseqcUncommitted = "0";
  return s;
}

TpRecord makeTp(std::string frequency, std::string polarization, std::string symbolRate,
                std::string nid, std::string tid) {
  TpRecord t;
  t.frequency = std::move(frequency);
  t.polarization = std::move(polarization);
  t.symbolRate = std::move(symbolRate);
  t.nid = std::move(nid);
  t.tid = std::move(tid);
  return t;
}

SvcRecord makeSvc(std::string name, std::string tpKey, std::string videoPid, std::string audioPid,
                  std::string pcrPid, std::string serviceId, int serviceType) {
  SvcRecord s;
  s.name = std::move(name);
  s.tpKey = std::move(tpKey);
  s.videoPid = std::move(videoPid);
  s.audioPid = std::move(audioPid);
  s.pcrPid = std::move(pcrPid);
  s.serviceId = std::move(serviceId);
  s.serviceType = serviceType;
  return s;
}

namespace {
void fillSatellite(ChannelDb& db, int slot, int tps, int svcs) {
  db.appendSatellite(makeSat("Sat " + std::to_string(slot + 1)));
  for (int t = 0; t < tps; ++t) {
    db.tpTables[slot].append(makeTp(std::to_string(10700 + 10 * t), t % 2 ? "V" : "H",
                                    std::to_string(22000 + slot), std::to_string(slot),
                                    std::to_string(t)));
  }
  for (int s = 0; s < svcs; ++s) {
    const TpRecord& tp = db.tpTables[slot][tps ? s % tps : 0];
    db.svcTables[slot].append(makeSvc("Channel " + std::to_string(s + 1), tpKeyLong(tp),
                                      std::to_string(100 + s), std::to_string(200 + s),
                                      std::to_string(100 + s), std::to_string(1000 + s),
                                      s % 3 ? 4 : 8));
  }
}
}  // namespace

ChannelDb makeDb(int sats, int tpsPerSat, int svcsPerSat) {
  ChannelDb db;
  for (int i = 0; i < sats; ++i) fillSatellite(db, i, tpsPerSat, svcsPerSat);
  db.recountTotals();
  return db;
}

ChannelDb fullDb(int services) {
  ChannelDb db;
  const int perSat = services / MAX_SATS;
  int extra = services % MAX_SATS;
  for (int i = 0; i < MAX_SATS; ++i) {
    fillSatellite(db, i, MAX_TOTAL_TP / MAX_SATS, perSat + (extra > 0 ? 1 : 0));
    if (extra > 0) --extra;
  }
  db.recountTotals();
  return db;
}

std::vector<std::byte> bytesOf(std::string_view text) {
  std::vector<std::byte> out(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<std::byte>(text[i]);
  return out;
}

std::string textOf(const std::vector<std::byte>& bytes) {
  std::string out(bytes.size(), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<char>(bytes[i]);
  return out;
}

std::vector<std::byte> readTestData(std::string_view name) {
  std::ifstream in(std::string(VELMORA_TEST_DATA) + "/" + std::string(name), std::ios::binary);
  if (!in) throw std::runtime_error("missing test data: " + std::string(name));
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return bytesOf(content);
}

}  // namespace velmora::test
