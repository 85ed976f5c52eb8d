// SatcoDX listing records for the tests: one complete channel record with
// chosen columns overwritten at their fixed offsets.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::test {

inline constexpr std::size_t SAT = 10, FORMAT = 29, FREQ = 34, POL = 42, NAME1 = 43, CODE = 51,
                             RATE = 69, VIDEO = 75, AUDIO = 79, PCR = 83, SID = 87, NID = 92,
                             TID = 97, CA = 111, NAME2 = 115;

using SdxChanges = std::initializer_list<std::pair<std::size_t, std::string_view>>;

// Free TV channel "CNN INTL" on 11034 V 27500 (NID 318, TID 200), video 160,
// audio 80, PCR 161, SID 1, satellite "Hotbird 13E" at 0130; 127 characters.
inline std::string sdxRecord(SdxChanges changes = {}) {
  std::string r =
      "SATCODX103Hotbird 13E        MPG2 11034   0CNN INTL0130              27500 "
      "016000800161000010031800200         ____            ";
  for (auto [at, text] : changes) r.replace(at, text.size(), text);
  return r;
}

}  // namespace velmora::test
