#pragma once
// The overlay that dims the main window while a modal pop-up is open: layered, 178 of
// 255 opaque, clicks pass through, the main window's rounded shape.
#include "Dialog.h"
#include "Gdi.h"

class CTWKTranslucentDlg : public wl::CDialog {
 public:
  static constexpr BYTE kAlpha = 178;
  CTWKTranslucentDlg();

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  wl::CBrush brush_;
};
