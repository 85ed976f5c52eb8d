#include "win32/dpi.h"

#include <initializer_list>

namespace velmora::win32 {

namespace {

// A function of user32 that older systems lack, looked up once.
template <typename Fn>
Fn user32(const char* name) {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  FARPROC found = user != nullptr ? GetProcAddress(user, name) : nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(found));
}

int screenDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : BASE_DPI;
  if (dc != nullptr) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : BASE_DPI;
}

}  // namespace

int windowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto forWindow = user32<GetDpiForWindowFn>("GetDpiForWindow");
  if (window != nullptr && forWindow != nullptr) {
    if (const UINT dpi = forWindow(window); dpi != 0) return static_cast<int>(dpi);
  }
  return screenDpi();
}

int metricForDpi(int index, int dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = user32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi));
  // The system's metrics are for the screen's DPI.
  return MulDiv(GetSystemMetrics(index), dpi, screenDpi());
}

NONCLIENTMETRICSW nonClientMetrics(int dpi) {
  using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto forDpi = user32<ForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (forDpi != nullptr &&
      forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
    return metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  // The system's fonts are for the screen's DPI.
  const int screen = screenDpi();
  for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                         &metrics.lfStatusFont, &metrics.lfMessageFont})
    font->lfHeight = MulDiv(font->lfHeight, dpi, screen);
  return metrics;
}

}  // namespace velmora::win32
