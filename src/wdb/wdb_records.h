// Where the areas and the fields of a *.wdb file lie in each layout, shared
// by the reader, which loads what the receiver would, and the scanner,
// which reports what such a load leaves out.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "wdb/wdb_format.h"

namespace velmora::wdb {

inline constexpr std::array<std::uint8_t, 4> SECTION_START = {0x41, 0x41, 0x41, 0x41};
inline constexpr std::array<std::uint8_t, 4> SECTION_END = {0x05, 0x05, 0x05, 0x05};

struct Geometry {
  std::size_t satSize;
  std::size_t svcSize;
  std::size_t satAreaEnd() const { return SAT_AREA + MAX_SATS * satSize; }
  std::size_t tpStart() const { return satAreaEnd() + 8; }
  std::size_t tpEnd(std::size_t t) const { return tpStart() + TP_SIZE * t; }
  std::size_t svcStart(std::size_t t) const { return tpEnd(t) + 8; }
  std::size_t svcEnd(std::size_t t, std::size_t s) const { return svcStart(t) + svcSize * s; }
};

inline constexpr Geometry TYPE1_GEOMETRY{TYPE1_SAT_SIZE, TYPE1_SVC_SIZE};
inline constexpr Geometry TYPE2_GEOMETRY{TYPE2_SAT_SIZE, TYPE2_SVC_SIZE};
inline const Geometry& geometryOf(Layout layout) {
  return layout == Layout::TypeII ? TYPE2_GEOMETRY : TYPE1_GEOMETRY;
}

// Service fields that differ in place between the layouts.
struct SvcOffsets {
  std::size_t tpNumber, videoPid, audioPid, pcrPid, name, type;
};
inline constexpr SvcOffsets TYPE1_SVC{2, 6, 8, 10, 13, 29};
inline constexpr SvcOffsets TYPE2_SVC{4, 28, 30, 32, 7, 2};
inline const SvcOffsets& svcOffsetsOf(Layout layout) {
  return layout == Layout::TypeII ? TYPE2_SVC : TYPE1_SVC;
}

// Satellite name: 16 bytes after a length byte; a Type II receiver shows at
// most 15 of them.
inline constexpr std::size_t SAT_NAME_OFFSET = 2;

}  // namespace velmora::wdb
