#include "sdx/program_files.h"

#include <string_view>

#include "db/path_text.h"

namespace fs = std::filesystem;

namespace velmora {

namespace {

bool present(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

}  // namespace

fs::path programFilesFolder(const fs::path& programDir) {
  // The favourite folder may be spelt in capitals, as the favourite search
  // allows.
  for (std::string_view own : {"Velmora.html", "favor", "FAVOR"}) {
    if (present(programDir / pathFromUtf8(own))) return programDir;
  }
  fs::path bin = programDir.lexically_normal();
  if (!bin.has_filename()) bin = bin.parent_path();
  const fs::path shared = bin.parent_path() / "share" / "velmora";
  std::error_code ec;
  if (bin.filename() == "bin" && fs::is_directory(shared, ec)) return shared;
  return programDir;
}

}  // namespace velmora
