#include "db/western_text.h"

#include <array>
#include <cstdio>

#include "db/utf8.h"

namespace velmora {

namespace {

// 0x80..0x9F; the unassigned ones keep their own number.
constexpr std::array<char32_t, 32> HIGH_CONTROLS = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

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
  appendUtf8(out, ch);
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
  for (const char c : bytes) appendUtf8(out, westernChar(static_cast<unsigned char>(c)));
  return out;
}

WesternBytes westernFromUtf8(std::string_view utf8) {
  WesternBytes out;
  out.bytes.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t ch = nextUtf8CodePoint(utf8, i);
    const std::optional<unsigned char> byte = westernByte(ch);
    if (!byte && !out.refused) out.refused = ch;
    out.bytes += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

}  // namespace velmora
