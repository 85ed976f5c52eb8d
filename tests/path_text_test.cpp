// Paths as UTF-8 text and the system's names.
#include "db/path_text.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora {
namespace {

// Any UTF-16 text and any bytes: lone surrogates and malformed sequences
// become U+FFFD once and then stay; nothing throws, nothing else changes.
TEST(PathText, AnyTextRoundTripsAndNothingThrows) {
  std::mt19937 random(16);
  for (int round = 0; round < 2000; ++round) {
    std::u16string wide;
    std::string bytes;
    for (auto i = random() % 12; i > 0; --i) {
      wide +=
          static_cast<char16_t>(random() % 3 == 0 ? 0xD800 + random() % 0x800 : random() % 0x10000);
      bytes += static_cast<char>(random() % 256);
    }
    const std::string utf8 = utf8FromUtf16(wide);
    EXPECT_EQ(utf8FromUtf16(utf16FromUtf8(utf8)), utf8);
    const std::string fixed = utf8FromUtf16(utf16FromUtf8(bytes));
    EXPECT_EQ(utf8FromUtf16(utf16FromUtf8(fixed)), fixed);
    EXPECT_EQ(utf8FromPath(pathFromUtf8(utf8)), utf8);
  }
  EXPECT_EQ(utf16FromUtf8("\xC5\x81 \xE2\x82\xAC \xF0\x9F\x93\xBA"), u"\u0141 \u20AC \U0001F4FA");
#ifdef _WIN32
  EXPECT_EQ(pathFromUtf8("\xC5\x81/\xE2\x82\xAC").filename().native(), L"\u20AC");
  const std::wstring deep(300, L'a');
  EXPECT_EQ(systemPath(L"C:\\" + deep + L"\\..\\x.wdb").native(), L"\\\\?\\C:\\x.wdb");
  EXPECT_EQ(systemPath(L"\\\\srv\\" + deep).native(), L"\\\\?\\UNC\\srv\\" + deep);
#endif
}

}  // namespace
}  // namespace velmora
