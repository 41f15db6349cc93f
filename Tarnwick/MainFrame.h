#pragma once
// The main window: a rounded 771 x 551 frame without a title bar that holds the view,
// takes the program's private messages and owns the scan schedule timer.
#include <string>

#include "FrameWindow.h"

class CTarnwickView;

class CMainFrame : public wl::CFrameWindow {
 public:
  static constexpr int kWidth = 771;
  static constexpr int kHeight = 551;

  void ActivateFrame(int showCommand) override;
  CTarnwickView* View() const;

  std::wstring title;
  int scheduleDays = 0;
  int scheduleHours = 0;
  int scheduleTimerEnabled = 0;
  std::wstring lastScheduleHandled;
  int scheduledScanRunning = 0;

  // The summary pop-up that the focus rule closes or brings back (not owned).
  HWND summaryPopup = nullptr;
  // A summary pop-up has gone away: forgotten only when it is the current one, so that
  // the late message of a replaced pop-up leaves its successor alone.
  void OnSummaryClosed(HWND popup);

  // One tick of the schedule timer.
  void OnScheduleTimer();
  // The guarded requests from outside (WM_TWK_STARTSCAN, _COMPULSORYSCAN, _FIXNOW).
  void OnGuardedRequest(UINT msg);
  void OnAlertSettings();
  void OnShowReviewRequest();
  // Centres the frame on the screen and shows it normally.
  void CentreAndShow();

 protected:
  bool PreCreateWindow(CREATESTRUCTW& create) override;
  int OnCreate(CREATESTRUCTW* create) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnTimer(UINT_PTR id) override;

 private:
  LRESULT OnHitTest(LPARAM lp);
  void OnSetFocus();
  bool HasFocus() const;
};

// The next due time of the schedule from now by the interval of Days and Hours, written
// to NextScanning (nothing when both are 0).
void ComputeNextScan();
