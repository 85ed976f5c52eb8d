// The application: the main window, its prompts and the editor logic,
// wired together and run until the editor ends the window.
#pragma once

#include <functional>

namespace velmora::qt {

class EditorWindow;

// Runs the editor in the QApplication that exists. `firstShown`, when
// given, is called once the main window has first been painted.
int runEditor(const std::function<void(EditorWindow&)>& firstShown = {});

}  // namespace velmora::qt
