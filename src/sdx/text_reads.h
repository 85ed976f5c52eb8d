// Line reads of a text file as the receiver tools make them: the file is
// read in text mode, so CR LF arrives as one LF (a lone CR stays a
// character), and each read takes characters up to and including a LF, or
// stops earlier when the buffer is full. A line longer than the buffer is
// therefore seen as several reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::detail {

// The reads of `text`, at most `maxChars` characters each, every read
// keeping its LF. Stops after `maxReads` reads. Nothing follows the last
// read when the text ends with a LF.
inline std::vector<std::string> textModeReads(std::string_view text, std::size_t maxChars,
                                              std::size_t maxReads = static_cast<std::size_t>(-1)) {
  std::vector<std::string> reads;
  if (maxChars == 0) return reads;
  std::string piece;
  std::size_t i = 0;
  while (i < text.size() && reads.size() < maxReads) {
    char c = text[i++];
    if (c == '\r' && i < text.size() && text[i] == '\n') c = text[i++];
    piece.push_back(c);
    if (c == '\n' || piece.size() == maxChars) {
      reads.push_back(std::move(piece));
      piece.clear();
    }
  }
  if (!piece.empty() && reads.size() < maxReads) reads.push_back(std::move(piece));
  return reads;
}

// A read as C string code sees it: the text up to its first NUL.
inline std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace velmora::detail
