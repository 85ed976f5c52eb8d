// The tab pane's background under the visual styles. The style draws the
// pane in its own colour (white, on Windows 10 and 11), not the window's:
// labels and group boxes on it would stand in grey boxes. They paint the
// pane's own background instead, drawn once into a brush whose origin is
// the pane's corner: the style's tab pane, as the tab control draws it
// under them.
#pragma once

#include "win32/win.h"

namespace velmora::win32 {

class PaneTheme {
 public:
  // `tab`: the window's tab control, or null for a window without one.
  PaneTheme(HWND dialog, HWND tab) : dialog_(dialog), tab_(tab) {}
  ~PaneTheme();
  PaneTheme(const PaneTheme&) = delete;
  PaneTheme& operator=(const PaneTheme&) = delete;

  // The window's WM_ERASEBKGND: the pane's part of the window in the
  // pane's colour, for the controls (group and check boxes) that paint the
  // window's background behind them; false for the usual background.
  bool onEraseBackground(HDC dc);
  // The brush that `control`, which paints no field of its own, paints its
  // background with when it lies wholly on the pane; null for the usual.
  HBRUSH ctlColor(HDC dc, HWND control);
  // The visual style or the DPI changed: the brush is drawn again.
  void reset();

 private:
  HBRUSH brush();

  HWND dialog_;
  HWND tab_;
  // Null without visual styles.
  HBRUSH brush_ = nullptr;
  bool made_ = false;
};

}  // namespace velmora::win32
