// Helpers that matching, reorder and diff share: row numbers as indices,
// the transponder each channel names, and a matching seen from the other
// side.
#pragma once

#include <cstddef>
#include <vector>

#include "db/channel_db.h"

namespace velmora::match {

inline std::size_t at(int i) { return static_cast<std::size_t>(i); }

// For each channel, the row of the first transponder of `tps` that its key
// names, or -1.
std::vector<int> transponderRows(const TpTable& tps, const SvcTable& svcs);

// The matching from the other side: for each of `size` entries, the entry
// that maps to it, or -1.
std::vector<int> inverse(const std::vector<int>& m, std::size_t size);

}  // namespace velmora::match
