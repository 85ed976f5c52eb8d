// The editor's texts are bytes, one per character, shown as the Western
// code page (db/western_text.h). Every character of that code page lies
// in the first plane of Unicode: one UTF-16 unit of the wide Windows
// interfaces. Paths, messages, tips, menu items and the title are UTF-8
// (editor/port.h), converted here to and from the system's UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "db/path_text.h"
#include "db/western_text.h"

namespace velmora::win32 {

inline std::wstring widen(std::string_view bytes) {
  std::wstring wide;
  wide.reserve(bytes.size());
  for (const unsigned char c : bytes) wide.push_back(static_cast<wchar_t>(westernChar(c)));
  return wide;
}

// A character the code page lacks (typed by the user, or pasted) becomes
// '?'; `refused` names the first.
inline WesternBytes narrowWestern(std::wstring_view wide) {
  WesternBytes out;
  out.bytes.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t ch = static_cast<char16_t>(wide[i]);
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < wide.size()) {
      const char32_t low = static_cast<char16_t>(wide[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        ch = 0x10000 + ((ch - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    const std::optional<unsigned char> byte = westernByte(ch);
    if (!byte && !out.refused) out.refused = ch;
    out.bytes.push_back(byte ? static_cast<char>(*byte) : '?');
  }
  return out;
}

inline std::string narrow(std::wstring_view wide) { return narrowWestern(wide).bytes; }

inline std::wstring wideFromUtf8(std::string_view utf8) {
  const std::u16string wide = utf16FromUtf8(utf8);
  return {wide.begin(), wide.end()};
}

inline std::string utf8FromWide(std::wstring_view wide) {
  return utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

}  // namespace velmora::win32
