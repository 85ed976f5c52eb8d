// How long the running process has been going, as the system tells it.
// One version per system (process_clock_posix.cpp, process_clock_win32.cpp),
// as with the file system in file_io.h.
#pragma once

#include <cstdio>

namespace velmora {

// Milliseconds from the process's start to now, or a negative number when
// the system cannot tell.
double msSinceProcessStart();

// The file the environment variable `variable` names, opened for appending
// bytes; null when the variable is unset or empty or the file cannot be
// opened. On Windows the name is read as wide text, so any path works.
std::FILE* openFileNamedByEnvironment(const char* variable);

}  // namespace velmora
