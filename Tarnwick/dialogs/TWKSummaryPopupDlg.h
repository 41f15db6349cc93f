#pragma once
// The scan summary that slides up from the bottom right corner of the work area, stays
// until the user closes it or turns to the main window, and slides down again.
#include "ScanResultsState.h"
#include "TWKPopupBase.h"

class CTWKSummaryPopupDlg : public CTWKPopupBase {
 public:
  static constexpr int kWidth = 257;
  static constexpr int kHeight = 366;
  static constexpr int kStep = 8;
  static constexpr UINT_PTR kSlideUpTimer = 16;
  static constexpr UINT_PTR kSlideDownTimer = 17;
  static constexpr UINT kSlidePeriodMs = 2;

  // The owner hears WM_TWK_CLOSESUMMARY when the pop-up goes away. Made on the heap:
  // the object deletes itself once its window is gone.
  explicit CTWKSummaryPopupDlg(HWND owner);
  bool Open(const ScanResultsState& counts);

  bool FullyShown() const noexcept { return fullyShown_; }
  void StartSlideDown();
  // The image of the 24 x 24 strip of bitmap 160 a category count shows.
  static int CategoryImage(unsigned count) { return count ? 2 : 0; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool OnTimer(UINT_PTR id) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnCancel() override { StartSlideDown(); }
  void OnFinalMessage() override;

 private:
  void CreateUI();
  void SetScanIcons();
  void SlideTo(int top);
  void GoAway();
  void OnOptions();

  HWND owner_;
  ScanResultsState counts_;
  RECT target_{};
  bool fullyShown_ = false;
  bool movedWhileShown_ = false;
  bool gone_ = false;
  POINT shownAt_{};
};
