// Reading whole files; the replacing writer is in file_io_posix.cpp (and
// file_io_win32.cpp, with what Windows says of a file).
#include "wdb/file_io.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "db/path_text.h"
#include "texts.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {
// Paths are wide on Windows and narrow elsewhere; either way the name
// reaches the system unchanged. `path` is in its system form already.
std::FILE* openFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
  const std::string m(mode);
  return _wfopen(path.c_str(), std::wstring(m.begin(), m.end()).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}
}  // namespace

#ifndef _WIN32
FileFacts fileFacts(const fs::path& path) {
  FileFacts facts;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) {
    facts.why =
        (ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory)).message() + ".";
  } else if (fs::is_directory(status)) {
    facts.kind = FileFacts::Kind::Folder;
  } else if (!fs::is_regular_file(status)) {
    facts.kind = FileFacts::Kind::Other;
  } else {
    facts.size = fs::file_size(path, ec);
    facts.kind = ec ? FileFacts::Kind::Missing : FileFacts::Kind::Regular;
    if (ec) facts.why = ec.message() + ".";
  }
  return facts;
}
#endif

bool pathExists(const fs::path& path) {
  return fileFacts(systemPath(path)).kind != FileFacts::Kind::Missing;
}

std::uintmax_t fileSizeOrZero(const fs::path& path) {
  const FileFacts facts = fileFacts(systemPath(path));
  return facts.kind == FileFacts::Kind::Regular ? facts.size : 0;
}

std::string whyUnreadable(const fs::path& given, std::size_t maxBytes) {
  const fs::path path = systemPath(given);
  const FileFacts facts = fileFacts(path);
  if (facts.kind == FileFacts::Kind::Missing) return facts.why;
  if (facts.kind == FileFacts::Kind::Folder) return std::string(text::REASON_FOLDER);
  if (facts.kind == FileFacts::Kind::Other) return std::string(text::REASON_NOT_REGULAR);
  const std::uintmax_t size = facts.size;
  if (size > maxBytes) {
    return std::string(text::REASON_TOO_LARGE_HEAD) + std::to_string(maxBytes >> 20) +
           std::string(text::REASON_TOO_LARGE_TAIL);
  }
  std::FILE* f = openFile(path, "rb");
  if (!f) return std::generic_category().message(errno) + ".";
  std::fclose(f);
  return {};
}

std::optional<std::vector<std::byte>> readWholeFile(const fs::path& given, std::size_t maxBytes) {
  const fs::path path = systemPath(given);
  const FileFacts facts = fileFacts(path);
  if (facts.kind != FileFacts::Kind::Regular || facts.size > maxBytes) return std::nullopt;
  const std::uintmax_t size = facts.size;
  std::FILE* f = openFile(path, "rb");
  if (!f) return std::nullopt;
  // Reserved once, so that a large file costs its size and not the double
  // a growing vector may briefly hold. The file may change meanwhile: read
  // to its end, but never past maxBytes.
  std::vector<std::byte> data;
  data.reserve(static_cast<std::size_t>(size));
  std::byte chunk[65536];
  bool ok = true;
  for (;;) {
    const std::size_t n = std::fread(chunk, 1, sizeof chunk, f);
    if (data.size() + n > maxBytes) {
      ok = false;
      break;
    }
    data.insert(data.end(), chunk, chunk + n);
    if (n < sizeof chunk) {
      ok = !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  if (!ok) return std::nullopt;
  return data;
}

}  // namespace velmora
