#include "editor/trace.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

#include "wdb/process_clock.h"

namespace velmora::editor::trace {

namespace {

// When this library's statics were made: a little after the process began
// (the loader has run), for a system that cannot tell the real start.
const std::chrono::steady_clock::time_point staticsMade = std::chrono::steady_clock::now();

struct Sink {
  std::mutex lock;
  FILE* file = nullptr;
  // Milliseconds from the process's start to staticsMade, when the system
  // tells the start.
  double offset = 0;

  Sink() : file(openFileNamedByEnvironment("VELMORA_TRACE")) {
    if (file == nullptr) return;
    const double sinceStart = msSinceProcessStart();
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
