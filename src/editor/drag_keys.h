// The keyboard while a row of a list is dragged. The drag holds the whole
// keyboard until the drop: no key is a command, reaches a control, opens a
// menu, fires a shortcut or types. Esc, whatever modifiers are held,
// abandons the drag. The adapters hold the keys back (each in its own
// toolkit's way) and ask here what a key press does.
#pragma once

namespace velmora::editor {

enum class DragKey {
  Abandon,  // the drag is given up
  Hold,     // the key is swallowed, the drag goes on
};

// `virtualKey`: the key's code as the editor names keys (res::VK_*).
// Defined out of line: the Windows headers make the key names macros.
DragKey keyWhileDragging(int virtualKey);

}  // namespace velmora::editor
