#include "win32/sub_dialog.h"

#include <memory>

#include "resource_ids.h"
#include "win32/dialog_template.h"
#include "win32/win_controls.h"

namespace velmora::win32 {

namespace {

// One run of a sub-dialog: every notification of its controls is a
// command for the logic, by the control's id.
class SubDialogRun final : public editor::ControlEvents {
 public:
  SubDialogRun(const res::DialogDef& def, editor::SubDialog& logic) : def_(def), logic_(logic) {}

  void init(HWND hwnd) {
    hwnd_ = hwnd;
    controls_ = std::make_unique<WinControls>(hwnd, def_, [this](int) { end(); });
    controls_->setEvents(this);
    centreOnOwner();
    logic_.onInit(*controls_);
  }
  WinControls& controls() { return *controls_; }

  void command(int id) override {
    if (ended_ || !logic_.onCommand(*controls_, id)) return;
    end();
  }
  void listClick(int id, const std::vector<int>&) override { command(id); }
  void comboChanged(int id) override { command(id); }
  void lineChosen(int id) override { command(id); }
  // A double click on a row chooses it, as Enter does.
  void listDoubleClick(int) override { command(IDOK); }

 private:
  void end() {
    if (ended_) return;
    ended_ = true;
    EndDialog(hwnd_, logic_.result);
  }
  void centreOnOwner() {
    RECT box{}, over{};
    GetWindowRect(hwnd_, &box);
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner == nullptr || !GetWindowRect(owner, &over)) return;
    const int w = box.right - box.left, h = box.bottom - box.top;
    SetWindowPos(hwnd_, nullptr, over.left + (over.right - over.left - w) / 2,
                 over.top + (over.bottom - over.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  const res::DialogDef& def_;
  editor::SubDialog& logic_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<WinControls> controls_;
  bool ended_ = false;
};

INT_PTR CALLBACK subDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    reinterpret_cast<SubDialogRun*>(lParam)->init(hwnd);
    return TRUE;
  }
  auto* run = reinterpret_cast<SubDialogRun*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (run == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND: {
      if (run->controls().onCommand(wParam, lParam)) return TRUE;
      // Enter and Esc, when the dialog has no button of that id.
      const int id = LOWORD(wParam);
      if (id == IDOK || id == IDCANCEL) run->command(id);
      return TRUE;
    }
    case WM_NOTIFY:
      return run->controls().onNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
    case WM_DRAWITEM:
      return run->controls().onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE
                                                                                          : FALSE;
    case WM_APP_LIST_PICK:
    case WM_APP_COMBO_CLOSED:
    case WM_APP_DPI_CHANGED:
      run->controls().onPosted(message, wParam);
      return TRUE;
    case WM_DPICHANGED: {
      // Where Windows suggests; the dialog manager lays out the controls
      // in their new fonts, and the lists' columns follow after.
      const RECT& r = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      PostMessageW(hwnd, WM_APP_DPI_CHANGED, LOWORD(wParam), 0);
      return FALSE;
    }
    case WM_CLOSE:
      run->command(IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int runSubDialog(HWND owner, editor::SubDialog& dialog) {
  const res::DialogDef* def = res::subDialog(dialog.dialogId());
  if (def == nullptr) return IDCANCEL;
  const std::vector<std::uint32_t> tmpl = buildDialogTemplate(*def, false);
  SubDialogRun run(*def, dialog);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()),
                          owner, subDialogProc, reinterpret_cast<LPARAM>(&run));
  return dialog.result;
}

}  // namespace velmora::win32
