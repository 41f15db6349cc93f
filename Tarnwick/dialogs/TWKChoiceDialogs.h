#pragma once
// The two small question pop-ups: the advice to scan first, and the question before a
// scan is stopped.
#include "TWKPopupBase.h"

class CTWKScanRecommendedDlg : public CTWKPopupBase {
 public:
  CTWKScanRecommendedDlg();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  void OnCancel() override { EndDialog(2); }

 private:
  void CreateUI();
};

class CTWKStopRecommendedDlg : public CTWKPopupBase {
 public:
  static constexpr int kStop = 1489;
  static constexpr int kGoOn = 1490;
  CTWKStopRecommendedDlg();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  void OnCancel() override { EndDialog(2); }

 private:
  void CreateUI();
};
