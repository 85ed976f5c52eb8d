#include "win32/editor_window.h"

#include <algorithm>
#include <utility>

#include "editor/drag_keys.h"
#include "editor/editor_dialog.h"
#include "editor/trace.h"
#include "layout.h"
#include "resource_ids.h"
#include "texts.h"
#include "win32/dialog_template.h"
#include "win32/menus.h"
#include "win32/resources.h"
#include "win32/shell.h"
#include "win32/wide.h"
#include "win32/win_prompts.h"

namespace velmora::win32 {

EditorWindow::EditorWindow() {
  const res::DialogDef& def = res::editorDialog();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::vector<std::uint32_t> frame = buildFrameTemplate(def);
  hwnd_ = CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(frame.data()),
                                     nullptr, &EditorWindow::proc, reinterpret_cast<LPARAM>(this));
  if (hwnd_ == nullptr) return;
  const std::vector<std::uint32_t> tmpl = buildDialogTemplate(def, true);
  pane_ = CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()),
                                     hwnd_, &EditorWindow::proc, reinterpret_cast<LPARAM>(this));
  if (pane_ == nullptr) {
    DestroyWindow(std::exchange(hwnd_, nullptr));
    return;
  }
  controls_ = std::make_unique<WinControls>(pane_, def, [this](int result) {
    ended_ = true;
    result_ = result;
    ShowWindow(hwnd_, SW_HIDE);
  });
  controls_->setEvents(this);
  menu_ = buildMenuBar();
  SetMenu(hwnd_, menu_);
  controls_->setMenu(menu_);
  if (!buildToolBar()) return;
  setIcons();
}

void EditorWindow::setIcons() {
  const int dpi = controls_->dpi();
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(programIcon(false, dpi)));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(programIcon(true, dpi)));
}

// On a monitor of another scaling the dialog manager gives the window and
// its controls their new size, places and fonts; the toolbar's images,
// the icons and the lists' columns follow here.
void EditorWindow::dpiChanged(int dpi, const RECT& suggested) {
  // Where Windows suggests, so that the window stays under the pointer
  // that dragged it across.
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  HIMAGELIST images = toolbarImages(dpi);
  if (images != nullptr) {
    auto* old = reinterpret_cast<HIMAGELIST>(
        SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images)));
    if (old != nullptr) ImageList_Destroy(old);
    SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
  }
  PostMessageW(hwnd_, WM_APP_DPI_CHANGED, static_cast<WPARAM>(dpi), 0);
}

EditorWindow::~EditorWindow() {
  controls_.reset();
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

// The toolbar at the top, the pane of controls under it; the window takes
// the size of both.
bool EditorWindow::buildToolBar() {
  toolBar_ = CreateWindowExW(
      0, TOOLBARCLASSNAMEW, nullptr,
      WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER, 0, 0, 0, 0,
      hwnd_, reinterpret_cast<HMENU>(res::IDR_TOOLBAR), GetModuleHandleW(nullptr), nullptr);
  if (toolBar_ == nullptr) return false;
  HIMAGELIST images = toolbarImages(controls_->dpi());
  if (images == nullptr) {
    DestroyWindow(toolBar_);
    toolBar_ = nullptr;
    return false;
  }
  SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  std::vector<TBBUTTON> buttons;
  for (const int id : res::toolbarButtons()) {
    TBBUTTON b{};
    if (id == 0) {
      b.fsStyle = BTNS_SEP;
    } else {
      b.iBitmap = toolbarImageIndex(id);
      b.idCommand = id;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON;
    }
    buttons.push_back(b);
  }
  SendMessageW(toolBar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);

  // A border under the toolbar.
  border_ = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0, 0,
                            0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  // The status line under the pane, without a size grip: the window keeps
  // its size. The window grows by its height.
  statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                               hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  controls_->setStatusBar(statusBar_);
  placePane(true);
  return true;
}

// The pane under the toolbar and its border, placed once (and again when
// the window moves to a monitor of another scaling), and the window around
// them: at first centred in the work area of the monitor it starts on, at
// the pane's template size, which is also the smallest the window takes.
void EditorWindow::placePane(bool centre) {
  SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
  RECT bar{};
  GetWindowRect(toolBar_, &bar);
  // The template's size at the pane's scaling now, whatever size the pane
  // has grown to.
  const res::DialogDef& def = res::editorDialog();
  RECT pane{0, 0, def.w, def.h};
  MapDialogRect(pane_, &pane);
  const int paneW = pane.right, paneH = pane.bottom;
  const int barHeight = bar.bottom - bar.top;
  const int border = 2;
  SetWindowPos(border_, nullptr, 0, barHeight, paneW, border, SWP_NOZORDER | SWP_NOACTIVATE);
  const int down = barHeight + border;
  SetWindowPos(pane_, nullptr, 0, down, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT status{};
  if (statusBar_ != nullptr) {
    // The pane's font, at the scaling the pane has now; the bar takes the
    // height its font needs.
    SendMessageW(statusBar_, WM_SETFONT, static_cast<WPARAM>(SendMessageW(pane_, WM_GETFONT, 0, 0)),
                 FALSE);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    GetWindowRect(statusBar_, &status);
  }
  const int statusHeight = status.bottom - status.top;

  RECT frame{0, 0, paneW, paneH + down + statusHeight};
  RECT now{};
  GetWindowRect(hwnd_, &now);
  if (centre) {
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
  } else {
    // The frame's edges, caption and menu bar as they are at this scaling.
    RECT client{};
    GetClientRect(hwnd_, &client);
    frame.right += (now.right - now.left) - client.right;
    frame.bottom += (now.bottom - now.top) - client.bottom;
  }
  const int leastW = frame.right - frame.left, leastH = frame.bottom - frame.top;
  minimumFrame_ = SIZE{leastW, leastH};
  controls_->setMinimumFrame(minimumFrame_);
  // A window already larger than that keeps its size.
  const bool keep = !centre && !IsZoomed(hwnd_);
  const int w = keep ? std::max<int>(leastW, now.right - now.left) : leastW;
  const int h = keep ? std::max<int>(leastH, now.bottom - now.top) : leastH;
  int x = now.left, y = now.top;
  if (centre) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT work{0, 0, w, h};
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor))
      work = monitor.rcWork;
    x = work.left + std::max(0L, (work.right - work.left - w) / 2);
    y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);
  }
  if (!IsZoomed(hwnd_)) SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  layoutFrame();
}

// The About item in the window's system menu, under a separator.
void EditorWindow::addSystemMenuItem() {
  const std::string_view text = res::stringResource(res::IDS_ABOUTBOX);
  HMENU menu = GetSystemMenu(hwnd_, FALSE);
  if (text.empty() || menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(res::IDM_ABOUTBOX), widen(text).c_str());
}

void EditorWindow::attach(editor::EditorDialog& editor) {
  editor_ = &editor;
  addSystemMenuItem();
}

int EditorWindow::run() {
  if (!ok()) return IDCANCEL;
  ShowWindow(hwnd_, controls_->showsMaximized() ? SW_SHOWMAXIMIZED : SW_SHOW);
  // The keyboard starts where the editor put it (the Satellite list), or
  // else at the pane's first control.
  controls_->applyFocus();
  if (GetFocus() == nullptr || !IsChild(hwnd_, GetFocus())) {
    if (HWND first = GetNextDlgTabItem(pane_, nullptr, FALSE)) SetFocus(first);
  }
  UpdateWindow(hwnd_);
  if (editor::trace::enabled()) {
    // The controls paint after the window itself: all of them first.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    editor::trace::mark(editor::trace::FIRST_PAINT);
  }
  // Files from the desktop: named on the command line, or dropped later.
  SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
  if (!openOnShow_.empty() && editor_ != nullptr)
    editor_->openPaths(std::exchange(openOnShow_, {}));
  MSG msg;
  while (!ended_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (preTranslate(msg)) continue;
    if (IsDialogMessageW(pane_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return result_;
}

// Keys reach the editor before any control sees them. A key the editor
// clears goes on as no key at all; one it consumed goes no further.
bool EditorWindow::preTranslate(MSG& msg) {
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  // While a row is dragged the drag holds every key, typed characters and
  // the menu's keys as well.
  if (controls_->dragging() && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN ||
                                msg.message == WM_CHAR || msg.message == WM_SYSCHAR)) {
    if (msg.message == WM_KEYDOWN &&
        editor::keyWhileDragging(static_cast<int>(msg.wParam)) == editor::DragKey::Abandon)
      controls_->cancelDrag();
    return true;
  }
  if (editor_ == nullptr || msg.message != WM_KEYDOWN) return false;
  const int key = static_cast<int>(msg.wParam);
  // A combo box whose list is down takes Enter, Esc and F4 itself: they
  // choose, or close the list.
  if ((key == VK_RETURN || key == VK_ESCAPE || key == VK_F4) &&
      controls_->droppedCombo() != nullptr)
    return false;
  // Delete edits the text of a field; in a list it removes the picked rows.
  if (key == VK_DELETE && !controls_->listHasFocus()) return false;
  // Ctrl with a letter: the editor's added commands (Ctrl+Z, Ctrl+Y,
  // Ctrl+F, Ctrl+Shift+F); other keys with Ctrl go their usual way. Ctrl and Alt
  // together are AltGr, which types characters on many keyboards.
  const bool ctrl = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
  // Ctrl+Tab and Ctrl+Shift+Tab go through the tabs, as in any tab control.
  if (ctrl && key == VK_TAB) {
    controls_->flushPicks();
    return controls_->stepTab(GetKeyState(VK_SHIFT) < 0);
  }
  if (ctrl && (key < 'A' || key > 'Z')) return false;
  controls_->flushPicks();
  const bool shift = ctrl && GetKeyState(VK_SHIFT) < 0;
  switch (editor_->onKeyDown(key, ctrl, shift)) {
    case editor::KeyAction::Pass:
      return false;
    case editor::KeyAction::Clear:
      msg.wParam = 0;
      return false;
    case editor::KeyAction::Consumed:
      return true;
  }
  return false;
}

// The toolbar's tips come from the string table, and their window is
// raised above the others without taking the focus.
bool EditorWindow::toolTipText(NMHDR& header) {
  auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
  int id = static_cast<int>(header.idFrom);
  if ((info.uFlags & TTF_IDISHWND) != 0) id = GetDlgCtrlID(reinterpret_cast<HWND>(header.idFrom));
  if (editor_ == nullptr || res::stringResource(id).empty()) return false;
  // A toolbar tip is told in the notification's 80-character buffer's
  // measure: 79 characters and the terminator.
  tipText_ = widen(editor_->toolbarTip(id)).substr(0, 79);
  info.lpszText = tipText_.data();
  SetWindowPos(header.hwndFrom, HWND_TOP, 0, 0, 0, 0,
               SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
  return true;
}

INT_PTR CALLBACK EditorWindow::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    return TRUE;
  }
  auto* self = reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (self == nullptr || self->controls_ == nullptr) return FALSE;
  return self->handle(hwnd, message, wParam, lParam);
}

// The frame and its pane share this procedure: the frame has the menu, the
// toolbar and the window's own messages, the pane those of its controls.
INT_PTR EditorWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      if (controls_->onCommand(wParam, lParam)) return TRUE;
      const int id = LOWORD(wParam);
      // Enter and Esc never reach here as commands: the editor takes them.
      if (id == IDOK || id == IDCANCEL) return TRUE;
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == toolBar_) command(id);
      return TRUE;
    }
    case WM_SYSCOMMAND:
      // The About item; Windows keeps the low four bits for itself, so
      // any of them set is still that item.
      if ((wParam & 0xFFF0) == static_cast<WPARAM>(res::IDM_ABOUTBOX)) {
        command(res::IDM_ABOUTBOX);
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      if (header.code == TTN_GETDISPINFOW) return toolTipText(header) ? TRUE : FALSE;
      return controls_->onNotify(header) ? TRUE : FALSE;
    }
    case WM_DRAWITEM:
      return controls_->onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_ERASEBKGND:
      // The pane lies on the tab's pane; the frame keeps the window's colour.
      if (hwnd != pane_ || !controls_->onEraseBackground(reinterpret_cast<HDC>(wParam)))
        return FALSE;
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(
          controls_->onCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DPICHANGED:
      dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      // The dialog manager goes on: it lays out the controls again in
      // their new fonts.
      return FALSE;
    case WM_SIZE:
      if (hwnd == hwnd_ && wParam != SIZE_MINIMIZED && toolBar_ != nullptr) layoutFrame();
      return FALSE;
    case WM_GETMINMAXINFO:
      if (hwnd != hwnd_ || minimumFrame_.cx == 0) return FALSE;
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize =
          POINT{minimumFrame_.cx, minimumFrame_.cy};
      return TRUE;
    case WM_THEMECHANGED:
      controls_->onThemeChanged();
      return FALSE;
    // While a row is dragged the window holds the mouse: every move, the
    // release and a resting pointer (the timer) go to the editor.
    case WM_MOUSEMOVE:
      return controls_->onDragPointer(false) ? TRUE : FALSE;
    case WM_LBUTTONUP:
      return controls_->onDragPointer(true) ? TRUE : FALSE;
    case WM_TIMER:
      return wParam == DRAG_TIMER && controls_->onDragPointer(false) ? TRUE : FALSE;
    case WM_DROPFILES: {
      std::vector<std::string> files;
      for (const std::wstring& name : droppedFiles(reinterpret_cast<HDROP>(wParam)))
        files.push_back(utf8FromWide(name));
      if (editor_ != nullptr) editor_->openPaths(files);
      return TRUE;
    }
    case WM_APP_LIST_PICK:
    case WM_APP_COMBO_CLOSED:
      controls_->onPosted(message, wParam);
      return TRUE;
    case WM_APP_DPI_CHANGED:
      controls_->onPosted(message, wParam);
      setIcons();
      placePane(false);
      return TRUE;
    // A drag ends with the mouse capture: another window taking it, a mode
    // cancelled (a dialog coming up), the window no longer active (Alt+Tab).
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != pane_) controls_->cancelDrag();
      return FALSE;
    case WM_CANCELMODE:
      controls_->cancelDrag();
      return FALSE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) controls_->cancelDrag();
      return FALSE;
    case WM_QUERYENDSESSION:
      return queryEndSession();
    case WM_ENDSESSION:
      // The session goes on after all: nothing is blocked any more.
      if (wParam == FALSE) ShutdownBlockReasonDestroy(hwnd_);
      return FALSE;
    case WM_APP_RESULT:
      runPostedResult(lParam);
      return TRUE;
    case WM_CLOSE:
      // The title bar's close box, Alt+F4 and the system menu only ask;
      // the editor decides, and ends the window when it is to close.
      if (editor_ != nullptr) {
        controls_->flushPicks();
        editor_->onCloseRequest();
      }
      return TRUE;
    default:
      return FALSE;
  }
}

// Logging off, shutting down or restarting for an update with unsaved work
// is refused, with the reason shown to the user; the user may still end the
// session from there.
INT_PTR EditorWindow::queryEndSession() {
  const bool unsaved = editor_ != nullptr && editor_->hasUnsavedWork();
  if (unsaved) {
    ShutdownBlockReasonCreate(hwnd_, widen(text::UNSAVED_AT_END_OF_SESSION).c_str());
  } else {
    ShutdownBlockReasonDestroy(hwnd_);
  }
  SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, unsaved ? FALSE : TRUE);
  return TRUE;
}

void EditorWindow::command(int id) {
  if (editor_ == nullptr) return;
  controls_->flushPicks();
  editor_->onCommand(id);
}
void EditorWindow::tabChanged(int) {
  if (editor_ != nullptr) editor_->onTabChanged();
}
void EditorWindow::listClick(int id, const std::vector<int>& rows) {
  if (editor_ != nullptr) editor_->onListClick(id, rows);
}
void EditorWindow::listRightClick(int id) {
  if (editor_ != nullptr) editor_->onListRightClick(id);
}
void EditorWindow::columnClick(int id) {
  if (editor_ != nullptr) editor_->onColumnClick(id);
}
void EditorWindow::comboChanged(int id) {
  if (editor_ != nullptr) editor_->onComboChanged(id);
}
void EditorWindow::dragBegin(int id, int row) {
  if (editor_ != nullptr) editor_->onDragBegin(id, row);
}
void EditorWindow::dragMove(int overList, int row) {
  if (editor_ != nullptr) editor_->onDragMove(overList, row);
}
void EditorWindow::dragRelease(int overList, int row) {
  if (editor_ != nullptr) editor_->onDragRelease(overList, row);
}
void EditorWindow::dragCancel() {
  if (editor_ != nullptr) editor_->onDragCancel();
  // The image and the capture go whether or not the editor had begun.
  controls_->dragEnd();
}

}  // namespace velmora::win32
