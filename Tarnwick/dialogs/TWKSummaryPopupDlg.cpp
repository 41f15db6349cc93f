#include "TWKSummaryPopupDlg.h"

#include <algorithm>

#include "MainFrame.h"
#include "PrivateMessages.h"
#include "Resource.h"
#include "SkinBitmap.h"
#include "TWKStatic.h"
#include "TarnwickApp.h"
#include "TarnwickView.h"

namespace {
struct Category {
  int label, count, icon, text;
  uint32_t ScanResultsState::*field;
};
constexpr Category kCategories[] = {
    {1131, 1135, 1139, 19914, &ScanResultsState::cookiesFound},
    {1132, 1136, 1140, 19915, &ScanResultsState::processesFound},
    {1133, 1137, 1141, 9107, &ScanResultsState::registryFound},
    {1134, 1138, 1142, 21234, &ScanResultsState::filesFound},
};

// Image index of a horizontal strip of square images (as high as the strip), as a
// bitmap of its own.
HBITMAP StripImage(HBITMAP strip, int index) {
  if (!strip) return nullptr;
  BITMAP info{};
  ::GetObjectW(strip, sizeof info, &info);
  const int size = info.bmHeight;
  HDC screen = ::GetDC(nullptr);
  HDC from = ::CreateCompatibleDC(screen);
  HDC to = ::CreateCompatibleDC(screen);
  HBITMAP image = ::CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ oldFrom = ::SelectObject(from, strip);
  HGDIOBJ oldTo = ::SelectObject(to, image);
  ::BitBlt(to, 0, 0, size, size, from, index * size, 0, SRCCOPY);
  ::SelectObject(from, oldFrom);
  ::SelectObject(to, oldTo);
  ::DeleteDC(from);
  ::DeleteDC(to);
  ::ReleaseDC(nullptr, screen);
  return image;
}
}  // namespace

CTWKSummaryPopupDlg::CTWKSummaryPopupDlg(HWND owner) : CTWKPopupBase(IDD_SUMMARYPOPUP), owner_(owner) {}

bool CTWKSummaryPopupDlg::Open(const ScanResultsState& counts) {
  counts_ = counts;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  target_ = RECT{work.right - 267, work.bottom - kHeight, work.right - 10, work.bottom};
  return CreateModeless(nullptr);
}

BOOL CTWKSummaryPopupDlg::OnInitDialog() {
  CreateUI();
  ::SetWindowPos(Handle(), HWND_TOPMOST, target_.left, target_.top, kWidth, kHeight, SWP_NOACTIVATE);
  RoundCorners();
  // Starts below the work area and rises.
  ::SetWindowPos(Handle(), nullptr, target_.left, target_.bottom, kWidth, 0, SWP_NOZORDER | SWP_NOACTIVATE);
  SetTimer(kSlideUpTimer, kSlidePeriodMs);
  return FALSE;
}

void CTWKSummaryPopupDlg::CreateUI() {
  try {
    ::SetWindowTextW(Handle(), kTarnwickSystemName);
    SetSkinBackground(RGB(255, 255, 255));
    ::SetWindowPos(Handle(), nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RenderForm(L"301", L"SummaryPopUp");
    CTarnwickApp& app = App();
    SetItemText(1130, app.Text(1001));
    for (const Category& c : kCategories) {
      SetItemText(c.label, app.Text(c.text));
      SetItemText(c.count, std::to_wstring(counts_.*c.field));
    }
    SetItemText(1143, app.Text(21008));
    std::wstring total = app.Text(21009);
    if (auto at = total.find(L"%d"); at != std::wstring::npos) total.replace(at, 2, std::to_wstring(counts_.itemsFound));
    SetItemText(1144, total);
    SetItemText(1145, app.Text(21245));
    SetItemText(1013, app.Text(19987));
    SetItemText(1014, app.Text(21244));
    SetScanIcons();
  } catch (...) {
    App().ShowErrorReport(L"Summary.Mod", L"CTWKSummaryPopupDlg::CreateUI", 522, ::GetLastError());
  }
}

void CTWKSummaryPopupDlg::SetScanIcons() {
  try {
    CTarnwickApp& app = App();
    wl::CBitmap strip(twk::skin::LoadBitmapResource(app.languageModule ? app.languageModule : ::GetModuleHandleW(nullptr), 160));
    for (const Category& c : kCategories) {
      if (CTWKStatic* icon = children_.Static(c.icon)) {
        icon->SetBitmap(StripImage(strip.Get(), CategoryImage(counts_.*c.field)));
      }
    }
  } catch (...) {
    App().ShowErrorReport(L"Summary.Mod", L"CTWKSummaryPopupDlg::SetScanIcons", 983, ::GetLastError());
  }
}

void CTWKSummaryPopupDlg::SlideTo(int top) {
  ::SetWindowPos(Handle(), nullptr, target_.left, top, kWidth, target_.bottom - top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool CTWKSummaryPopupDlg::OnTimer(UINT_PTR id) {
  if (id != kSlideUpTimer && id != kSlideDownTimer) return false;
  RECT now{};
  ::GetWindowRect(Handle(), &now);
  const int highest = target_.bottom - kHeight;
  if (id == kSlideUpTimer) {
    const int top = (std::max)(static_cast<int>(now.top) - kStep, highest);
    if (top == now.top) {
      KillTimer(kSlideUpTimer);
      fullyShown_ = true;
      shownAt_ = POINT{now.left, now.top};
    } else {
      SlideTo(top);
    }
  } else {
    if (movedWhileShown_) {
      KillTimer(kSlideDownTimer);
      GoAway();
      return true;
    }
    // Slides down from where it stands until its top leaves the work area.
    const int top = static_cast<int>(now.top) + kStep;
    fullyShown_ = false;
    SlideTo(top);
    // The pop-up has left the work area once its top passed the work area's bottom.
    if (top >= target_.bottom) {
      KillTimer(kSlideDownTimer);
      GoAway();
    }
  }
  return true;
}

void CTWKSummaryPopupDlg::StartSlideDown() {
  KillTimer(kSlideUpTimer);
  if (fullyShown_) {
    RECT now{};
    ::GetWindowRect(Handle(), &now);
    movedWhileShown_ = now.left != shownAt_.x || now.top != shownAt_.y;
  }
  SetTimer(kSlideDownTimer, kSlidePeriodMs);
}

void CTWKSummaryPopupDlg::GoAway() {
  if (gone_) return;
  gone_ = true;
  if (owner_) ::PostMessageW(owner_, WM_TWK_CLOSESUMMARY, 0, reinterpret_cast<LPARAM>(Handle()));
  DestroyWindow();
}

void CTWKSummaryPopupDlg::OnOptions() {
  CTarnwickApp& app = App();
  app.exiting = 0;
  app.StartScheduleTimer();
  app.ShowOptionsScreen();
}

bool CTWKSummaryPopupDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (code != BN_CLICKED) return CTWKPopupBase::OnCommand(id, code, control);
  switch (id) {
    case 1248:
      StartSlideDown();
      return true;
    case 1014:
      if (CTarnwickView* view = App().MainView()) {
        App().ShowMainWindow();
        view->OnShowReviewPage();
      }
      StartSlideDown();
      return true;
    case 1013:
      OnOptions();
      return true;
    default:
      return CTWKPopupBase::OnCommand(id, code, control);
  }
}

LRESULT CTWKSummaryPopupDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    StartSlideDown();
    return 0;
  }
  if (msg == WM_NCLBUTTONDOWN && wp == HTCAPTION) {
    try {
      POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT window{};
      ::GetWindowRect(Handle(), &window);
      if (at.y >= window.bottom - 20) {
        StartSlideDown();
        return 0;
      }
      if (!fullyShown_) return 0;
      CTarnwickApp& app = App();
      app.closeSummaryOnFocus = 0;
      if (wl::CWindow* main = app.GetMainWindow()) {
        if (::IsWindowVisible(*main) && !::IsIconic(*main) && ::GetForegroundWindow() != main->Handle()) {
          ::ShowWindow(*main, SW_SHOWNORMAL);
          ::BringWindowToTop(*main);
        }
      }
    } catch (...) {
      App().ShowErrorReport(L"Summary.Mod", L"CTWKSummaryPopupDlg::OnNcLButtonDown", 878, ::GetLastError());
    }
  }
  return CTWKPopupBase::WindowProc(msg, wp, lp);
}

void CTWKSummaryPopupDlg::OnFinalMessage() { delete this; }
