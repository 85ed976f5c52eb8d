#include "db/text_number.h"

#include <cstdio>

namespace velmora {

std::int64_t leadingValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Saturate well before int64 would overflow; no field of the receiver
  // comes near this.
  constexpr std::int64_t cap = 1'000'000'000'000'000LL;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < cap) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

std::uint16_t leadingU16(std::string_view text) {
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(leadingValue(text)) & 0xFFFFu);
}

std::string decimalText(std::int64_t value) { return std::to_string(value); }

std::string normalisedNumber(std::string_view text) { return decimalText(leadingValue(text)); }

std::string lnbTypeFor(std::string_view lnbFreq1, std::string_view lnbFreq2) {
  const std::int64_t l = leadingValue(lnbFreq1);
  const std::int64_t m = leadingValue(lnbFreq2);
  if (m == 0) return l == 0 ? "Universal" : "Single";
  return l <= 6000 ? "OCS" : "Universal";
}

}  // namespace velmora
