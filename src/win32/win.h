// The Windows headers, for every file of the adapter.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include "resource_ids.h"

// The adapter hands a key's virtual-key code to the editor unchanged, and
// takes the editor's OK and Cancel for the dialog's own: the editor's ids
// are Windows' values.
static_assert(velmora::res::ID_OK == IDOK && velmora::res::ID_CANCEL == IDCANCEL);
static_assert(velmora::res::KEY_RETURN == VK_RETURN && velmora::res::KEY_ESCAPE == VK_ESCAPE &&
              velmora::res::KEY_DELETE == VK_DELETE);
static_assert(velmora::res::KEY_F1 == VK_F1 && velmora::res::KEY_F2 == VK_F2 &&
              velmora::res::KEY_F3 == VK_F3 && velmora::res::KEY_F5 == VK_F5 &&
              velmora::res::KEY_F7 == VK_F7 && velmora::res::KEY_F8 == VK_F8 &&
              velmora::res::KEY_F9 == VK_F9);
