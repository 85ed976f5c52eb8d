// The application: the main window, its prompts and the editor logic,
// wired together and run until the editor ends the window.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora::qt {

class EditorWindow;

// Runs the editor in the QApplication that exists. `files` (from the
// command line) open once the window shows, as Open would open them.
// `firstShown`, when given, is called once the main window has first been
// painted.
int runEditor(const std::vector<std::string>& files = {},
              const std::function<void(EditorWindow&)>& firstShown = {});

}  // namespace velmora::qt
