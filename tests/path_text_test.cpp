// Paths as UTF-8 text and the system's names.
#include "db/path_text.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora {
namespace {

// Any UTF-16 text survives the trip through UTF-8 (lone surrogates become
// U+FFFD, and then stay so), and any bytes at all give UTF-8 that comes
// back the same: nothing throws, nothing is lost twice.
TEST(PathText, Utf8AndUtf16RoundTripAndNeverThrow) {
  std::mt19937 random(16);
  for (int round = 0; round < 2000; ++round) {
    std::u16string wide;
    std::string bytes;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) {
      const auto pick = random() % 5;
      wide += pick == 0   ? static_cast<char16_t>(random() % 0x80)
              : pick == 1 ? static_cast<char16_t>(0xD800 + random() % 0x800)
                          : static_cast<char16_t>(random() % 0x10000);
      bytes += static_cast<char>(random() % 256);
    }
    const std::string utf8 = utf8FromUtf16(wide);
    const std::u16string back = utf16FromUtf8(utf8);
    EXPECT_EQ(utf8FromUtf16(back), utf8);
    bool lone = false;
    for (std::size_t i = 0; i < wide.size(); ++i) {
      const bool high = wide[i] >= 0xD800 && wide[i] <= 0xDBFF;
      const bool low = wide[i] >= 0xDC00 && wide[i] <= 0xDFFF;
      if (high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
        ++i;
      } else if (high || low) {
        lone = true;
      }
    }
    if (!lone) {
      EXPECT_EQ(back, wide);
    }
    const std::string fixed = utf8FromUtf16(utf16FromUtf8(bytes));
    EXPECT_EQ(utf8FromUtf16(utf16FromUtf8(fixed)), fixed);
    EXPECT_EQ(utf8FromPath(pathFromUtf8(utf8)), utf8);
  }
  EXPECT_EQ(utf16FromUtf8("\xC5\x81 \xE2\x82\xAC \xF0\x9F\x93\xBA"), u"\u0141 \u20AC \U0001F4FA");
}

TEST(PathText, ANameInAnyScriptIsOneName) {
  const std::filesystem::path path =
      pathFromUtf8("\xC5\x81ukasz/\xCE\x95\xCE\xBB \xE2\x82\xAC.wdb");
  EXPECT_EQ(utf8FromPath(path.filename()), "\xCE\x95\xCE\xBB \xE2\x82\xAC.wdb");
  EXPECT_EQ(utf8FromPath(path.parent_path()), "\xC5\x81ukasz");
#ifdef _WIN32
  EXPECT_EQ(path.filename().native(), L"\u0395\u03BB \u20AC.wdb");
  const std::filesystem::path deep(L"C:\\" + std::wstring(300, L'a') + L"\\..\\x.wdb");
  EXPECT_EQ(systemPath(deep).native(), L"\\\\?\\C:\\x.wdb");
  EXPECT_EQ(systemPath(L"\\\\server\\share\\" + std::wstring(300, L'b')).native(),
            L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'b'));
  EXPECT_EQ(systemPath(L"C:\\short.wdb").native(), L"C:\\short.wdb");
#endif
}

}  // namespace
}  // namespace velmora
