// Timing marks for measuring the window from inside. With the environment
// variable VELMORA_TRACE naming a file, every event appends one line to it:
// the milliseconds since the process started, a blank, and the event's
// name. Without the variable an event costs one test of a flag.
//
// The events: "first-paint" (the main window is painted for the first
// time), "open-chosen" (a file to open is decided: in the file dialog, on
// the command line, dropped on the window), "load-done" (a loaded database
// is installed in the window), "tab-chosen" (the user chose a tab) and
// "list-painted" (the list on show is painted for the first time after it
// was filled anew). The editor logic marks what it knows; the toolkit
// adapters mark the paints.
#pragma once

#include <string_view>

namespace velmora::editor::trace {

inline constexpr std::string_view FIRST_PAINT = "first-paint";
inline constexpr std::string_view OPEN_CHOSEN = "open-chosen";
inline constexpr std::string_view LOAD_DONE = "load-done";
inline constexpr std::string_view TAB_CHOSEN = "tab-chosen";
inline constexpr std::string_view LIST_PAINTED = "list-painted";

// Whether events are written at all.
bool enabled();
// Appends the event's line when enabled; safe from any thread.
void mark(std::string_view event);

}  // namespace velmora::editor::trace
