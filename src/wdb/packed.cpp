#include "db/text_number.h"
#include "wdb/wdb_format.h"

namespace velmora::wdb {

namespace {
std::uint8_t bcd(std::int64_t twoDigits) {
  return static_cast<std::uint8_t>(((twoDigits / 10) << 4) | (twoDigits % 10));
}
}  // namespace

std::array<std::uint8_t, 4> packDecimal(std::string_view text) {
  // The digits come from the value, not from the text, so " 9750" and
  // "09750" pack as 9750 does.
  const std::int64_t v = leadingValue(text);
  if (v < 1000 || v > 99999) return {0, 0, 0, 0};
  return {bcd(v / 10000), bcd((v / 100) % 100), bcd(v % 100), 0};
}

int unpackByte(std::uint8_t b) {
  // The receiver's software prints the byte in hex and reads the text back
  // as a decimal number: a non-decimal high nibble gives 0, a non-decimal
  // low nibble ends the number after the high one.
  const int hi = b >> 4;
  const int lo = b & 0x0F;
  if (hi > 9) return 0;
  if (lo > 9) return hi;
  return hi * 10 + lo;
}

std::string unpackDecimal(std::span<const std::uint8_t, 4> field) {
  return decimalText(unpackByte(field[0]) * 10000 + unpackByte(field[1]) * 100 +
                     unpackByte(field[2]));
}

std::string_view layoutName(Layout layout) {
  switch (layout) {
    case Layout::TypeI:
      return "I";
    case Layout::TypeII:
      return "II";
    case Layout::NotChosen:
      break;
  }
  return "new";
}

}  // namespace velmora::wdb
