#pragma once
// The painting messages of a control that draws its whole client area itself:
// WM_PAINT and WM_PRINTCLIENT draw through paint(HDC), WM_ERASEBKGND is left out so
// that nothing flickers.
#include <windows.h>

#include <optional>

#include "Gdi.h"

template <typename PaintFn>
std::optional<LRESULT> HandleSelfPainting(HWND hwnd, UINT msg, WPARAM wp, PaintFn&& paint) {
  switch (msg) {
    case WM_PAINT: {
      wl::CPaintDC dc(hwnd);
      paint(static_cast<HDC>(dc));
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    default:
      return std::nullopt;
  }
}
