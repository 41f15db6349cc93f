#pragma once
// A progress bar painted double-buffered: a grey gradient background and orange
// gradient blocks for the filled part.
#include <windows.h>

#include "Window.h"

class CCustomProgressCtrl : public wl::CWindow {
 public:
  void Paint(HDC dc);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};
