// The orbital position written at the end of a satellite's name. Names
// carry it in many styles: the editor writes "Hotbird-13E" and "Galaxy-30W",
// listings and other receivers "Astra 19.2E", "Astra 19.2°E", "Thor 0.8 W"
// or "Astra (19.2°E)". The degree sign comes as the database's
// Windows-1252 byte or as UTF-8 (a listing's text); the masculine ordinal
// often typed in its place counts as one.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace velmora {

struct LongitudeSuffix {
  // The length of the name before the suffix, without the blank or "-"
  // that sets it off: "Hotbird-13E" gives 7.
  std::size_t nameEnd = 0;
  // The position it names, in tenths of a degree east (0..3599): "30W"
  // is 3300.
  int tenths = 0;
};

// The suffix at the end of `name` (trailing blanks ignored), or nothing.
// A suffix is a number of at most three whole degrees and one decimal
// ("." or ","), with E or W, a degree sign or both, optionally in
// parentheses; it stands at the start or after a blank, "-" or "(", or
// straight after the name when it has a degree sign. West goes up to 180
// degrees, east below 360; a degree sign without a side is east.
std::optional<LongitudeSuffix> findLongitudeSuffix(std::string_view name);

}  // namespace velmora
