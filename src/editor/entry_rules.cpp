#include "editor/entry_rules.h"

#include <algorithm>
#include <cstdio>

#include "db/longitude_suffix.h"
#include "db/text_number.h"
#include "texts.h"

namespace velmora::editor::rules {

namespace {

bool allDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

}  // namespace

std::optional<int> longitudeTenths(std::string_view text) {
  if (text.size() != 4 || !allDigits(text)) return std::nullopt;
  const std::int64_t v = leadingValue(text);
  if (v < 0 || v >= 3600) return std::nullopt;
  return static_cast<int>(v);
}

bool lnbFrequencyOk(std::string_view text) { return allDigits(text); }

std::optional<std::string> lnbTypeContradicted(int choice, std::string_view lnbFreq1,
                                               std::string_view lnbFreq2) {
  static constexpr std::string_view kChoices[] = {"Universal", "OCS", "Single"};
  std::string given = lnbTypeFor(lnbFreq1, lnbFreq2);
  if (choice >= 0 && choice < 3 && kChoices[static_cast<std::size_t>(choice)] == given)
    return std::nullopt;
  return given;
}

std::string longitudeSuffix(int tenths) {
  const bool west = tenths > 1800;
  const int v = west ? 3600 - tenths : tenths;
  const char side = west ? 'W' : 'E';
  char buf[16];
  if (v % 10 == 0)
    std::snprintf(buf, sizeof buf, "-%d%c", v / 10, side);
  else
    std::snprintf(buf, sizeof buf, "-%d.%d%c", v / 10, v % 10, side);
  return buf;
}

NewSatelliteName newSatelliteName(const std::string& typed, int tenths) {
  const std::string suffix = longitudeSuffix(tenths);
  std::string base = typed;
  if (const std::optional<LongitudeSuffix> own = findLongitudeSuffix(typed);
      own && own->tenths == tenths) {
    if (typed.size() <= SAT_NAME_LEN) return {typed, false};
    base.resize(own->nameEnd);
  }
  const std::size_t room = SAT_NAME_LEN - suffix.size();
  return {base.substr(0, room) + suffix, base.size() > room};
}

std::string toneText(int index) { return index == 1 ? "On" : index == 2 ? "Auto" : "Off"; }
std::string offOnText(int index) { return index == 0 ? "Off" : "On"; }
std::string portText(int index, int last) {
  return index >= 1 && index <= last ? decimalText(index) : "0";
}

bool numberFits(std::string_view text, std::int64_t lo, std::int64_t hi) {
  const std::int64_t v = leadingValue(text);
  return text.size() <= NUMBER_LEN && v >= lo && v <= hi;
}

bool transponderExists(const TpTable& tps, const TpRecord& tp, int skip) {
  for (int r = 0; r < tps.count(); ++r) {
    const TpRecord& o = tps[r];
    if (r != skip && o.frequency == tp.frequency && o.polarization == tp.polarization &&
        o.symbolRate == tp.symbolRate)
      return true;
  }
  return false;
}

bool serviceExists(const SvcTable& svcs, const ChannelFields& f, int skip) {
  for (int r = 0; r < svcs.count(); ++r) {
    const SvcRecord& o = svcs[r];
    if (r != skip && o.videoPid == f.vPid && o.audioPid == f.aPid && o.pcrPid == f.pPid &&
        o.serviceId == f.sid && o.name == f.chName)
      return true;
  }
  return false;
}

CheckedService checkedService(const ChannelFields& f) {
  CheckedService out;
  auto number = [&](const std::string& text, std::string_view refusal) {
    const std::int64_t v = leadingValue(std::string_view(text).substr(0, NUMBER_LEN));
    if (v < 0 || v > MAX_U16) out.refusals.push_back(refusal);
    return v;
  };
  const std::int64_t video = number(f.vPid, text::INVALID_VPID);
  const std::int64_t audio = number(f.aPid, text::INVALID_APID);
  const std::int64_t pcr = number(f.pPid, text::INVALID_PPID);
  const std::int64_t sid = number(f.sid, text::INVALID_SID);
  if (!out.refusals.empty()) return out;

  SvcRecord svc;
  svc.name = f.chName.substr(0, CH_NAME_LEN);
  svc.videoPid = decimalText(video);
  svc.audioPid = decimalText(audio);
  svc.pcrPid = decimalText(pcr);
  svc.serviceId = decimalText(sid);
  // A TV service has a real video PID (65535 marks none) and sound; the
  // low bit is the scrambled flag.
  const bool tv = video > 0 && video != MAX_U16 && audio > 0;
  svc.serviceType = (f.scrambled == 1 ? 1 : 0) + (tv ? 4 : 8);
  out.service = std::move(svc);
  return out;
}

}  // namespace velmora::editor::rules
