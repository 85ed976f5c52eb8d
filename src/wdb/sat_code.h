// The satellite code byte of each real satellite in a *.wdb file: 1..26 for
// the receiver's built-in satellites, a running counter from 27 for the rest.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora::wdb {

inline constexpr int SAT_CODE_TABLE_SIZE = 26;

// The code of the first built-in name that `name` contains (case-sensitive);
// otherwise ++satCodeCounter, low byte. Callers reset the counter to 26.
std::uint8_t satelliteCode(std::string_view name, int& satCodeCounter);

}  // namespace velmora::wdb
