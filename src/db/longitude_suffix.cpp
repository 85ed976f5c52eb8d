#include "db/longitude_suffix.h"

namespace velmora {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<LongitudeSuffix> findLongitudeSuffix(std::string_view name) {
  std::size_t i = name.size();
  auto skipBlanks = [&] {
    while (i > 0 && isBlank(name[i - 1])) --i;
  };
  auto last = [&]() -> unsigned char {
    return i > 0 ? static_cast<unsigned char>(name[i - 1]) : 0;
  };
  skipBlanks();
  const bool parenthesised = last() == ')';
  if (parenthesised) {
    --i;
    skipBlanks();
  }
  char side = 0;
  if (last() == 'E' || last() == 'e' || last() == 'W' || last() == 'w') {
    side = static_cast<char>(last() & ~0x20);
    --i;
    skipBlanks();
  }
  bool degree = false;
  if (last() == 0xB0 || last() == 0xBA) {
    --i;
    // The same sign in UTF-8 is the lead byte 0xC2 before it.
    if (last() == 0xC2) --i;
    degree = true;
    skipBlanks();
  }
  if (side == 0 && !degree) return std::nullopt;

  // Whole degrees, then perhaps a separator and one decimal.
  const std::size_t numberEnd = i;
  while (i > 0 && isDigit(name[i - 1])) --i;
  std::size_t digits = numberEnd - i;
  int tenths = 0;
  if (digits == 1 && i > 0 && (name[i - 1] == '.' || name[i - 1] == ',')) {
    tenths = name[i] - '0';
    --i;
    const std::size_t wholeEnd = i;
    while (i > 0 && isDigit(name[i - 1])) --i;
    digits = wholeEnd - i;
  }
  if (digits == 0 || digits > 3) return std::nullopt;
  if (i > 0 && (name[i - 1] == '.' || name[i - 1] == ',')) return std::nullopt;
  int whole = 0;
  for (std::size_t k = i; k < i + digits; ++k) whole = whole * 10 + (name[k] - '0');
  const int value = whole * 10 + tenths;

  // What sets the number off from the name: "(" around it, or a blank
  // or "-" before it; a degree sign marks it well enough on its own.
  if (parenthesised) {
    skipBlanks();
    if (last() != '(') return std::nullopt;
    --i;
  } else if (i > 0 && !isBlank(name[i - 1]) && name[i - 1] != '-' && name[i - 1] != '(' &&
             !degree) {
    return std::nullopt;  // "Astra 2E" ends in a suffix, "Ku12E" does not
  }
  skipBlanks();
  if (!parenthesised && (last() == '-' || last() == '(')) {
    --i;
    skipBlanks();
  }

  if (side == 'W') {
    if (value > 1800) return std::nullopt;
    return LongitudeSuffix{i, (3600 - value) % 3600};
  }
  if (value >= 3600) return std::nullopt;
  return LongitudeSuffix{i, value};
}

}  // namespace velmora
