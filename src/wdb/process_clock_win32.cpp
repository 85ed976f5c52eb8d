// The process's age on Windows.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdlib>
#include <string>

#include "wdb/process_clock.h"

namespace velmora {

// The process's creation time, as the system kept it, against the system
// clock now (both in 100 ns steps).
double msSinceProcessStart() {
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

std::FILE* openFileNamedByEnvironment(const char* variable) {
  std::wstring name;
  for (const char* c = variable; *c != 0; ++c) name += static_cast<wchar_t>(*c);
  const wchar_t* path = _wgetenv(name.c_str());
  return path != nullptr && *path != 0 ? _wfopen(path, L"ab") : nullptr;
}

}  // namespace velmora
