#include "editor/status_texts.h"

#include <algorithm>
#include <utility>

#include "db/western_text.h"
#include "editor/editor_dialog.h"
#include "editor/lists_presenter.h"
#include "resource_ids.h"

namespace velmora::editor {

namespace {

constexpr std::string_view BRINGS_IT_BACK = ". Ctrl+Z brings it back.";
constexpr std::string_view BRINGS_THEM_BACK = ". Ctrl+Z brings them back.";

// "1 channel", "2,900 channels".
std::string counted(long long n, std::string_view one, std::string_view many) {
  return withThousands(n) + " " + std::string(n == 1 ? one : many);
}
std::string satellites(long long n) { return counted(n, "satellite", "satellites"); }
std::string transponders(long long n) { return counted(n, "transponder", "transponders"); }
std::string channels(long long n) { return counted(n, "channel", "channels"); }

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& parts) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += i + 1 == parts.size() ? " and " : ", ";
    out += parts[i];
  }
  return out;
}

// A name as a sentence holds it: a listing pads names with blanks to
// their field's width.
std::string spoken(std::string_view name) {
  const std::size_t end = name.find_last_not_of(' ');
  return westernToUtf8(name.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// "(Type I: 64 satellites, 1,600 transponders, 6,000 channels)"; a
// database not yet saved in a layout is written as Type I.
std::string contents(wdb::Layout layout, const ChannelDb& db) {
  return std::string(layout == wdb::Layout::TypeII ? "(Type II: " : "(Type I: ") +
         satellites(db.satCount) + ", " + transponders(db.countTransponders()) + ", " +
         channels(db.countServices()) + ")";
}

// The number a port or longitude text starts with, as the file stores it.
long leading(std::string_view text) {
  long n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::string satelliteRemoval(const ChannelDb& db, const std::vector<int>& rows) {
  long long tps = 0, svcs = 0;
  for (const int r : rows) {
    tps += db.tpTables[static_cast<std::size_t>(r)].count();
    svcs += db.svcTables[static_cast<std::size_t>(r)].count();
  }
  const bool one = rows.size() == 1;
  std::string out = "Removed " + (one ? spoken(db.sats[static_cast<std::size_t>(rows[0])].name)
                                      : satellites(static_cast<long long>(rows.size())));
  if (tps + svcs > 0) out += " with " + transponders(tps) + " and " + channels(svcs);
  return out + std::string(one ? BRINGS_IT_BACK : BRINGS_THEM_BACK);
}

std::string transponderRemoval(const ChannelDb& db, int sat, const std::vector<int>& rows) {
  const TpTable& tps = db.tpTables[static_cast<std::size_t>(sat)];
  long long svcs = 0;
  for (const int r : rows) {
    const std::string key = tpKeyLong(tps[r]);
    for (const SvcRecord& svc : db.svcTables[static_cast<std::size_t>(sat)])
      svcs += svc.tpKey == key ? 1 : 0;
  }
  const bool one = rows.size() == 1;
  std::string out = "Removed ";
  if (one) {
    const TpRecord& tp = tps[rows[0]];
    out += "transponder " + tp.frequency + " " + tp.polarization + " " + tp.symbolRate;
  } else {
    out += transponders(static_cast<long long>(rows.size()));
  }
  if (svcs > 0) out += " with " + channels(svcs);
  return out + std::string(one ? BRINGS_IT_BACK : BRINGS_THEM_BACK);
}

std::string channelRemoval(const ChannelDb& db, int sat, const std::vector<int>& rows) {
  if (rows.size() == 1) {
    // A channel without a name is listed as "....".
    const std::string name = spoken(db.svcTables[static_cast<std::size_t>(sat)][rows[0]].name);
    return "Removed " + (name.empty() ? std::string("....") : name) + std::string(BRINGS_IT_BACK);
  }
  return "Removed " + channels(static_cast<long long>(rows.size())) + std::string(BRINGS_THEM_BACK);
}

}  // namespace

// Either separator counts, as Windows takes both.
std::string_view fileName(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string withThousands(long long n) {
  const bool negative = n < 0;
  std::string digits = std::to_string(negative ? -n : n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return negative ? "-" + digits : digits;
}

std::string importStatus(std::string_view listingPath, const SdxCounts& n) {
  std::string out = std::string(fileName(listingPath)) + ": " +
                    counted(n.records, "record", "records") + ", " + withThousands(n.imported) +
                    " imported";
  std::vector<std::string> skipped;
  const std::pair<int, std::pair<std::string_view, std::string_view>> reasons[] = {
      {n.notMpeg2, {"non-MPEG-2 channel", "non-MPEG-2 channels"}},
      {n.noTransponder, {"channel without a transponder", "channels without a transponder"}},
      {n.noPids, {"channel without PIDs", "channels without PIDs"}},
      {n.feedOrTest, {"feed/test channel", "feed/test channels"}},
      {n.overLimit,
       {"channel past the 4,000 of a satellite", "channels past the 4,000 of a satellite"}}};
  for (const auto& [count, words] : reasons)
    if (count > 0) skipped.push_back(counted(count, words.first, words.second));
  if (!skipped.empty()) out += ", " + listed(skipped) + " skipped";
  return out;
}

std::string orderStatus(std::string_view refPath, const match::ReorderReport& report) {
  const int matched =
      report.satellites.matched + report.transponders.matched + report.channels.matched;
  if (matched == 0) return std::string(fileName(refPath)) + ": nothing matched";
  std::string out = "Matched " + satellites(report.satellites.matched) + ", " +
                    transponders(report.transponders.matched) + ", " +
                    channels(report.channels.matched);
  const long long fresh = static_cast<long long>(report.satellites.unmatched) +
                          report.transponders.unmatched + report.channels.unmatched;
  if (fresh > 0) out += "; " + withThousands(fresh) + " new at the ends";
  return out;
}

std::string removalStatus(const ChannelDb& db, int tab, int sat, const std::vector<int>& picked) {
  if (tab != TAB_SATELLITE && (sat < 0 || sat >= db.satCount)) return {};
  const auto i = static_cast<std::size_t>(sat);
  const int count = tab == TAB_SATELLITE     ? db.satCount
                    : tab == TAB_TRANSPONDER ? db.tpTables[i].count()
                                             : db.svcTables[i].count();
  // Only rows that exist are removed, each once.
  std::vector<int> rows;
  for (const int r : picked)
    if (r >= 0 && r < count) rows.push_back(r);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty()) return {};
  if (tab == TAB_SATELLITE) return satelliteRemoval(db, rows);
  if (tab == TAB_TRANSPONDER) return transponderRemoval(db, sat, rows);
  return channelRemoval(db, sat, rows);
}

std::string savedStatus(std::string_view path, wdb::Layout layout, const ChannelDb& db) {
  return "Saved " + std::string(fileName(path)) + " " + contents(layout, db);
}

std::string openedStatus(std::string_view path, const wdb::ReadResult& loaded) {
  std::string out =
      "Opened " + std::string(fileName(path)) + " " + contents(loaded.layout, loaded.db);
  if (!loaded.lostRecords()) return out;
  std::vector<std::string> lost;
  if (loaded.lostSatellites > 0) lost.push_back(satellites(loaded.lostSatellites));
  if (loaded.lostTransponders > 0) lost.push_back(transponders(loaded.lostTransponders));
  if (loaded.lostChannels > 0) lost.push_back(channels(loaded.lostChannels));
  const bool one = loaded.lostSatellites + loaded.lostTransponders + loaded.lostChannels == 1;
  return out + ". " + listed(lost) +
         (one ? " could not be placed and was" : " could not be placed and were") +
         " left out; velmora-cli check lists them.";
}

std::string typeIILossStatus(const SatRecord& before, const SatRecord& after) {
  std::vector<std::string> lost;
  const std::pair<const std::string SatRecord::*, std::string_view> fields[] = {
      {&SatRecord::sdxCode, "Longi.(SDX)"},
      {&SatRecord::diseqcCommitted, "Com."},
      {&SatRecord::diseqcUncommitted, "Uncom."}};
  for (const auto& [field, label] : fields) {
    const long now = leading(after.*field);
    if (now != 0 && now != leading(before.*field)) lost.push_back(std::string(label));
  }
  if (lost.empty()) return {};
  return "Type II keeps no longitude and no switch ports: the " + listed(lost) + " of " +
         spoken(after.name) + " will be lost at save.";
}

// "Hotbird 13E: 318 channels: 300 kept, 12 updated, 4 new, 2 removed;
// transponders: 40 kept, 1 updated, 0 new, 0 removed"; a satellite the
// listing added: "Astra 19.2E: new, with 40 transponders and 900 channels".
std::string updateStatus(const match::SatelliteUpdate& sat) {
  const std::string name = spoken(sat.satellite) + ": ";
  if (sat.isNew)
    return name + "new, with " + transponders(sat.transponders.added) + " and " +
           channels(sat.channels.added);
  auto counts = [](const match::UpdateCount& n) {
    std::string out = withThousands(n.kept) + " kept, " + withThousands(n.updated) + " updated, " +
                      withThousands(n.added) + " new, " + withThousands(n.removed) + " removed";
    if (n.notListed > 0) out += ", " + withThousands(n.notListed) + " no longer listed kept";
    return out;
  };
  return name +
         withThousands(sat.channels.kept + sat.channels.updated + sat.channels.added +
                       sat.channels.removed + sat.channels.notListed) +
         " channels: " + counts(sat.channels) + "; transponders: " + counts(sat.transponders);
}

namespace {

std::string clipEntries(int tps, int svcs) {
  if (tps == 0) return channels(svcs);
  return svcs == 0 ? transponders(tps) : transponders(tps) + " with " + channels(svcs);
}

}  // namespace

std::string copiedStatus(int tps, int svcs) { return "Copied " + clipEntries(tps, svcs); }

std::string cutStatus(int tps, int svcs, std::string_view satName) {
  const bool one = (tps > 0 ? tps : svcs) == 1;
  return "Cut " + clipEntries(tps, svcs) + " from " + spoken(satName) +
         std::string(one ? BRINGS_IT_BACK : BRINGS_THEM_BACK);
}

std::string pastedStatus(int tps, int svcs, int added, std::string_view satName) {
  std::string out = "Pasted " + clipEntries(tps, svcs) + " into " + spoken(satName);
  if (added > 0) out += ", adding " + transponders(added);
  return out;
}

std::string updatedSatellitesStatus(int count) {
  return "Updated from " + withThousands(count) + " listings; Ctrl+Z undoes all of it.";
}

void EditorDialog::say(const std::string& text) {
  if (!text.empty()) controls_.setStatusText(text);
}

// What the removal of the shown list's selected rows takes with it, read
// before they go.
std::string EditorDialog::removalToSay() const {
  const int list = curTab == TAB_SATELLITE     ? res::IDC_SAT_LIST
                   : curTab == TAB_TRANSPONDER ? res::IDC_TP_LIST
                                               : res::IDC_SVC_LIST;
  return removalStatus(db, curTab, view_.listedSat, controls_.listSelectedRows(list));
}

std::vector<SatRecord> EditorDialog::satellitesNow() const {
  return {db.sats.begin(), db.sats.begin() + db.satCount};
}

// After Add or Change on the Satellite tab of a Type II database: the
// satellite it added, replaced or changed is the shown one.
void EditorDialog::sayTypeIILosses(const std::vector<SatRecord>& before) {
  if (curTab != TAB_SATELLITE || wdbLayout != wdb::Layout::TypeII) return;
  const int s = view_.shownSat;
  if (s < 0 || s >= db.satCount) return;
  // A satellite added afresh is weighed against what a Type II file reads
  // back: position 0000, no ports.
  SatRecord old;
  old.sdxCode = "0000";
  old.diseqcCommitted = old.diseqcUncommitted = "0";
  if (static_cast<std::size_t>(db.satCount) == before.size())
    old = before[static_cast<std::size_t>(s)];
  say(typeIILossStatus(old, db.sats[static_cast<std::size_t>(s)]));
}

}  // namespace velmora::editor
