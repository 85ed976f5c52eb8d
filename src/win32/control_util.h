// Small helpers that every control wrapper of the adapter uses.
#pragma once

#include <string>

#include "win32/win.h"

namespace velmora::win32 {

inline LRESULT send(HWND w, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return w != nullptr ? SendMessageW(w, message, wParam, lParam) : 0;
}

inline int count(HWND w, UINT message) { return static_cast<int>(send(w, message)); }

// A colour of the layout's table (0xRRGGBB) as Windows takes it.
inline COLORREF colour(unsigned rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The width of `text` in the font of control `w`.
inline int textWidth(HWND w, const std::wstring& text) {
  HDC dc = GetDC(w);
  if (dc == nullptr) return 0;
  auto* font = reinterpret_cast<HFONT>(send(w, WM_GETFONT));
  HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (old != nullptr) SelectObject(dc, old);
  ReleaseDC(w, dc);
  return size.cx;
}

// Changes the program makes to a control notify nothing: a list view
// tells of every change of its selection, the user's and ours, and is
// told to keep still while the program works.
class Quiet {
 public:
  explicit Quiet(int& depth) : depth_(depth) { ++depth_; }
  ~Quiet() { --depth_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  int& depth_;
};

}  // namespace velmora::win32
