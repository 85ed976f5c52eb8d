#include "cli/stdout_blocks.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace velmora::cli {

StdoutBlocks::StdoutBlocks() : buffer_(1u << 20) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
#ifdef _WIN32
  // For anything else that reaches stdout through the C library.
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

StdoutBlocks::~StdoutBlocks() { writeOut(); }

StdoutBlocks::int_type StdoutBlocks::overflow(int_type c) {
  if (!writeOut()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int StdoutBlocks::sync() { return writeOut() ? 0 : -1; }

bool StdoutBlocks::writeOut() {
  const char* data = pbase();
  std::size_t size = static_cast<std::size_t>(pptr() - pbase());
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  while (size > 0 && !failed_) {
#ifdef _WIN32
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), data, chunk, &written, nullptr) ||
        written == 0) {
      failed_ = true;
      break;
    }
    const std::size_t n = written;
#else
    const ssize_t w = ::write(STDOUT_FILENO, data, size);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      failed_ = true;
      break;
    }
    const auto n = static_cast<std::size_t>(w);
#endif
    data += n;
    size -= n;
  }
  return !failed_;
}

}  // namespace velmora::cli
