#include "db/list_rows.h"

#include <cstdio>

#include "db/text_number.h"

namespace velmora {

namespace {

constexpr ListColumn kSatColumns[] = {{"No.", 35},      {"SAT Name", 125}, {"SDX CODE", 50},
                                      {"LNB Freq", 70}, {"DiSEqC", 50},    {"22KHz", 46},
                                      {"0/12V", 46},    {"LNBP", 46}};
constexpr ListColumn kTpColumns[] = {
    {"No.", 40}, {"SAT Name", 110}, {"Frequency", 80}, {"Polarization", 70}, {"Symbol Rate", 80}};
constexpr ListColumn kSvcColumns[] = {{"No.", 35},   {"Ch Name", 105}, {"$", 20},   {"V-PID", 50},
                                      {"A-PID", 50}, {"P-PID", 50},    {"SID", 50}, {"Freq", 60},
                                      {"Pol.", 29},  {"SR", 60}};

std::size_t at(int i) { return static_cast<std::size_t>(i); }

std::string numbered(const char* format, int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, format, n);
  return buf;
}

std::string pidText(const std::string& text) { return decimalText(leadingValue(text)); }

// A channel's transponder key shown as frequency, polarisation and symbol
// rate: the first "H" (else the first "V") ends the frequency, the first "N"
// ends the symbol rate.
void splitKeyForList(const std::string& key, std::string& freq, std::string& pol,
                     std::string& rate) {
  std::size_t p = key.find('H');
  if (p == std::string::npos) p = key.find('V');
  if (p == std::string::npos) {
    freq = key;
    pol.clear();
    rate.clear();
    return;
  }
  freq = key.substr(0, p);
  pol = key.substr(p, 1);
  const std::size_t n = key.find('N');
  rate = (n == std::string::npos || n <= p) ? std::string() : key.substr(p + 1, n - p - 1);
}

}  // namespace

std::span<const ListColumn> satelliteColumns() { return kSatColumns; }
std::span<const ListColumn> transponderColumns() { return kTpColumns; }
std::span<const ListColumn> channelColumns() { return kSvcColumns; }

std::vector<std::string> satelliteRowCells(const ChannelDb& db, int r) {
  const SatRecord& s = db.sats[at(r)];
  return {numbered("%2d", r + 1),
          s.name,
          s.sdxCode,
          s.lnbType,
          s.diseqc,
          s.tone22k,
          s.switch12v,
          s.lnbPower};
}

std::vector<std::string> transponderRowCells(const ChannelDb& db, int s, int r) {
  const TpRecord& t = db.tpTables[at(s)][r];
  return {numbered("%3d", r + 1), db.sats[at(s)].name, t.frequency, t.polarization, t.symbolRate};
}

std::vector<std::string> channelRowCells(const ChannelDb& db, int s, int r) {
  const SvcRecord& v = db.svcTables[at(s)][r];
  std::string freq, pol, rate;
  splitKeyForList(v.tpKey, freq, pol, rate);
  const bool scrambled = v.serviceType == 5 || v.serviceType == 9;
  return {numbered("%3d", r + 1),
          v.name.empty() ? "...." : v.name,
          scrambled ? "$" : " ",
          pidText(v.videoPid),
          pidText(v.audioPid),
          pidText(v.pcrPid),
          pidText(v.serviceId),
          freq,
          pol,
          rate};
}

}  // namespace velmora
