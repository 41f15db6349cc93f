#include "MainFrame.h"

#include "ClientLog.h"
#include "PrivateMessages.h"
#include "RegistryAccess.h"
#include "ScanWrapper.h"
#include "SettingValues.h"
#include "TarnwickApp.h"
#include "TarnwickView.h"
#include "WinHandle.h"
#include "WindowShape.h"

void ComputeNextScan() {
  const long long days = twk::CountFromText(twk::ReadSetting(twk::setting::kDays));
  const long long hours = twk::CountFromText(twk::ReadSetting(twk::setting::kHours));
  const long long seconds = days * 86400 + hours * 3600;
  if (seconds <= 0) return;
  twk::WriteSetting(twk::setting::kNextScanning, twk::FormatScheduleDate(twk::LocalTimeAfterSeconds(seconds)));
}

CTarnwickView* CMainFrame::View() const { return static_cast<CTarnwickView*>(GetActiveView()); }

bool CMainFrame::PreCreateWindow(CREATESTRUCTW& create) {
  create.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  create.dwExStyle = WS_EX_APPWINDOW;
  return true;
}

int CMainFrame::OnCreate(CREATESTRUCTW*) {
  ::SetWindowLongW(Handle(), GWL_STYLE, ::GetWindowLongW(Handle(), GWL_STYLE) & ~WS_CAPTION);
  if (!title.empty()) SetText(title);
  if (HMENU system = ::GetSystemMenu(Handle(), FALSE)) {
    ::DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
    ::DeleteMenu(system, SC_MAXIMIZE, MF_BYCOMMAND);
  }
  ::SetMenu(Handle(), nullptr);
  // Taken from every other window while the program runs; the frame ignores them.
  ::RegisterHotKey(Handle(), 1, MOD_CONTROL, VK_TAB);
  ::RegisterHotKey(Handle(), 2, MOD_CONTROL | MOD_SHIFT, VK_TAB);
  wl::SetRoundedWindowRegion(Handle(), RECT{2, 2, kWidth, kHeight}, 20, 20, false);
  return 0;
}

void CMainFrame::ActivateFrame(int) { ::ShowWindow(Handle(), SW_SHOWNORMAL); }

void CMainFrame::CentreAndShow() {
  wl::CenterOnScreen(Handle());
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
}

bool CMainFrame::HasFocus() const {
  // The frame itself: it hands the focus on to its view whenever it gets it, so a
  // window just shown by the start-up (-start) does not count as the user working in it.
  return ::GetFocus() == Handle();
}

LRESULT CMainFrame::OnHitTest(LPARAM lp) {
  POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  CTarnwickView* view = View();
  if (view && view->IsAttached()) {
    RECT left{}, top{};
    ::GetWindowRect(view->GetDlgItem(1571), &left);
    ::GetWindowRect(view->GetDlgItem(1570), &top);
    RECT viewRect{};
    ::GetWindowRect(*view, &viewRect);
    // Picture 1571 placed at the view's corner, moved down by the header's height.
    RECT navigation{viewRect.left, viewRect.top + (top.bottom - top.top), viewRect.left + (left.right - left.left),
                    viewRect.top + (left.bottom - left.top)};
    if (::PtInRect(&navigation, at)) return HTNOWHERE;
  }
  return wl::HitTestAsCaption(::DefWindowProcW(Handle(), WM_NCHITTEST, 0, lp));
}

void CMainFrame::OnSetFocus() {
  if (!summaryPopup || !::IsWindow(summaryPopup)) return;
  CTarnwickApp& app = App();
  if (app.closeSummaryOnFocus == 1) {
    HWND popup = summaryPopup;
    summaryPopup = nullptr;
    HWND owner = ::GetWindow(popup, GW_OWNER);
    if (owner) ::PostMessageW(owner, WM_TWK_CLOSESUMMARY, 0, reinterpret_cast<LPARAM>(popup));
    ::DestroyWindow(popup);
  } else {
    ::SetActiveWindow(summaryPopup);
    app.closeSummaryOnFocus = 1;
  }
}

void CMainFrame::OnSummaryClosed(HWND popup) {
  if (popup == summaryPopup) summaryPopup = nullptr;
}

void CMainFrame::OnGuardedRequest(UINT msg) {
  CTarnwickApp& app = App();
  if (app.startupDialogShown || HasFocus() || app.messageBoxShown || app.overlayShown || app.downloadDialogBusy) {
    CentreAndShow();
    if (app.messageBoxShown) {
      if (HWND box = ::FindWindowW(nullptr, app.Text(101).c_str()); box && box != Handle()) {
        ::SetForegroundWindow(box);
        ::ShowWindow(box, SW_SHOW);
      }
    }
    return;
  }
  CentreAndShow();
  if (HANDLE mutex = ::OpenMutexW(MUTEX_ALL_ACCESS, TRUE, kDownloadDialogMutexName)) {
    if (app.ActivateDDDialog(mutex)) return;
  }
  CTarnwickView* view = View();
  if (msg == WM_TWK_FIXNOW) {
    if (view && view->ActivePage() != kFixPage) view->FixNow();
    return;
  }
  if (app.scanInProgress) return;
  if (msg == WM_TWK_COMPULSORYSCAN && app.fixInProgress) return;
  if (!view) return;
  app.autoScanStarting = 1;
  app.GetCompulsaryScantype();
  if (msg == WM_TWK_STARTSCAN) {
    view->OnStartScanMsg();
  } else {
    view->StartCompulsoryScan();
  }
  app.autoScanStarting = 0;
}

void CMainFrame::OnShowReviewRequest() {
  CTarnwickApp& app = App();
  if (app.startupDialogShown || HasFocus()) return;
  CentreAndShow();
  if (CTarnwickView* view = View()) view->OnShowReviewPage();
}

void CMainFrame::OnAlertSettings() {
  CTarnwickApp& app = App();
  CTarnwickView* view = View();
  if (app.scanInProgress && view) {
    app.alertSettingsPending = 1;
    PostMessage(WM_TWK_STOPSCAN, kGoReview);
    return;
  }
  app.ShowOptionsScreen();
}

void CMainFrame::OnScheduleTimer() {
  CTarnwickApp& app = App();
  CTarnwickView* view = View();
  if (!view || !scheduleTimerEnabled) return;
  const int page = view->ActivePage();
  if (page < kWelcomePage || page > kScanPage) return;
  if (::GetLastActivePopup(Handle()) != Handle()) return;
  std::wstring next;
  if (!twk::ReadString(twk::CurrentSettingsLocation().root, twk::CurrentSettingsLocation().subKey.c_str(),
                       twk::setting::kNextScanning, next)) {
    return;
  }
  if (_wcsicmp(next.c_str(), L"0") == 0) return;
  const auto due = twk::ParseSettingsDate(next);
  if (!due) return;
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  DATE now = 0;
  ::SystemTimeToVariantTime(&local, &now);
  if (now < *due) return;
  if (next == lastScheduleHandled) return;
  lastScheduleHandled = next;
  if (app.scanInProgress) {
    ComputeNextScan();
    return;
  }
  if (twk::ReadSetting(twk::setting::kCurrentlyDownloading) == L"1") {
    ComputeNextScan();
    return;
  }
  if (app.customScanDialogOpen) return;
  app.GetCompulsaryScantype();
  scheduledScanRunning = 1;
  view->StartCompulsoryScan();
}

bool CMainFrame::OnTimer(UINT_PTR id) {
  if (id != SCHEDULE_TIMER_ID) return false;
  OnScheduleTimer();
  return true;
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return OnHitTest(lp);
    case WM_CLOSE:
      ::ShowWindow(Handle(), SW_HIDE);
      return 0;
    case WM_HOTKEY:
      return 0;
    case WM_SETFOCUS: {
      LRESULT result = CFrameWindow::WindowProc(msg, wp, lp);
      OnSetFocus();
      return result;
    }
    case WM_QUERYENDSESSION: {
      CTarnwickApp& app = App();
      if (app.scanInProgress) {
        CScanWrapper::AbortScan();
        twk::WriteSetting(twk::setting::kCurrentlyScanning, L"0");
      }
      app.CancelDownloads();
      return ::DefWindowProcW(Handle(), msg, wp, lp);
    }
    case WM_TWK_STARTSCAN:
    case WM_TWK_COMPULSORYSCAN:
    case WM_TWK_FIXNOW:
      OnGuardedRequest(msg);
      return 0;
    case WM_TWK_STOPSCAN:
      if (CTarnwickView* view = View()) view->OnStopScanMsg(static_cast<int>(wp));
      return 0;
    case WM_TWK_ALERTSETTINGS:
      OnAlertSettings();
      return 0;
    case WM_TWK_CLOSESUMMARY:
      OnSummaryClosed(reinterpret_cast<HWND>(lp));
      return 0;
    case WM_TWK_SHOWREVIEW:
      OnShowReviewRequest();
      return 0;
    default:
      return CFrameWindow::WindowProc(msg, wp, lp);
  }
}
