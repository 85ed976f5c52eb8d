// The process's age on Linux.
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "wdb/process_clock.h"

namespace velmora {

// The kernel keeps the process's start in clock ticks since boot (field 22
// of /proc/self/stat, after the command name in parentheses, which may hold
// blanks); the clock since boot gives now. The tick is coarse (10 ms on
// most systems), so a time may read up to one tick long.
double msSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  const long hz = sysconf(_SC_CLK_TCK);
  timespec now{};
  if (!std::getline(stat, line) || hz <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1;
  const std::size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 1));
  std::string field;
  // Fields 3 to 21 come before the start time.
  for (int i = 3; i <= 21 && fields >> field;) ++i;
  unsigned long long startTicks = 0;
  if (!(fields >> startTicks)) return -1;
  const double startMs = static_cast<double>(startTicks) * 1000.0 / static_cast<double>(hz);
  const double nowMs =
      static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
  return nowMs - startMs;
}

std::FILE* openFileNamedByEnvironment(const char* variable) {
  const char* path = std::getenv(variable);
  return path != nullptr && *path != 0 ? std::fopen(path, "ab") : nullptr;
}

}  // namespace velmora
