// The shell and COM, loaded the first time something needs them: a start
// that opens no file dialog, web page or dropped file never loads them.
#pragma once

#include <string>
#include <vector>

#include "win32/win.h"

namespace velmora::win32 {

// The shell's "open" of a file or a web address; true when it started.
bool shellOpen(HWND owner, const std::wstring& target);
// The user's roaming application data folder; empty when there is none.
std::wstring roamingAppData();
// The files of a drop on the window, which is then released.
std::vector<std::wstring> droppedFiles(HDROP drop);
// COM in a single-threaded apartment on this thread, as the file dialogs
// and the shell expect; once.
void needCom();
// Ends what needCom began, as the program ends.
void endCom();

}  // namespace velmora::win32
