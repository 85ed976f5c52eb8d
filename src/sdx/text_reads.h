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

// Hands the reads of `text`, at most `maxChars` characters each and every
// read keeping its LF, one at a time to `take` (which returns false to stop
// reading). Nothing follows the last read when the text ends with a LF. One
// read is held at a time, so a long text costs no more than its longest read.
template <class Take>
void forEachTextModeRead(std::string_view text, std::size_t maxChars, Take take) {
  if (maxChars == 0) return;
  std::string piece;
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i++];
    if (c == '\r' && i < text.size() && text[i] == '\n') c = text[i++];
    piece.push_back(c);
    if (c == '\n' || piece.size() == maxChars) {
      if (!take(piece)) return;
      piece.clear();
    }
  }
  if (!piece.empty()) take(piece);
}

// The reads of `text` as above, collected; stops after `maxReads` reads.
inline std::vector<std::string> textModeReads(std::string_view text, std::size_t maxChars,
                                              std::size_t maxReads = static_cast<std::size_t>(-1)) {
  std::vector<std::string> reads;
  if (maxReads == 0) return reads;
  forEachTextModeRead(text, maxChars, [&](std::string& read) {
    reads.push_back(std::move(read));
    return reads.size() < maxReads;
  });
  return reads;
}

// A read as C string code sees it: the text up to its first NUL.
inline std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace velmora::detail
