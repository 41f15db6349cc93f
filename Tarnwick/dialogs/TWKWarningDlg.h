#pragma once
// The warning that threats found by the last scan are still on the computer, shown at
// start-up and when the user exits from the tray.
#include "TWKPopupBase.h"

class CTWKWarningDlg : public CTWKPopupBase {
 public:
  CTWKWarningDlg();
  // The headline count, or empty when the layout's headline stays.
  static std::wstring HeadlineCount(int exiting, const std::wstring& errorsFound, unsigned itemsFound);

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  void OnCancel() override { OnClose(); }

 private:
  void CreateUI();
  void CloseAndShowMain();
  void OnClose();
};
