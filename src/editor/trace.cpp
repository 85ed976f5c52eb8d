#include "editor/trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#endif

namespace velmora::editor::trace {

namespace {

// When this library's statics were made: a little after the process began
// (the loader has run), for a system that cannot tell the real start.
const std::chrono::steady_clock::time_point staticsMade = std::chrono::steady_clock::now();

#ifdef _WIN32

// The process's creation time, as the system kept it, against the system
// clock now (both in 100 ns steps).
double msSinceStart() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  auto ticks = [](FILETIME t) {
    return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                  t.dwLowDateTime);
  };
  return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

FILE* openTrace() {
  const wchar_t* path = _wgetenv(L"VELMORA_TRACE");
  return path != nullptr && *path != 0 ? _wfopen(path, L"ab") : nullptr;
}

#else

// The kernel keeps the process's start in clock ticks since boot (field 22
// of /proc/self/stat, after the command name in parentheses, which may hold
// blanks); the clock since boot gives now. The tick is coarse (10 ms on
// most systems), so a time may read up to one tick long.
double msSinceStart() {
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

FILE* openTrace() {
  const char* path = std::getenv("VELMORA_TRACE");
  return path != nullptr && *path != 0 ? std::fopen(path, "ab") : nullptr;
}

#endif

struct Sink {
  std::mutex lock;
  FILE* file = nullptr;
  // Milliseconds from the process's start to staticsMade, when the system
  // tells the start.
  double offset = 0;

  Sink() : file(openTrace()) {
    if (file == nullptr) return;
    const double sinceStart = msSinceStart();
    const double sinceStatics =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - staticsMade)
            .count();
    offset = sinceStart >= sinceStatics ? sinceStart - sinceStatics : 0;
  }
  ~Sink() {
    if (file != nullptr) std::fclose(file);
  }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;
};

Sink& sink() {
  static Sink s;
  return s;
}

}  // namespace

bool enabled() {
  static const bool on = sink().file != nullptr;
  return on;
}

void mark(std::string_view event) {
  if (!enabled()) return;
  Sink& s = sink();
  const double ms = s.offset + std::chrono::duration<double, std::milli>(
                                   std::chrono::steady_clock::now() - staticsMade)
                                   .count();
  const std::lock_guard<std::mutex> hold(s.lock);
  std::fprintf(s.file, "%lld %.*s\n", static_cast<long long>(ms), static_cast<int>(event.size()),
               event.data());
  std::fflush(s.file);
}

}  // namespace velmora::editor::trace
