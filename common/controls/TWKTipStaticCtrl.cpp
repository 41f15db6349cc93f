#include "TWKTipStaticCtrl.h"

#include <commctrl.h>

bool CTWKTipStaticCtrl::Attach(HWND hwnd) {
  if (!CWindow::Attach(hwnd)) return false;
  // Statics see the pointer only with SS_NOTIFY.
  ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) | SS_NOTIFY);
  LOGFONTW font = wl::PointFontDescription(L"Verdana", 8);
  tipFont_.Reset(::CreateFontIndirectW(&font));
  tip_.Create(hwnd, tipFont_);
  return true;
}

void CTWKTipStaticCtrl::SetTipTitle(const std::wstring& title, int icon) { tip_.SetTitle(title, icon); }

LRESULT CTWKTipStaticCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEMOVE) {
    tip_.OnMouseMove(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, GetText());
  } else if (msg == WM_DESTROY) {
    tip_.Hide();
  }
  return CWindow::WindowProc(msg, wp, lp);
}
