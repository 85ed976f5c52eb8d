// The editor's texts are bytes, one per character, shown as Latin-1: the
// first 256 code points of Unicode. Each byte is therefore one UTF-16 unit
// of the wide Windows interfaces, and back.
#pragma once

#include <string>
#include <string_view>

namespace velmora::win32 {

inline std::wstring widen(std::string_view bytes) {
  std::wstring wide;
  wide.reserve(bytes.size());
  for (const unsigned char c : bytes) wide.push_back(static_cast<wchar_t>(c));
  return wide;
}

// A character the editor's byte texts cannot hold (typed by the user, or
// pasted) becomes '?', as an 8-bit edit field would show it.
inline std::string narrow(std::wstring_view wide) {
  std::string bytes;
  bytes.reserve(wide.size());
  for (const wchar_t c : wide) bytes.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return bytes;
}

}  // namespace velmora::win32
