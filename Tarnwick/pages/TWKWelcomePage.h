#pragma once
// Page 0: shown once after installation; its buttons ask for the first scan.
#include <array>

#include "TWKPropertyPage.h"
#include "TWKTipStaticCtrl.h"

class CTWKWelcomePage : public CTWKPropertyPage {
 public:
  CTWKWelcomePage();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;

 private:
  void CreateUI();
  void SetXMLCaptionText();

  std::array<CTWKTipStaticCtrl, 4> tips_;
};
