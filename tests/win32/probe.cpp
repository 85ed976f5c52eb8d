// Looks into Velmora.exe's window from another process, as the smoke test
// under Wine needs it: whether a window is up, a list's row count, a
// control's text and place, and how long start-up and loading take.
//
//   velmora_probe wait TITLE [MS]          until a visible window has TITLE
//   velmora_probe gone TITLE [MS]          until no window has TITLE
//   velmora_probe rows TITLE ID            rows of list view ID
//   velmora_probe text TITLE ID            text of control ID
//   velmora_probe settext TITLE ID TEXT    sets the text of control ID
//   velmora_probe rect TITLE [ID]          screen rectangle: x y w h
//   velmora_probe command TITLE ID         posts a menu command
//   velmora_probe maximize TITLE           maximizes the window
//   velmora_probe restore TITLE            gives it its normal size again
//   velmora_probe perpage TITLE ID         rows list view ID shows whole
//   velmora_probe wait-rows TITLE ID N [MS]   ms until list ID has N rows
//   velmora_probe tip TITLE ID [MS]        until a tip of the window shows,
//                                          inside the work area and clear
//                                          of control ID: its x y w h
//   velmora_probe notip TITLE [MS]         until no tip of the window shows
//   velmora_probe start EXE TITLE [MS]     starts EXE; ms until its window
//                                          is painted and answers
//   velmora_probe key-until TITLE VK TRACE EVENT [MS]
//                                          posts key VK to the window; ms
//                                          until the trace file TRACE has
//                                          one line more naming EVENT
//
// A window is found by its title, or by its title followed by " - " and
// the name of the document it shows, or by "*" for unsaved changes.
// Exit status 0 on success, 1 on a timeout or a missing window or control.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The arguments as the system has them, in any script.
std::wstring wide(const wchar_t* s) { return s; }

struct Search {
  std::wstring title;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK matchTitle(HWND w, LPARAM lParam) {
  auto& search = *reinterpret_cast<Search*>(lParam);
  if (search.visibleOnly && !IsWindowVisible(w)) return TRUE;
  wchar_t text[1024] = {};
  GetWindowTextW(w, text, 1024);
  const std::wstring t = text;
  if (t == search.title || t == search.title + L"*" || t.rfind(search.title + L" - ", 0) == 0) {
    search.found = w;
    return FALSE;
  }
  return TRUE;
}

HWND find(const std::wstring& title, bool visibleOnly) {
  Search search{title, visibleOnly, nullptr};
  EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND findVisible(const std::wstring& title) { return find(title, true); }

struct TipSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK matchTip(HWND w, LPARAM lParam) {
  auto& search = *reinterpret_cast<TipSearch*>(lParam);
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  if (IsWindowVisible(w) && std::wstring(name) == TOOLTIPS_CLASSW &&
      GetWindow(w, GW_OWNER) == search.owner) {
    search.found = w;
    return FALSE;
  }
  return TRUE;
}

// A tip of `owner` on screen.
HWND shownTip(HWND owner) {
  TipSearch search{owner, nullptr};
  EnumWindows(matchTip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND waitFor(const std::wstring& title, int ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (HWND w = findVisible(title)) return w;
    if (Clock::now() > end) return nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

long long since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The window has painted what it shows once it has handled everything
// queued before this message, paint included.
bool settled(HWND w) {
  RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
}

// How many lines of a trace file name the event.
int traceCount(const wchar_t* path, const std::string& event) {
  std::ifstream in{std::filesystem::path(path)};
  int n = 0;
  for (std::string line; std::getline(in, line);) {
    const std::size_t blank = line.find(' ');
    if (blank != std::string::npos && line.compare(blank + 1, std::string::npos, event) == 0) ++n;
  }
  return n;
}

// A control by its id anywhere in the window, also on a pane inside it.
HWND findControl(HWND window, int id) {
  struct Find {
    int id;
    HWND found;
  } find{id, GetDlgItem(window, id)};
  if (find.found != nullptr) return find.found;
  EnumChildWindows(
      window,
      [](HWND w, LPARAM lParam) -> BOOL {
        auto& f = *reinterpret_cast<Find*>(lParam);
        if (GetDlgCtrlID(w) != f.id) return TRUE;
        f.found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

int fail(const char* what) {
  std::fprintf(stderr, "velmora_probe: %s\n", what);
  return 1;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) return fail("usage: velmora_probe VERB TITLE ...");
  // Rectangles in the screen's own pixels, at any scaling.
  SetProcessDPIAware();
  const std::wstring verbText = argv[1];
  const std::string verb(verbText.begin(), verbText.end());
  const std::wstring title = wide(argv[2]);
  auto number = [&](int i, int fallback) { return argc > i ? _wtoi(argv[i]) : fallback; };

  if (verb == "start") {
    const std::wstring exe = wide(argv[2]);
    const std::wstring windowTitle = argc > 3 ? wide(argv[3]) : L"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    const auto start = Clock::now();
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
      return fail("cannot start the program");
    }
    HWND w = waitFor(windowTitle, number(4, 60000));
    if (w == nullptr || !settled(w)) return fail("no window");
    // The time from the start, then the processor time the program took
    // until then, which a busy machine changes less.
    const long long wall = since(start);
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(pi.hProcess, &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) {
      return static_cast<long long>(
          (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000);
    };
    std::printf("%lld %lld\n", wall, ms(kernel) + ms(user));
    PostMessageW(w, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
  }
  if (verb == "wait") {
    if (waitFor(title, number(3, 60000)) == nullptr) return fail("no such window");
    return 0;
  }
  if (verb == "gone") {
    const auto end = Clock::now() + std::chrono::milliseconds(number(3, 60000));
    while (find(title, false) != nullptr) {
      if (Clock::now() > end) return fail("the window stays");
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
  }

  HWND window = findVisible(title);
  if (window == nullptr) return fail("no such window");
  if (verb == "key-until") {
    if (argc < 6) return fail("usage: velmora_probe key-until TITLE VK TRACE EVENT [MS]");
    const auto key = static_cast<WPARAM>(number(3, 0));
    const std::wstring eventText = argv[5];
    const std::string event(eventText.begin(), eventText.end());
    const int before = traceCount(argv[4], event);
    const auto start = Clock::now();
    const auto end = start + std::chrono::milliseconds(number(6, 60000));
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 1 | (3u << 30));
    while (traceCount(argv[4], event) <= before) {
      if (Clock::now() > end) return fail("the event did not come");
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::printf("%lld\n", since(start));
    return 0;
  }
  if (verb == "notip") {
    const auto end = Clock::now() + std::chrono::milliseconds(number(3, 5000));
    while (shownTip(window) != nullptr) {
      if (Clock::now() > end) return fail("a tip stays");
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
  }
  if (verb == "maximize" || verb == "restore") {
    ShowWindow(window, verb == "maximize" ? SW_MAXIMIZE : SW_RESTORE);
    return settled(window) ? 0 : fail("the window does not answer");
  }
  if (verb == "focus") {
    // The id of the control that has the keyboard in the window's thread;
    // 0 for none.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
      return fail("no thread");
    std::printf("%d\n", info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : 0);
    return 0;
  }
  const int id = number(3, 0);
  if (verb == "command") {
    PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return 0;
  }
  HWND control = id != 0 ? findControl(window, id) : window;
  if (control == nullptr) return fail("no such control");

  if (verb == "rows") {
    std::printf("%d\n", static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0)));
  } else if (verb == "perpage") {
    std::printf("%d\n", static_cast<int>(SendMessageW(control, LVM_GETCOUNTPERPAGE, 0, 0)));
  } else if (verb == "text") {
    wchar_t text[4096] = {};
    SendMessageW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    // As UTF-8, for the shell script to compare.
    char utf8[4 * 4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::fputs(utf8, stdout);
    std::putchar('\n');
  } else if (verb == "settext") {
    const std::wstring text = argc > 4 ? wide(argv[4]) : L"";
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  } else if (verb == "rect") {
    RECT r{};
    GetWindowRect(control, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  } else if (verb == "tip") {
    // The tip may be shown first and placed a moment later: it is to come
    // to rest beside its control, inside the work area, within the time.
    const auto end = Clock::now() + std::chrono::milliseconds(number(4, 5000));
    const char* fault = "no tip shows";
    for (;;) {
      if (HWND tip = shownTip(window)) {
        RECT r{}, c{}, overlap{};
        GetWindowRect(tip, &r);
        GetWindowRect(control, &c);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(tip, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        if (r.left < work.left || r.top < work.top || r.right > work.right ||
            r.bottom > work.bottom) {
          fault = "the tip runs past the work area";
        } else if (IntersectRect(&overlap, &r, &c)) {
          fault = "the tip covers its control";
        } else {
          std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
          break;
        }
      }
      if (Clock::now() > end) return fail(fault);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  } else if (verb == "wait-rows") {
    const auto start = Clock::now();
    const auto end = start + std::chrono::milliseconds(number(5, 60000));
    const LRESULT want = number(4, 1);
    while (SendMessageW(control, LVM_GETITEMCOUNT, 0, 0) < want) {
      if (Clock::now() > end) return fail("the list stays short");
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!settled(window)) return fail("the window does not answer");
    std::printf("%lld\n", since(start));
  } else {
    return fail("unknown verb");
  }
  return 0;
}
