// How long the running process has been going, as the system tells it.
// One version per system (process_clock_posix.cpp, process_clock_win32.cpp),
// as with the file system in file_io.h.
#pragma once

namespace velmora {

// Milliseconds from the process's start to now, or a negative number when
// the system cannot tell.
double msSinceProcessStart();

}  // namespace velmora
