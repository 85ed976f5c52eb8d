#include "db/western_text.h"

#include <array>
#include <cstdio>

namespace velmora {

namespace {

// 0x80..0x9F; the unassigned ones keep their own number.
constexpr std::array<char32_t, 32> HIGH_CONTROLS = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The next character of `text` from `i`, which it moves past the sequence;
// U+FFFD for a malformed one (overlong, surrogate, beyond U+10FFFF, cut).
char32_t nextChar(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int more = 0;
  char32_t ch = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1, ch = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2, ch = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3, ch = lead & 0x07u, least = 0x10000;
  } else {
    return 0xFFFD;
  }
  for (; more > 0; --more) {
    if (i >= text.size()) return 0xFFFD;
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0u) != 0x80u) return 0xFFFD;
    ch = (ch << 6) | (next & 0x3Fu);
    ++i;
  }
  if (ch < least || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return 0xFFFD;
  return ch;
}

}  // namespace

char32_t westernChar(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? HIGH_CONTROLS[byte - 0x80u] : char32_t{byte};
}

std::optional<unsigned char> westernByte(char32_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<unsigned char>(ch);
  for (std::size_t i = 0; i < HIGH_CONTROLS.size(); ++i)
    if (HIGH_CONTROLS[i] == ch) return static_cast<unsigned char>(0x80 + i);
  return std::nullopt;
}

std::string utf8Of(char32_t ch) {
  std::string out;
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
  return out;
}

std::string codePointName(char32_t ch) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(ch));
  return hex;
}

std::string westernToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) out += utf8Of(westernChar(static_cast<unsigned char>(c)));
  return out;
}

WesternBytes westernFromUtf8(std::string_view utf8) {
  WesternBytes out;
  out.bytes.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t ch = nextChar(utf8, i);
    const std::optional<unsigned char> byte = westernByte(ch);
    if (!byte && !out.refused) out.refused = ch;
    out.bytes += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

}  // namespace velmora
