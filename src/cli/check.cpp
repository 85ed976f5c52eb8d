#include "cli/check.h"

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <tuple>

#include "db/list_rows.h"
#include "db/utf8.h"
#include "db/western_text.h"

namespace velmora::cli {

namespace {

constexpr std::size_t NAME_IN_FILE = 16;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string satelliteLabel(const ChannelDb& db, int s) {
  return "satellite " + std::to_string(s + 1) + " " + quoted(db.sats[at(s)].name);
}

}  // namespace

std::string reportText(std::string_view text) {
  static constexpr char HEX[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    // A malformed sequence reads as U+FFFD one byte long; the character
    // U+FFFD itself takes three.
    if (nextUtf8CodePoint(text, i) == 0xFFFD && i == start + 1) {
      const auto b = static_cast<unsigned char>(text[start]);
      out += {'\\', 'x', HEX[b >> 4], HEX[b & 0xF]};
    } else {
      out.append(text.substr(start, i - start));
    }
  }
  return out;
}

std::vector<Finding> checkDatabase(const ChannelDb& db) {
  std::vector<Finding> found;
  auto add = [&](const char* kind, int s, int row, std::string message) {
    found.push_back({kind, s + 1, row, westernToUtf8(message)});
  };
  const int sats = std::min(db.satCount, MAX_SATS);
  for (int s = 0; s < sats; ++s) {
    const SatRecord& sat = db.sats[at(s)];
    const TpTable& tps = db.tpTables[at(s)];
    const SvcTable& svcs = db.svcTables[at(s)];
    const std::string where = satelliteLabel(db, s);

    if (sat.name.size() > NAME_IN_FILE)
      add("name-cut", s, 0,
          where + ": the name is saved as " + quoted(sat.name.substr(0, NAME_IN_FILE)) + ".");
    if (tps.empty()) add("empty-satellite", s, 0, where + ": no transponders.");
    // Unused slots are saved as "NEW 1", "NEW 2", ...: a load takes every
    // satellite with "NEW" in its name and no transponders for one.
    if (tps.empty() && sat.name.find("NEW") != std::string::npos)
      add("dropped-as-unused", s, 0,
          where +
              ": \"NEW\" in its name and no transponders; the next load drops it as an "
              "unused slot.");

    // A channel finds its transponder as the save links it: by frequency,
    // polarisation and symbol rate.
    std::map<std::string, int> firstTp;
    std::set<std::string> used;
    for (const SvcRecord& svc : svcs) used.insert(std::string(tpKeyShortPart(svc.tpKey)));
    for (int r = 0; r < tps.count(); ++r) {
      const std::string key = tpKeyShort(tps[r]);
      const auto [it, fresh] = firstTp.emplace(key, r);
      if (!fresh) {
        add("duplicate-transponder", s, r + 1,
            where + ", transponder " + std::to_string(r + 1) + " (" + key +
                "): the same as transponder " + std::to_string(it->second + 1) + ".");
      } else if (used.count(key) == 0) {
        add("empty-transponder", s, r + 1,
            where + ", transponder " + std::to_string(r + 1) + " (" + key + "): no channels.");
      }
    }
    std::map<std::pair<std::string, std::string>, int> firstSvc;
    for (int r = 0; r < svcs.count(); ++r) {
      const SvcRecord& svc = svcs[r];
      const std::string channel = where + ", channel " + std::to_string(r + 1) + " " +
                                  quoted(svc.name.empty() ? "...." : svc.name);
      const std::string key(tpKeyShortPart(svc.tpKey));
      if (firstTp.count(key) == 0)
        add("missing-transponder", s, r + 1,
            channel + ": its transponder " + key + " is not one of the satellite's.");
      const auto [it, fresh] = firstSvc.emplace(std::pair{svc.serviceId, key}, r);
      if (!fresh)
        add("duplicate-channel", s, r + 1,
            channel + ": the same service id " + svc.serviceId + " and transponder as channel " +
                std::to_string(it->second + 1) + ".");
      if (svc.name.size() > NAME_IN_FILE)
        add("name-cut", s, r + 1,
            channel + ": the name is saved as " + quoted(svc.name.substr(0, NAME_IN_FILE)) + ".");
    }
  }

  const Room room = roomOf(db);
  auto over = [&](const char* what, int used, int limit) {
    if (used > limit)
      found.push_back({"over-limit", 0, 0,
                       std::string(what) + ": " + std::to_string(used) + " of at most " +
                           std::to_string(limit) + "; the database cannot be saved."});
  };
  over("Satellites", room.satellites, MAX_SATS);
  over("Transponders", room.transponders, MAX_TOTAL_TP);
  over("Channels", room.channels, MAX_TOTAL_SVC);
  return found;
}

Room roomOf(const ChannelDb& db) {
  Room room;
  room.satellites = db.satCount;
  room.transponders = db.countTransponders();
  room.channels = db.countServices();
  for (int s = 0; s < std::min(db.satCount, MAX_SATS); ++s)
    room.largestTable =
        std::max({room.largestTable, db.tpTables[at(s)].count(), db.svcTables[at(s)].count()});
  room.typeTwoBytes =
      wdb::imageContentSize(wdb::Layout::TypeII, static_cast<std::size_t>(room.transponders),
                            static_cast<std::size_t>(room.channels));
  return room;
}

void writeFindings(std::ostream& out, const std::vector<Finding>& findings, const Room& room) {
  for (const Finding& f : findings) out << reportText(f.message) << '\n';
  out << (findings.empty() ? "Nothing found." : std::to_string(findings.size()) + " found.")
      << '\n';
  out << "Room: satellites " << room.satellites << " of " << MAX_SATS << ", transponders "
      << room.transponders << " of " << MAX_TOTAL_TP << ", channels " << room.channels << " of "
      << MAX_TOTAL_SVC << ", largest table " << room.largestTable << " of " << TABLE_ROWS
      << " rows, Type II file " << room.typeTwoBytes << " of " << wdb::TYPE2_MAX_CONTENT
      << " bytes.\n";
}

void writeFindingsJson(std::ostream& out, const std::vector<Finding>& findings, const Room& room) {
  nlohmann::ordered_json doc;
  doc["findings"] = nlohmann::ordered_json::array();
  for (const Finding& f : findings) {
    doc["findings"].push_back({{"kind", f.kind},
                               {"satellite", f.satellite},
                               {"row", f.row},
                               {"message", reportText(f.message)}});
  }
  doc["room"] = {{"satellites", room.satellites},     {"maxSatellites", MAX_SATS},
                 {"transponders", room.transponders}, {"maxTransponders", MAX_TOTAL_TP},
                 {"channels", room.channels},         {"maxChannels", MAX_TOTAL_SVC},
                 {"largestTable", room.largestTable}, {"maxTableRows", TABLE_ROWS},
                 {"typeTwoBytes", room.typeTwoBytes}, {"maxTypeTwoBytes", wdb::TYPE2_MAX_CONTENT}};
  out << doc.dump(2) << '\n';
}

namespace {

void csvLine(std::ostream& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out << ',';
    const std::string text = westernToUtf8(cells[i]);
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
      out << text;
      continue;
    }
    out << '"';
    for (const char ch : text) out << (ch == '"' ? "\"\"" : std::string(1, ch));
    out << '"';
  }
  out << "\r\n";
}

}  // namespace

void writeListCsv(std::ostream& out, const ChannelDb& db, ListTab tab, int satellite) {
  const auto columns = tab == ListTab::Satellites     ? satelliteColumns()
                       : tab == ListTab::Transponders ? transponderColumns()
                                                      : channelColumns();
  std::vector<std::string> headers;
  for (const ListColumn& c : columns) headers.emplace_back(c.header);
  csvLine(out, headers);
  const int sats = std::min(db.satCount, MAX_SATS);
  if (tab == ListTab::Satellites) {
    for (int r = 0; r < sats; ++r) csvLine(out, satelliteRowCells(db, r));
    return;
  }
  for (int s = 0; s < sats; ++s) {
    if (satellite != 0 && s != satellite - 1) continue;
    const int rows =
        tab == ListTab::Transponders ? db.tpTables[at(s)].count() : db.svcTables[at(s)].count();
    for (int r = 0; r < rows; ++r)
      csvLine(out, tab == ListTab::Transponders ? transponderRowCells(db, s, r)
                                                : channelRowCells(db, s, r));
  }
}

}  // namespace velmora::cli
