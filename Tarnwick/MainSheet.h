#pragma once
// The main property sheet: six pages changed only by program, white background.
#include "Gdi.h"
#include "PropertySheet.h"
#include "pages/TWKPropertyPage.h"

class CTWKMainSheet : public wl::CPropertySheet {
 public:
  static constexpr int kX = 105;
  static constexpr int kY = 58;

  // Creates the sheet inside the view and makes every page active once, 0 to 5.
  bool CreateInView(HWND view, int width, int height);
  bool SetActivePage(int index);
  int PreviousIndex() const noexcept { return previousIndex_; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int previousIndex_ = -1;
  wl::CBrush white_{::CreateSolidBrush(RGB(255, 255, 255))};
};
