#pragma once
// A combo box that shows its whole current text in a tip while the pointer is over it.
#include "TrackedTip.h"
#include "Window.h"

class CTWKTipComboBox : public wl::CWindow {
 public:
  bool Attach(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent) { return Attach(::GetDlgItem(parent, id)); }
  CTrackedTip& Tip() noexcept { return tip_; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnTimer(UINT_PTR id) override { return tip_.OnTimer(id); }

 private:
  CTrackedTip tip_;
};
