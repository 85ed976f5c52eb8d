// A lenient look at a *.wdb file: everything a load would leave out, record
// by record. The reader (wdb_format.h) loads what the receiver would and
// quietly skips what it cannot place; the scanner says what that was, so
// that a check can show it before a list goes into a receiver.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "wdb/wdb_format.h"

namespace velmora::wdb {

// One thing a load would lose or change. `record` is the 1-based record
// number in its area of the file (satellite slot, transponder or service
// record), 0 for the header.
struct LoadLoss {
  std::string kind;
  int record = 0;
  std::string message;  // bytes of names as they are in the file
};

struct ScanReport {
  Layout layout = Layout::NotChosen;
  // Why the file cannot be read as a database at all; empty when it can.
  std::string unreadable;
  std::vector<LoadLoss> losses;
};

// Reads every record it can find, whatever the header's counts say (a
// count over the receiver's limits is a loss of its own, and the rest is
// still scanned). Never reads outside `bytes`.
ScanReport scanWdb(std::span<const std::byte> bytes);

// The number of real satellites among the 64 names of a satellite area:
// the writer fills the slots after them with "NEW 1", "NEW 2", ...
std::size_t realSatelliteSlots(const std::vector<std::string>& names);

}  // namespace velmora::wdb
