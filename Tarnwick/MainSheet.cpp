#include "MainSheet.h"

bool CTWKMainSheet::CreateInView(HWND view, int width, int height) {
  if (!CreateChild(view, kX, kY, 0, WS_EX_CONTROLPARENT)) return false;
  if (HWND tab = GetTabControl()) {
    ::SetWindowLongW(tab, GWL_STYLE, ::GetWindowLongW(tab, GWL_STYLE) | TCS_OWNERDRAWFIXED);
  }
  HideTabStrip();
  Resize(width, height);
  for (int i = 0; i < PageCount(); ++i) SetActivePage(i);
  return true;
}

bool CTWKMainSheet::SetActivePage(int index) {
  const int before = GetActiveIndex();
  const bool done = CPropertySheet::SetActivePage(index);
  if (done && before != index) previousIndex_ = before;
  return done;
}

LRESULT CTWKMainSheet::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT white{0, 0, 657, 473};
      ::FillRect(reinterpret_cast<HDC>(wp), &white, white_);
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      ::BeginPaint(Handle(), &paint);
      ::EndPaint(Handle(), &paint);
      return 0;
    }
    default:
      return CPropertySheet::WindowProc(msg, wp, lp);
  }
}
