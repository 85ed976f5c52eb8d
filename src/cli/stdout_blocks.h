// Standard output of velmora-cli: written in blocks of a megabyte by the
// system's own call, byte for byte. JSON and CSV carry their own line ends,
// which must reach a file as they are (on Windows no LF becomes CR LF), and
// the C library of Windows writes to a character device (NUL, a console)
// without any buffer, one system call per character.
#pragma once

#include <streambuf>
#include <vector>

namespace velmora::cli {

class StdoutBlocks : public std::streambuf {
 public:
  // Puts the process's standard output in binary mode where the system has
  // a text mode.
  StdoutBlocks();
  ~StdoutBlocks() override;
  StdoutBlocks(const StdoutBlocks&) = delete;
  StdoutBlocks& operator=(const StdoutBlocks&) = delete;

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  // Writes what the buffer holds; false once a write has failed.
  bool writeOut();

  std::vector<char> buffer_;
  bool failed_ = false;
};

}  // namespace velmora::cli
