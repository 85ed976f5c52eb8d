// Dialog templates (DLGTEMPLATEEX) built in memory from the editor's window
// templates in res/layout.cpp: the same positions in dialog units, the same
// fonts, so the Windows dialogs and the Qt windows have one layout source.
#pragma once

#include <cstdint>
#include <vector>

#include "layout.h"

namespace velmora::win32 {

// The template of `def` for CreateDialogIndirectParam or
// DialogBoxIndirectParam. The main window's controls lie on a pane of their
// own, a child dialog that its frame hosts under the toolbar; controls that
// are never shown are left out of it.
std::vector<std::uint32_t> buildDialogTemplate(const res::DialogDef& def, bool mainWindow);

// The main window's frame: a dialog with the caption of `def`, created
// hidden and empty, which takes the menu bar, the toolbar and the pane.
std::vector<std::uint32_t> buildFrameTemplate(const res::DialogDef& def);

}  // namespace velmora::win32
