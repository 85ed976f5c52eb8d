// A modal sub-dialog (About, Add channel): Windows builds it from its
// template; its behaviour is the editor's SubDialog.
#pragma once

#include "editor/port.h"
#include "win32/win.h"

namespace velmora::win32 {

// Runs `dialog` modally over `owner`; returns its result.
int runSubDialog(HWND owner, editor::SubDialog& dialog);

}  // namespace velmora::win32
