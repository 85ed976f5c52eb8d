#include "wdb/file_io.h"

#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

namespace {
// Paths are wide on Windows and narrow elsewhere; either way the name
// reaches the system unchanged.
std::FILE* openFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
  const std::string m(mode);
  return _wfopen(path.c_str(), std::wstring(m.begin(), m.end()).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}
}  // namespace

std::uintmax_t fileSizeOrZero(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec) || ec) return 0;
  const std::uintmax_t size = fs::file_size(path, ec);
  return ec ? 0 : size;
}

std::optional<std::vector<std::byte>> readWholeFile(const fs::path& path, std::size_t maxBytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec) || ec) return std::nullopt;
  std::FILE* f = openFile(path, "rb");
  if (!f) return std::nullopt;
  std::vector<std::byte> data;
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

bool writeFileAtomically(const fs::path& path, std::span<const std::byte> bytes) {
  std::error_code ec;
  if (path.empty() || fs::is_directory(path, ec)) return false;
  const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();

  // A temporary name beside the target, created exclusively so that two
  // saves never share one.
  std::random_device rd;
  std::FILE* f = nullptr;
  fs::path temp;
  for (int attempt = 0; attempt < 16 && !f; ++attempt) {
    temp = folder / (path.filename().string() + ".tmp" + std::to_string(rd() % 1000000u));
    f = openFile(temp, "wbx");
  }
  if (!f) return false;

  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (ok) {
    fs::rename(temp, path, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(temp, ec);
  return ok;
}

}  // namespace velmora
