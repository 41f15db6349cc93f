#include "TWKTipComboBox.h"

bool CTWKTipComboBox::Attach(HWND hwnd) {
  if (!CWindow::Attach(hwnd)) return false;
  tip_.Create(hwnd, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
  return true;
}

LRESULT CTWKTipComboBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEMOVE) {
    tip_.OnMouseMove(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, GetText());
  } else if (msg == WM_DESTROY) {
    tip_.Hide();
  }
  return CWindow::WindowProc(msg, wp, lp);
}
