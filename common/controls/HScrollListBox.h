#pragma once
// A list box whose horizontal scroll extent always equals its widest string: raised
// when a wider string comes in, recomputed when one goes, 0 when the list is emptied.
#include <windows.h>

#include <string>

#include "Window.h"

class CHScrollListBox : public wl::CWindow {
 public:
  // The width a string takes in the list's font (what the extent is made of).
  int TextWidth(const std::wstring& text) const;
  int Extent() const noexcept { return static_cast<int>(SendMessage(LB_GETHORIZONTALEXTENT)); }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Widen(const wchar_t* text);
  void Recompute();
};
