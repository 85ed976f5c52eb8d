// Paths are UTF-8 text everywhere above the operating system: what the
// file dialog, the desktop and the command line hand over, what the editor
// keeps and shows, what the settings hold. These are the only places where
// that text becomes a file-system path and back. On Linux the bytes stay
// as they are (a file name there is bytes, whatever they spell); on Windows
// the text becomes the system's UTF-16 names, never the ANSI code page, so
// "C:\Users\Łukasz\Ελλάδα €.wdb" reaches the file it names.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora {

// The path that UTF-8 text names. Malformed UTF-8 never throws: on Windows
// each bad byte stands for U+FFFD.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// A path as UTF-8 text, for showing, keeping and handing back to
// pathFromUtf8. On Windows a lone UTF-16 surrogate becomes U+FFFD.
std::string utf8FromPath(const std::filesystem::path& path);

// UTF-8 and UTF-16 text, as the wide Windows interfaces take it.
std::u16string utf16FromUtf8(std::string_view utf8);
std::string utf8FromUtf16(std::u16string_view utf16);

// The path as the system's file calls are to take it. On Windows a path
// that the old limit of 260 characters could cut (with `margin`
// characters more for names made beside it) is given whole, in the
// "\\?\C:\..." or "\\?\UNC\server\share\..." form that lifts the limit;
// elsewhere, and for short paths, the path as given.
std::filesystem::path systemPath(const std::filesystem::path& path, std::size_t margin = 0);

}  // namespace velmora
