// UTF-8, the text of paths and of everything the user reads, taken apart
// and put together one code point at a time.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The code point of `text` at `i`, moving `i` past it. A malformed
// sequence (overlong, a surrogate, beyond U+10FFFF, cut short) gives
// U+FFFD and moves past its first byte only.
char32_t nextUtf8CodePoint(std::string_view text, std::size_t& i);

// Appends `ch` in UTF-8.
void appendUtf8(std::string& out, char32_t ch);

}  // namespace velmora
