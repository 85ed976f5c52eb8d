#include "cli/update_report.h"

#include <nlohmann/json.hpp>

#include "db/western_text.h"

namespace velmora::cli {

namespace {

// Names are bytes of the Western code page, as the editor shows them.
std::string utf8(const std::string& bytes) { return westernToUtf8(bytes); }

std::string countText(const match::UpdateCount& c) {
  std::string text = std::to_string(c.kept) + " kept, " + std::to_string(c.updated) + " updated, " +
                     std::to_string(c.added) + " new, " + std::to_string(c.removed) + " removed";
  if (c.notListed > 0) text += ", " + std::to_string(c.notListed) + " not in the listing (kept)";
  return text;
}

nlohmann::ordered_json countJson(const match::UpdateCount& c) {
  return {{"kept", c.kept},
          {"updated", c.updated},
          {"new", c.added},
          {"removed", c.removed},
          {"notListed", c.notListed}};
}

}  // namespace

void writeUpdateReport(std::ostream& out, const match::UpdateResult& result,
                       const std::vector<std::string>& listings) {
  for (const match::SatelliteUpdate& s : result.satellites) {
    out << "Satellite \"" << utf8(s.satellite) << "\" (" << s.position << ") from "
        << listings.at(s.listing) << (s.isNew ? ", new" : "") << ": transponders "
        << countText(s.transponders) << "; channels " << countText(s.channels) << ".\n";
    for (const std::string& tp : s.removedTransponders)
      out << "  removed transponder " << tp << '\n';
    for (const std::string& name : s.removedChannels)
      out << "  removed channel \"" << utf8(name) << "\"\n";
  }
}

void writeUpdateReportJson(std::ostream& out, const match::UpdateResult& result,
                           const std::vector<std::string>& listings) {
  nlohmann::ordered_json doc;
  doc["satellites"] = nlohmann::ordered_json::array();
  for (const match::SatelliteUpdate& s : result.satellites) {
    nlohmann::ordered_json removed = nlohmann::ordered_json::array();
    for (const std::string& name : s.removedChannels) removed.push_back(utf8(name));
    doc["satellites"].push_back({{"listing", listings.at(s.listing)},
                                 {"satellite", utf8(s.satellite)},
                                 {"position", s.position},
                                 {"new", s.isNew},
                                 {"transponders", countJson(s.transponders)},
                                 {"channels", countJson(s.channels)},
                                 {"removedTransponders", s.removedTransponders},
                                 {"removedChannels", std::move(removed)}});
  }
  out << doc.dump(2) << '\n';
}

}  // namespace velmora::cli
