#pragma once
// The header of the gradient list: every item painted with an orange vertical gradient.
#include <windows.h>

#include "Gdi.h"
#include "Window.h"

class CGradientHeaderCtrl : public wl::CWindow {
 public:
  static constexpr int kHeight = 25;
  void Paint(HDC dc);
  void SetFont(HFONT font) noexcept { font_ = font; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HFONT font_ = nullptr;  // not owned (the list's item font)
};
