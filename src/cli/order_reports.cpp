#include "cli/order_reports.h"

#include <nlohmann/json.hpp>

#include "db/western_text.h"

namespace velmora::cli {

namespace {

// Names are bytes of the Western code page, as the editor shows them.
std::string utf8(const std::string& bytes) { return westernToUtf8(bytes); }

void countLine(std::ostream& out, const char* what, const match::Count& c) {
  out << what << ": " << c.matched << " matched, " << c.unmatched
      << " not in the reference (placed at the end), " << c.missing
      << " of the reference not in the database.\n";
}

nlohmann::ordered_json countJson(const match::Count& c) {
  return {{"matched", c.matched}, {"unmatched", c.unmatched}, {"missing", c.missing}};
}

std::string quoted(const std::string& text) { return "\"" + utf8(text) + "\""; }

std::string describe(const match::Change& c) {
  std::string line(match::levelName(c.level));
  line += " " + (c.level == match::Level::Transponder ? utf8(c.entry) : quoted(c.entry)) + ": ";
  switch (c.kind) {
    case match::ChangeKind::Added:
      return line + "added at " + std::to_string(c.newPosition);
    case match::ChangeKind::Removed:
      return line + "removed from " + std::to_string(c.oldPosition);
    case match::ChangeKind::Moved:
      return line + "moved from " + std::to_string(c.oldPosition) + " to " +
             std::to_string(c.newPosition);
    case match::ChangeKind::Changed: {
      line += "changed";
      for (std::size_t i = 0; i < c.fields.size(); ++i) line += (i ? ", " : " ") + c.fields[i];
      return line;
    }
  }
  return line;
}

}  // namespace

void writeReorderReport(std::ostream& out, const match::ReorderReport& report) {
  countLine(out, "Satellites", report.satellites);
  countLine(out, "Transponders", report.transponders);
  countLine(out, "Channels", report.channels);
}

void writeReorderReportJson(std::ostream& out, const match::ReorderReport& report) {
  nlohmann::ordered_json doc = {{"satellites", countJson(report.satellites)},
                                {"transponders", countJson(report.transponders)},
                                {"channels", countJson(report.channels)},
                                {"changed", report.changed}};
  out << doc.dump(2) << '\n';
}

void writeDiff(std::ostream& out, const std::vector<match::Change>& changes) {
  if (changes.empty()) {
    out << "The databases are equal.\n";
    return;
  }
  // A heading for each satellite the changes belong to, as it is in B
  // (as it was in A when it was removed).
  std::pair<int, int> heading{-1, -1};
  for (const match::Change& c : changes) {
    const std::pair<int, int> sat{c.oldSatellite, c.newSatellite};
    if (sat != heading) {
      heading = sat;
      out << "Satellite " << quoted(c.satellite) << " ("
          << (c.oldSatellite ? std::to_string(c.oldSatellite) : "-") << " -> "
          << (c.newSatellite ? std::to_string(c.newSatellite) : "-") << "):\n";
    }
    out << "  " << describe(c) << '\n';
  }
  out << changes.size() << (changes.size() == 1 ? " difference.\n" : " differences.\n");
}

void writeDiffJson(std::ostream& out, const std::vector<match::Change>& changes) {
  nlohmann::ordered_json doc;
  doc["equal"] = changes.empty();
  doc["changes"] = nlohmann::ordered_json::array();
  for (const match::Change& c : changes) {
    nlohmann::ordered_json j = {
        {"level", match::levelName(c.level)}, {"kind", match::changeKindName(c.kind)},
        {"satellite", utf8(c.satellite)},     {"oldSatellite", c.oldSatellite},
        {"newSatellite", c.newSatellite},     {"entry", utf8(c.entry)},
        {"oldPosition", c.oldPosition},       {"newPosition", c.newPosition}};
    if (c.kind == match::ChangeKind::Changed) j["fields"] = c.fields;
    doc["changes"].push_back(std::move(j));
  }
  out << doc.dump(2) << '\n';
}

std::vector<Finding> lossFindings(const wdb::ScanReport& scan) {
  std::vector<Finding> found;
  for (const wdb::LoadLoss& l : scan.losses)
    found.push_back({l.kind, 0, l.record, utf8(l.message)});
  if (!scan.unreadable.empty()) found.push_back(unreadableFinding(scan.unreadable));
  return found;
}

Finding unreadableFinding(const std::string& reason) {
  return {"unreadable", 0, 0, "The file cannot be read: " + reason};
}

void warnLostRecords(std::ostream& err, const std::string& path, const wdb::ReadResult& loaded) {
  if (!loaded.lostRecords()) return;
  std::string lost;
  auto part = [&](int n, const char* one, const char* many) {
    if (n == 0) return;
    if (!lost.empty()) lost += ", ";
    lost += std::to_string(n) + " " + (n == 1 ? one : many);
  };
  part(loaded.lostSatellites, "satellite", "satellites");
  part(loaded.lostTransponders, "transponder", "transponders");
  part(loaded.lostChannels, "channel", "channels");
  err << "Warning: loading " << path << " left out " << lost
      << " that could not be placed (velmora-cli check lists them).\n";
}

}  // namespace velmora::cli
