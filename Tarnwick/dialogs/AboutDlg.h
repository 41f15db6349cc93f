#pragma once
// The about box: product, file version and edition.
#include "TWKPopupBase.h"

class CAboutDlg : public CTWKPopupBase {
 public:
  CAboutDlg();
  // String 117 with "~MONTH~" and "~YEAR~" replaced by strings 110 and 116.
  static std::wstring EditionText();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
};
