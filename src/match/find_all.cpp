#include "match/find_all.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "db/text_number.h"

namespace velmora::match {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

char lower(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char ch) { return ch == ' ' || ch == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Names are Western code page bytes; only the ASCII letters fold, as the
// Find of the shown list folds them.
bool holdsIgnoringCase(std::string_view haystack, std::string_view lowered) {
  return std::search(haystack.begin(), haystack.end(), lowered.begin(), lowered.end(),
                     [](char a, char b) { return lower(a) == b; }) != haystack.end();
}

std::optional<std::int64_t> numberIn(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    return std::nullopt;
  return leadingValue(text);
}

// A numeric field as the receiver reads it: its leading digits, so that
// "0100" and "100" are one PID. An empty field is no number at all.
bool sameNumber(const std::string& field, std::int64_t value) {
  return !field.empty() && field.front() >= '0' && field.front() <= '9' &&
         leadingValue(field) == value;
}

// The transponder a channel's key names, among its satellite's.
int transponderOf(const std::vector<std::string>& keys, const SvcRecord& svc) {
  const std::string_view key = tpKeyShortPart(svc.tpKey);
  for (std::size_t t = 0; t < keys.size(); ++t)
    if (keys[t] == key) return static_cast<int>(t);
  return -1;
}

}  // namespace

std::vector<Found> findAll(const ChannelDb& db, std::string_view text) {
  std::vector<Found> hits;
  text = trimmed(text);
  if (text.empty()) return hits;
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), lower);
  const std::optional<std::int64_t> number = numberIn(text);

  std::vector<std::string> keys;
  for (int s = 0; s < std::min(db.satCount, MAX_SATS); ++s) {
    const TpTable& tps = db.tpTables[at(s)];
    const SvcTable& svcs = db.svcTables[at(s)];
    if (number) {
      for (int t = 0; t < tps.count(); ++t)
        if (tps[t].frequency.starts_with(text)) hits.push_back({s, t, -1});
    }
    keys.clear();
    for (int c = 0; c < svcs.count(); ++c) {
      const SvcRecord& svc = svcs[c];
      const bool hit =
          holdsIgnoringCase(svc.name, lowered) ||
          (number && (sameNumber(svc.serviceId, *number) || sameNumber(svc.videoPid, *number) ||
                      sameNumber(svc.audioPid, *number) || sameNumber(svc.pcrPid, *number)));
      if (!hit) continue;
      // The keys are made once per satellite, and only when a channel of
      // it is found.
      if (keys.empty() && tps.count() > 0)
        for (int t = 0; t < tps.count(); ++t) keys.push_back(tpKeyShort(tps[t]));
      hits.push_back({s, transponderOf(keys, svc), c});
    }
  }
  return hits;
}

std::string foundCell(const ChannelDb& db, const Found& found, int column) {
  if (found.sat < 0 || found.sat >= db.satCount) return {};
  const std::size_t s = at(found.sat);
  const SvcRecord* svc =
      found.svc >= 0 && found.svc < db.svcTables[s].count() ? &db.svcTables[s][found.svc] : nullptr;
  switch (column) {
    case 0:
      return db.sats[s].name;
    case 1: {
      if (found.tp >= 0 && found.tp < db.tpTables[s].count()) {
        const TpRecord& tp = db.tpTables[s][found.tp];
        return tp.frequency + " " + tp.polarization + " " + tp.symbolRate;
      }
      return svc ? std::string(tpKeyShortPart(svc->tpKey)) : std::string();
    }
    case 2:
      if (!svc) return {};
      return svc->name.empty() ? "...." : svc->name;
    case 3:
      return svc ? decimalText(leadingValue(svc->serviceId)) : std::string();
    default:
      return {};
  }
}

}  // namespace velmora::match
