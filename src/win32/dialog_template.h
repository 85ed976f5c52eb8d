// Dialog templates (DLGTEMPLATEEX) built in memory from the editor's window
// templates in res/layout.cpp: the same positions in dialog units, the same
// fonts, so the Windows dialogs and the Qt windows have one layout source.
#pragma once

#include <cstdint>
#include <vector>

#include "layout.h"

namespace velmora::win32 {

// The template of `def` for CreateDialogIndirectParam or
// DialogBoxIndirectParam. The main window's template is created hidden and
// without a menu; the window adds its menu bar and toolbar itself.
std::vector<std::uint32_t> buildDialogTemplate(const res::DialogDef& def, bool mainWindow);

}  // namespace velmora::win32
