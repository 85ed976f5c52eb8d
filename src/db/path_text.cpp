#include "db/path_text.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

// The next code point of `text` from `i`, which moves past it; U+FFFD and
// one byte for a malformed sequence (overlong, surrogate, beyond
// U+10FFFF, cut short).
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
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
  const std::size_t start = i;
  for (; more > 0; --more) {
    const auto next = i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    if ((next & 0xC0u) != 0x80u) {
      i = start;
      return 0xFFFD;
    }
    ch = (ch << 6) | (next & 0x3Fu);
    ++i;
  }
  if (ch < least || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
    i = start;
    return 0xFFFD;
  }
  return ch;
}

void appendUtf8(std::string& out, char32_t ch) {
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
}

}  // namespace

std::u16string utf16FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t ch = nextCodePoint(utf8, i);
    if (ch < 0x10000) {
      out += static_cast<char16_t>(ch);
    } else {
      out += static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string utf8FromUtf16(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t ch = utf16[i];
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (utf16[++i] - 0xDC00u);
    } else if (ch >= 0xD800 && ch <= 0xDFFF) {
      ch = 0xFFFD;
    }
    appendUtf8(out, ch);
  }
  return out;
}

#ifdef _WIN32

fs::path pathFromUtf8(std::string_view utf8) {
  const std::u16string wide = utf16FromUtf8(utf8);
  return fs::path(std::wstring(wide.begin(), wide.end()));
}

std::string utf8FromPath(const fs::path& path) {
  const std::wstring& wide = path.native();
  return utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

namespace {
bool isShare(std::wstring_view text) {
  return text.size() > 2 && (text[0] == L'\\' || text[0] == L'/') &&
         (text[1] == L'\\' || text[1] == L'/');
}

// A share's path "\\server\share\...": the rest after the two slashes
// taken as it is written.
fs::path shareLongForm(std::wstring_view text) {
  fs::path rest = fs::path(text.substr(2)).lexically_normal();
  rest.make_preferred();
  return fs::path(L"\\\\?\\UNC\\" + rest.native());
}
}  // namespace

fs::path systemPath(const fs::path& path, std::size_t margin) {
  // MAX_PATH, with its closing NUL.
  constexpr std::size_t OLD_LIMIT = 259;
  const std::wstring& given = path.native();
  if (given.size() + margin < OLD_LIMIT || given.starts_with(L"\\\\?\\")) return path;
  if (isShare(given)) return shareLongForm(given);
  std::error_code ec;
  fs::path whole = fs::absolute(path, ec);
  if (ec) return path;
  if (isShare(whole.native())) return shareLongForm(whole.native());
  // The long form is taken literally: no "." or "..", no forward slash.
  whole = whole.lexically_normal();
  whole.make_preferred();
  return fs::path(L"\\\\?\\" + whole.native());
}

#else

fs::path pathFromUtf8(std::string_view utf8) { return fs::path(std::string(utf8)); }

std::string utf8FromPath(const fs::path& path) { return path.native(); }

fs::path systemPath(const fs::path& path, std::size_t) { return path; }

#endif

}  // namespace velmora
