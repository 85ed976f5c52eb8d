// The scanner walks the file as the reader does, but keeps every record's
// fate: which satellite slots load, where each transponder goes, which
// transponder each service names. What the reader skips becomes a loss.
#include "wdb/wdb_scan.h"

#include <algorithm>

#include "db/text_number.h"
#include "texts.h"
#include "wdb/byte_cursor.h"
#include "wdb/wdb_records.h"

namespace velmora::wdb {

namespace {

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::size_t realSatelliteSlots(const std::vector<std::string>& names) {
  // The smallest n for which slots n+1.. hold "NEW 1", "NEW 2", ... in turn.
  for (std::size_t first = 0; first < names.size(); ++first) {
    bool all = true;
    for (std::size_t i = first; i < names.size() && all; ++i)
      all = names[i] == "NEW " + std::to_string(i - first + 1);
    if (all) return first;
  }
  return names.size();
}

ScanReport scanWdb(std::span<const std::byte> bytes) {
  ScanReport report;
  const ByteView v(bytes);
  const auto slots = v.u16(0);
  const auto t16 = v.u16(2);
  const auto s16 = v.u16(4);
  if (!slots || !t16 || !s16) {
    report.unreadable = text::NOT_A_FORMAT;
    return report;
  }
  auto loss = [&](const char* kind, int record, std::string message) {
    report.losses.push_back({kind, record, std::move(message)});
  };
  auto over = [&](std::size_t value, int limit, const char* what) {
    if (value > static_cast<std::size_t>(limit))
      loss("header-over-limit", 0,
           "Header: " + std::to_string(value) + " " + what + ", over the receiver's " +
               std::to_string(limit) + "; the file is refused on loading.");
  };
  over(*slots, MAX_SATS, "satellite slots");
  over(*t16, MAX_TOTAL_TP, "transponders");
  over(*s16, MAX_TOTAL_SVC, "services");

  report.layout = recogniseLayout(bytes);
  if (report.layout == Layout::NotChosen) {
    report.unreadable = text::NOT_A_FORMAT;
    return report;
  }
  const Layout layout = report.layout;
  const Geometry& g = geometryOf(layout);
  const SvcOffsets& o = svcOffsetsOf(layout);
  const std::size_t t = *t16;
  const std::size_t s = *s16;

  // Satellite slots: names, and whether the reader loads them.
  std::vector<std::string> names;
  for (std::size_t i = 0; i < static_cast<std::size_t>(MAX_SATS); ++i) {
    const auto r = v.record(SAT_AREA + i * g.satSize, g.satSize);
    if (!r) break;
    names.push_back(r->text(SAT_NAME_OFFSET, 16, layout == Layout::TypeI ? 16 : 15));
  }
  const std::size_t real = realSatelliteSlots(names);
  std::size_t loadedSlots = names.size();
  if (layout == Layout::TypeII) {
    // Older receivers end their satellite list at the first name with "NEW".
    const auto it =
        std::find_if(names.begin(), names.end(), [](const std::string& n) { return holdsNew(n); });
    loadedSlots = static_cast<std::size_t>(it - names.begin());
  }

  // Transponders: the satellite slot each goes to, or none.
  std::vector<int> tpSlot(t, -1);
  std::vector<int> rows(names.size(), 0);
  for (std::size_t i = 0; i < t; ++i) {
    const auto r = v.record(g.tpStart() + i * TP_SIZE, TP_SIZE);
    if (!r) break;
    const std::size_t slot = r->at(0);
    if (slot < 1 || slot > loadedSlots || rows[slot - 1] >= TABLE_ROWS) continue;
    tpSlot[i] = static_cast<int>(slot - 1);
    ++rows[slot - 1];
  }
  // A slot with "NEW" in its name and no transponders is taken for unused.
  std::vector<char> satLoaded(names.size(), 0);
  for (std::size_t i = 0; i < loadedSlots; ++i)
    satLoaded[i] = !readAsPlaceholder(names[i], rows[i]);

  // Services: the transponder each names, and how many name each one.
  std::vector<std::size_t> svcTp;
  std::vector<std::string> svcNames;
  std::vector<std::size_t> perTp(t, 0);
  for (std::size_t i = 0; i < s; ++i) {
    const auto r = v.record(g.svcStart(t) + i * g.svcSize, g.svcSize);
    if (!r) break;
    const std::size_t number = r->le16(o.tpNumber);
    svcTp.push_back(number);
    svcNames.push_back(r->text(o.name, 16, layout == Layout::TypeI ? 16 : 15));
    if (number >= 1 && number <= t) ++perTp[number - 1];
  }

  // Satellites a load leaves out, and the transponders and services that
  // go with them.
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i < loadedSlots) {
      if (!satLoaded[i] && i < real)
        loss("dropped-as-unused", static_cast<int>(i + 1),
             "Satellite record " + std::to_string(i + 1) + " " + inQuotes(names[i]) +
                 ": \"NEW\" in its name and no transponders; loading drops it as an unused "
                 "slot.");
      continue;
    }
    if (i >= real) continue;
    std::size_t tps = 0, svcs = 0;
    for (std::size_t k = 0; k < t; ++k) {
      const auto r = v.record(g.tpStart() + k * TP_SIZE, TP_SIZE);
      if (!r || r->at(0) != i + 1) continue;
      ++tps;
      svcs += perTp[k];
    }
    loss("satellite-not-loaded", static_cast<int>(i + 1),
         "Satellite record " + std::to_string(i + 1) + " " + inQuotes(names[i]) +
             (i == loadedSlots ? std::string(": \"NEW\" in its name")
                               : ": after " + inQuotes(names[loadedSlots])) +
             ", where an older receiver's list ends; it is left out with " +
             plural(tps, "transponder", "transponders") + " and " +
             plural(svcs, "channel", "channels") + ".");
  }

  for (std::size_t i = 0; i < t; ++i) {
    const auto r = v.record(g.tpStart() + i * TP_SIZE, TP_SIZE);
    if (!r) break;
    const std::size_t slot = r->at(0);
    const std::string head = "Transponder record " + std::to_string(i + 1) + ": ";
    const std::string channels = plural(perTp[i], "channel", "channels");
    if (tpSlot[i] >= 0) {
      if (slot - 1 >= real)
        loss("transponder-in-unused-slot", static_cast<int>(i + 1),
             head + "names the unused slot " + std::to_string(slot) + " " +
                 inQuotes(names[slot - 1]) + ", which then appears as a satellite holding it.");
      continue;
    }
    // Those of satellites left out are told with their satellite.
    if (slot >= 1 && slot <= names.size() && slot - 1 >= loadedSlots && slot - 1 < real) continue;
    std::string why;
    if (slot < 1 || slot > names.size())
      why = "names satellite slot " + std::to_string(slot) + ", which is no slot";
    else if (slot - 1 >= loadedSlots)
      why = "names the unused slot " + std::to_string(slot) + " " + inQuotes(names[slot - 1]) +
            ", which is not loaded";
    else
      why = "satellite slot " + std::to_string(slot) + " holds no more rows";
    loss("transponder-without-satellite", static_cast<int>(i + 1),
         head + why + "; it is left out with its " + channels + ".");
  }

  std::vector<int> svcRows(names.size(), 0);
  for (std::size_t i = 0; i < svcTp.size(); ++i) {
    const std::size_t number = svcTp[i];
    const std::string head = "Channel record " + std::to_string(i + 1) + " " +
                             inQuotes(svcNames[i].empty() ? "...." : svcNames[i]) + ": ";
    if (number < 1 || number > t) {
      loss("channel-without-transponder", static_cast<int>(i + 1),
           head + "names transponder " + std::to_string(number) +
               (number == 0 ? ", which is no transponder"
                            : ", beyond the file's " + std::to_string(t)) +
               "; it is left out.");
      continue;
    }
    const int sat = tpSlot[number - 1];
    if (sat < 0) {
      // Told with the transponder or satellite it went with.
      continue;
    }
    if (svcRows[static_cast<std::size_t>(sat)]++ >= TABLE_ROWS)
      loss("channel-without-transponder", static_cast<int>(i + 1),
           head + "satellite slot " + std::to_string(sat + 1) +
               " holds no more channels; it is "
               "left out.");
  }
  return report;
}

}  // namespace velmora::wdb
