#include "Dialog.h"

#include <algorithm>
#include <vector>

namespace wl {

namespace {
std::vector<HWND>& ModelessDialogs() {
  static std::vector<HWND> dialogs;
  return dialogs;
}
}  // namespace

HINSTANCE CDialog::Resources() const noexcept {
  return resources_ ? resources_ : ::GetModuleHandleW(nullptr);
}

INT_PTR CDialog::DoModal(HWND parent) {
  if (IsAttached()) return -1;
  modal_ = true;
  INT_PTR result = ::DialogBoxParamW(Resources(), MAKEINTRESOURCEW(templateId_), parent,
                                     &CDialog::StartingDialogProc, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return result;
}

bool CDialog::CreateModeless(HWND parent) {
  if (IsAttached()) return false;
  modal_ = false;
  HWND hwnd = ::CreateDialogParamW(Resources(), MAKEINTRESOURCEW(templateId_), parent,
                                   &CDialog::StartingDialogProc, reinterpret_cast<LPARAM>(this));
  if (!hwnd) return false;
  ModelessDialogs().push_back(hwnd);
  return true;
}

void CDialog::EndDialog(INT_PTR result) {
  if (!IsAttached()) return;
  if (modal_) {
    ::EndDialog(Handle(), result);
  } else {
    DestroyWindow();
  }
}

bool CDialog::PreTranslateModeless(MSG& msg) {
  for (HWND dialog : ModelessDialogs()) {
    if (::IsWindow(dialog) && (msg.hwnd == dialog || ::IsChild(dialog, msg.hwnd)) &&
        ::IsDialogMessageW(dialog, &msg)) {
      return true;
    }
  }
  return false;
}

INT_PTR CDialog::StartDialog(CDialog* self, HWND hwnd) {
  self->AttachCreated(hwnd);
  return self->WindowProc(WM_INITDIALOG, 0, 0);
}

INT_PTR CALLBACK CDialog::StartingDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  // After WM_INITDIALOG the window is subclassed and messages reach WindowProc first;
  // what it passes on to the dialog manager comes back here and takes the defaults.
  if (msg == WM_INITDIALOG && !FromHandle(hwnd) && lp) {
    return StartDialog(reinterpret_cast<CDialog*>(lp), hwnd);
  }
  return FALSE;
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NCDESTROY: {
      auto& dialogs = ModelessDialogs();
      dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), Handle()), dialogs.end());
      break;
    }
    default:
      break;
  }
  return CWindow::WindowProc(msg, wp, lp);
}

bool CDialog::OnCommand(WORD id, WORD code, HWND control) {
  if (code != BN_CLICKED && control) return false;
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

}  // namespace wl
