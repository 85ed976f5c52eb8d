// Scaling. The editor speaks of pixels of a 96-DPI screen (100 %); on
// screen they become as many as the window's monitor needs. Windows 10
// 1607 tells each window its DPI; older systems (and Wine) have one DPI
// for the whole screen.
#pragma once

#include "win32/win.h"

namespace velmora::win32 {

inline constexpr int BASE_DPI = 96;

// The DPI of the monitor `window` is on (the screen's when it is null).
int windowDpi(HWND window);
// A system metric (SM_CXICON, ...) at `dpi`.
int metricForDpi(int index, int dpi);
// The fonts of title bars, menus and message boxes at `dpi`.
NONCLIENTMETRICSW nonClientMetrics(int dpi);
// `logical` pixels at 96 DPI, in pixels at `dpi`, and back.
inline int toDpi(int logical, int dpi) { return MulDiv(logical, dpi, BASE_DPI); }
inline int fromDpi(int pixels, int dpi) { return MulDiv(pixels, BASE_DPI, dpi); }

}  // namespace velmora::win32
