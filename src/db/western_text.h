// The texts of the channel database are bytes; people read and type them
// as the Western code page (Windows-1252). The five bytes that code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the code
// points of the same number, so every byte string survives a trip to
// Unicode and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The character a byte stands for.
char32_t westernChar(unsigned char byte);
// The byte for a character, or nothing when the code page has none.
std::optional<unsigned char> westernByte(char32_t ch);

// Bytes as UTF-8 text.
std::string westernToUtf8(std::string_view bytes);

struct WesternBytes {
  // Every character that has no byte (and every malformed UTF-8 sequence)
  // is '?' here.
  std::string bytes;
  // The first such character; U+FFFD for malformed UTF-8.
  std::optional<char32_t> refused;
};
// UTF-8 text back as bytes.
WesternBytes westernFromUtf8(std::string_view utf8);

// One character as UTF-8, and as "U+20AC" for messages.
std::string utf8Of(char32_t ch);
std::string codePointName(char32_t ch);

}  // namespace velmora
