// velmora-cli's reports for reorder and diff, the findings of a file that
// loading would leave out records of, and the warning that a command's
// input lost records on load.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/check.h"
#include "match/match.h"
#include "wdb/wdb_format.h"
#include "wdb/wdb_scan.h"

namespace velmora::cli {

// How many satellites, transponders and channels were matched, kept at the
// end and missing: lines of text, or a JSON object.
void writeReorderReport(std::ostream& out, const match::ReorderReport& report);
void writeReorderReportJson(std::ostream& out, const match::ReorderReport& report);

// The differences per satellite (text) or as a JSON list; "The databases
// are equal." when there are none.
void writeDiff(std::ostream& out, const std::vector<match::Change>& changes);
void writeDiffJson(std::ostream& out, const std::vector<match::Change>& changes);

// The scanner's losses as findings (record numbers in `row`), an unreadable
// file as the one finding "unreadable".
std::vector<Finding> lossFindings(const wdb::ScanReport& scan);
Finding unreadableFinding(const std::string& reason);

// On `err`, when loading `path` left records out; nothing otherwise.
void warnLostRecords(std::ostream& err, const std::string& path, const wdb::ReadResult& loaded);

}  // namespace velmora::cli
