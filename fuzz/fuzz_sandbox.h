// A folder of a fuzz target's own, in memory where the system has
// /dev/shm: velmora-fuzz-NAME-PID. It goes when the run ends; a folder of
// the same target whose process is gone (a run stopped by a crash, which
// ends the process without its exit handlers) is removed when the next run
// makes its own.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace velmora::fuzz {

inline std::vector<std::filesystem::path>& sandboxes() {
  static std::vector<std::filesystem::path> made;
  return made;
}

inline void removeSandboxes() {
  std::error_code ec;
  for (const std::filesystem::path& dir : sandboxes()) std::filesystem::remove_all(dir, ec);
  sandboxes().clear();
}

// The empty folder for target `name` of this process.
inline std::filesystem::path makeSandbox(const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path base =
      fs::exists("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  const std::string prefix = "velmora-fuzz-" + name + "-";
  for (const auto& entry : fs::directory_iterator(base, ec)) {
    const std::string file = entry.path().filename().string();
    const std::string pid = file.substr(std::min(prefix.size(), file.size()));
    if (!file.starts_with(prefix) || pid.empty() ||
        pid.find_first_not_of("0123456789") != std::string::npos)
      continue;
    const long owner = std::strtol(pid.c_str(), nullptr, 10);
    if (::kill(static_cast<pid_t>(owner), 0) != 0 && errno == ESRCH) fs::remove_all(entry, ec);
  }
  const fs::path dir = base / (prefix + std::to_string(::getpid()));
  fs::remove_all(dir, ec);
  fs::create_directories(dir);
  if (sandboxes().empty()) std::atexit(removeSandboxes);
  sandboxes().push_back(dir);
  return dir;
}

}  // namespace velmora::fuzz
