#include "db/path_text.h"

#include "db/utf8.h"

namespace velmora {

namespace fs = std::filesystem;

std::u16string utf16FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t ch = nextUtf8CodePoint(utf8, i);
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
