#include "wdb/sat_code.h"

#include <array>

namespace velmora::wdb {

namespace {
// The receiver's built-in satellites; the code is the position in this list.
constexpr std::array<std::string_view, SAT_CODE_TABLE_SIZE> kBuiltIn = {
    "Hotbird",    "Astra 1",    "Eutelsat W2",   "Eutelsat W1", "Eutelsat W3",  "Sirius",
    "Telecom 2A", "Intels707",  "Atlant Bird 3", "Telecom 2D",  "Intels901",    "NSS 7-21.5W",
    "Intels605",  "Hispasat",   "ORION",         "KOPERNIK3",   "Arabsat 2/3A", "Astra 2",
    "KOPERNIK2",  "Arabsat 2B", "Turksat 1B",    "Turksat 1C",  "Intels903",    "PAS1",
    "Amos 1",     "Thor"};
}  // namespace

std::uint8_t satelliteCode(std::string_view name, int& satCodeCounter) {
  for (std::size_t i = 0; i < kBuiltIn.size(); ++i) {
    if (name.find(kBuiltIn[i]) != std::string_view::npos) return static_cast<std::uint8_t>(i + 1);
  }
  ++satCodeCounter;
  return static_cast<std::uint8_t>(satCodeCounter & 0xFF);
}

}  // namespace velmora::wdb
