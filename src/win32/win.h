// The Windows headers, for every file of the adapter. resource_ids.h names
// some ids as Windows does (IDOK, IDCANCEL, VK_F1, ...); it is read first,
// before <windows.h> makes those names macros of the same values, and the
// adapter then uses the Windows names.
#pragma once

// clang-format off
#include "resource_ids.h"
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

static_assert(IDOK == 1 && IDCANCEL == 2 && VK_F1 == 0x70 && VK_RETURN == 0x0D);
