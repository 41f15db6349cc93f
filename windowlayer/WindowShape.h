#pragma once
// Helpers for windows without a title bar: dragging by the background, rounded shapes
// and centring.
#include <windows.h>

#include "Gdi.h"

namespace wl {

// The answer to WM_NCHITTEST that lets the user drag a window by its client area: a
// client answer becomes a caption answer, everything else is kept.
constexpr LRESULT HitTestAsCaption(LRESULT defaultAnswer) noexcept {
  return defaultAnswer == HTCLIENT ? HTCAPTION : defaultAnswer;
}

// A rounded-rectangle region (corner ellipse width and height as CreateRoundRectRgn).
inline CRgn MakeRoundedRegion(const RECT& rect, int cornerWidth, int cornerHeight) {
  return CRgn(::CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight));
}

// Gives a window a rounded shape; the system owns the region afterwards.
inline bool SetRoundedWindowRegion(HWND hwnd, const RECT& rect, int cornerWidth, int cornerHeight,
                                   bool redraw = true) {
  CRgn region = MakeRoundedRegion(rect, cornerWidth, cornerHeight);
  if (!region) return false;
  if (!::SetWindowRgn(hwnd, region.Get(), redraw)) return false;
  region.Release();
  return true;
}

// Centres a top-level window on the work area of the primary monitor.
void CenterOnScreen(HWND hwnd);

}  // namespace wl
