#include "TWKTranslucentDlg.h"

#include "Resource.h"
#include "WindowShape.h"

CTWKTranslucentDlg::CTWKTranslucentDlg() : CDialog(IDD_TRANSLUCENT), brush_(::CreateSolidBrush(RGB(67, 100, 119))) {}

BOOL CTWKTranslucentDlg::OnInitDialog() {
  ::SetWindowLongW(Handle(), GWL_EXSTYLE,
                   ::GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TRANSPARENT);
  ::SetLayeredWindowAttributes(Handle(), 0, kAlpha, LWA_ALPHA);
  ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  wl::SetRoundedWindowRegion(Handle(), RECT{2, 2, 771, 551}, 20, 20);
  ::SetWindowPos(Handle(), nullptr, 0, 0, 771, 551, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return FALSE;
}

LRESULT CTWKTranslucentDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLORDLG) return reinterpret_cast<LRESULT>(brush_.Get());
  if (msg == WM_ERASEBKGND) {
    RECT client = GetClientRect();
    ::FillRect(reinterpret_cast<HDC>(wp), &client, brush_);
    return TRUE;
  }
  return CDialog::WindowProc(msg, wp, lp);
}
