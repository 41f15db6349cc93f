#include "SkinnedDialog.h"

namespace twk::skin {

void CSkinnedDialog::SetSkinBackground(COLORREF colour) {
  backColour_ = colour;
  backBrush_.Reset(::CreateSolidBrush(colour));
  if (IsAttached()) Invalidate();
}

LRESULT CSkinnedDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLORDLG && backBrush_) return reinterpret_cast<LRESULT>(backBrush_.Get());
  if (msg == WM_ERASEBKGND && backBrush_) {
    RECT client = GetClientRect();
    ::FillRect(reinterpret_cast<HDC>(wp), &client, backBrush_);
    return TRUE;
  }
  return CDialog::WindowProc(msg, wp, lp);
}

}  // namespace twk::skin
