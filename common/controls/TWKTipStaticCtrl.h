#pragma once
// A static that shows its whole text, with a title and an icon, in a tip (Verdana of
// 8 points) while the pointer is over it.
#include <string>

#include "Gdi.h"
#include "TrackedTip.h"
#include "Window.h"

class CTWKTipStaticCtrl : public wl::CWindow {
 public:
  bool Attach(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent) { return Attach(::GetDlgItem(parent, id)); }
  // icon: TTI_INFO and the other tool-tip title icons.
  void SetTipTitle(const std::wstring& title, int icon = 1);
  CTrackedTip& Tip() noexcept { return tip_; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnTimer(UINT_PTR id) override { return tip_.OnTimer(id); }

 private:
  CTrackedTip tip_;
  wl::CFont tipFont_;
};
