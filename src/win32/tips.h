// The tips of a window's controls: blue ones for the controls the layout
// names, plain ones for the rest (the File line's whole path). A tip shows
// beside its control when the pointer rests on it, and goes when the
// pointer leaves, after a while, or with a click.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "win32/win.h"

namespace velmora::win32 {

// The timer, on a control, that takes its tip away after a while.
inline constexpr UINT_PTR TIP_TIMER = 0x7E12;

class Tips {
 public:
  Tips(HWND dialog, int dpi) : dialog_(dialog), dpi_(dpi) {}
  ~Tips();
  Tips(const Tips&) = delete;
  Tips& operator=(const Tips&) = delete;

  // Control `id` takes its tips in the blue colours.
  void makeBlue(int id) { blue_.insert(id); }
  // The tip of control `id`, window `control`, UTF-8; empty for none. A
  // field's tip goes to its side rather than below it.
  void set(int id, HWND control, bool field, std::string_view text);
  // The tips keep their room in logical pixels; one in view goes.
  void onDpiChanged(int dpi);

 private:
  struct Tip {
    HWND control = nullptr;
    bool field = false;
    std::wstring text;
  };

  HWND windowFor(int id);
  void show(int id);
  void hide();
  RECT place(HWND control, SIZE tip, bool field) const;
  static LRESULT CALLBACK controlProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);

  HWND dialog_;
  int dpi_;
  HWND blueTips_ = nullptr;
  HWND plainTips_ = nullptr;
  std::map<int, Tip> tips_;
  std::set<int> blue_;
  // The control whose tip is in view, and the one whose tip has gone (its
  // time up, a click) and comes again only after the pointer has left.
  int shown_ = 0;
  int done_ = 0;
};

}  // namespace velmora::win32
