#include "editor/drag_keys.h"

#include "resource_ids.h"

namespace velmora::editor {

DragKey keyWhileDragging(int virtualKey) {
  return virtualKey == res::KEY_ESCAPE ? DragKey::Abandon : DragKey::Hold;
}

}  // namespace velmora::editor
