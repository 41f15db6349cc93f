// The main window in the test process: shape, close and minimise, navigation, the
// guarded requests, the overlay around modal dialogs and the lost service.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "MainFrame.h"
#include "PrivateMessages.h"
#include "Resource.h"
#include "TarnwickView.h"
#include "TestWindow.h"
#include "dialogs/TWKTranslucentDlg.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = &apptest::AppWithMainWindow();
    apptest::ResetFlags(*app);
    frame = app->MainFrame();
    ASSERT_NE(frame, nullptr);
    view = frame->View();
    ASSERT_NE(view, nullptr);
    ::SetWindowPos(*frame, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                                    SWP_SHOWWINDOW);
  }
  void Send(UINT msg, WPARAM wp = 0) {
    frame->PostMessage(msg, wp);
    twktest::PumpFor(50);
  }

  apptest::ScratchSettings settings;
  CTarnwickApp* app = nullptr;
  CMainFrame* frame = nullptr;
  CTarnwickView* view = nullptr;
};

TEST_F(MainWindowTest, FrameHasTheRoundedShapeAndTheExactTitle) {
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(*frame, shape), ERROR);
  HRGN expected = CreateRoundRectRgn(2, 2, 771, 551, 20, 20);
  RECT box{}, expectedBox{};
  GetRgnBox(shape, &box);
  GetRgnBox(expected, &expectedBox);
  EXPECT_TRUE(EqualRect(&box, &expectedBox));
  // Rounded corners: the corner points are cut, the edges' middles are inside.
  EXPECT_FALSE(PtInRegion(shape, 3, 3));
  EXPECT_FALSE(PtInRegion(shape, 768, 548));
  EXPECT_TRUE(PtInRegion(shape, 385, 3));
  EXPECT_TRUE(PtInRegion(shape, 3, 275));
  DeleteObject(shape);
  DeleteObject(expected);
  RECT window{};
  GetWindowRect(*frame, &window);
  EXPECT_EQ(window.right - window.left, 771);
  EXPECT_EQ(window.bottom - window.top, 551);
  EXPECT_EQ(GetWindowLongW(*frame, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(frame->GetText(), app->MainWindowTitle(L"Tarnwick Pro"));
  EXPECT_EQ(frame->GetText().rfind(L"Tarnwick Pro 1.", 0), 0u) << frame->GetText().c_str();
}

TEST_F(MainWindowTest, SheetHasSixPagesAndItsTabStripIsHidden) {
  EXPECT_EQ(view->Sheet().PageCount(), 6);
  EXPECT_FALSE(IsWindowVisible(view->Sheet().GetTabControl()));
  RECT sheet = view->Sheet().GetWindowRectInParent();
  EXPECT_EQ(sheet.left, 105);
  EXPECT_EQ(sheet.top, 58);
}

TEST_F(MainWindowTest, CloseHidesAndMinimiseMinimises) {
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(IsWindowVisible(*frame));
  EXPECT_TRUE(IsWindow(*frame));
  ShowWindow(*frame, SW_SHOWNA);
  view->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_MINIMISE, BN_CLICKED), (LPARAM)view->GetDlgItem(IDC_MINIMISE));
  EXPECT_TRUE(twktest::PumpUntil([&] { return IsIconic(*frame) != FALSE; }, 2000));
  ShowWindow(*frame, SW_SHOWNOACTIVATE);
  EXPECT_FALSE(IsIconic(*frame));
}

TEST_F(MainWindowTest, NavigationButtonsMarkOneAndShowItsPage) {
  struct Row {
    int button, page;
  };
  for (Row row : {Row{IDC_NAV_STATUS, kStatusPage}, Row{IDC_NAV_SETTINGS, kOptionsPage}, Row{IDC_NAV_REVIEW, kReviewPage}}) {
    SCOPED_TRACE(row.button);
    view->PostMessage(WM_COMMAND, MAKEWPARAM(row.button, BN_CLICKED), (LPARAM)view->GetDlgItem(row.button));
    twktest::PumpFor(50);
    EXPECT_EQ(view->ActivePage(), row.page);
    EXPECT_EQ(view->SelectedNavButton(), row.button);
    EXPECT_FALSE(IsWindowEnabled(view->GetDlgItem(row.button)));
    for (int other : {IDC_NAV_SCAN, IDC_NAV_REVIEW, IDC_NAV_STATUS, IDC_NAV_SETTINGS}) {
      if (other != row.button) {
        EXPECT_TRUE(IsWindowEnabled(view->GetDlgItem(other))) << other;
      }
    }
  }
  view->SelectNavButton(1580);  // not a navigation button: nothing changes
  EXPECT_EQ(view->SelectedNavButton(), IDC_NAV_REVIEW);
}

TEST_F(MainWindowTest, NavigationDuringAScanAsksTheFrameToStopFirst) {
  app->scanInProgress = 1;
  view->SelectNavButton(IDC_NAV_SCAN);
  view->ShowPage(kScanPage);
  int stopRequests = 0;
  int destination = 0;
  // The stop-recommended dialog answers "keep scanning": the scan page stays.
  apptest::PressWhenOpen(1490, [&](HWND) { ++stopRequests, destination = view->pendingNavigation; });
  view->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_NAV_STATUS, BN_CLICKED), (LPARAM)view->GetDlgItem(IDC_NAV_STATUS));
  twktest::PumpUntil([&] { return stopRequests > 0; }, 3000);
  twktest::PumpFor(50);
  EXPECT_EQ(stopRequests, 1);
  EXPECT_EQ(destination, kGoStatus);
  EXPECT_EQ(view->ActivePage(), kScanPage);
  EXPECT_EQ(app->scanInProgress, 1);
}

TEST_F(MainWindowTest, CompulsoryScanFromTheReviewPageMarksScanAndShowsTheScanPage) {
  view->SelectNavButton(IDC_NAV_REVIEW);
  view->ShowPage(kReviewPage);
  twk::WriteSetting(twk::setting::kDefaultScan, L"Quick");
  Send(WM_TWK_COMPULSORYSCAN);
  EXPECT_EQ(view->ActivePage(), kScanPage);
  EXPECT_EQ(view->SelectedNavButton(), IDC_NAV_SCAN);
  EXPECT_EQ(app->compulsoryScan, 1);
  EXPECT_EQ(app->scanType, 0);
  EXPECT_EQ(app->autoScanStarting, 0);
}

TEST_F(MainWindowTest, RequestsWhileTheUserIsBusyAreDropped) {
  int CTarnwickApp::*flags[] = {&CTarnwickApp::messageBoxShown, &CTarnwickApp::overlayShown,
                                &CTarnwickApp::startupDialogShown, &CTarnwickApp::downloadDialogBusy};
  for (auto flag : flags) {
    view->SelectNavButton(IDC_NAV_REVIEW);
    view->ShowPage(kReviewPage);
    SetWindowPos(*frame, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    app->*flag = 1;
    Send(WM_TWK_COMPULSORYSCAN);
    EXPECT_EQ(view->ActivePage(), kReviewPage);
    RECT window{};
    GetWindowRect(*frame, &window);
    EXPECT_GT(window.left, 0) << "the window is centred and shown all the same";
    app->*flag = 0;
  }
  // A scan already running: shown, nothing started.
  app->scanInProgress = 1;
  Send(WM_TWK_COMPULSORYSCAN);
  EXPECT_EQ(view->ActivePage(), kReviewPage);
}

TEST_F(MainWindowTest, AlertSettingsShowTheOptionsPage) {
  view->SelectNavButton(IDC_NAV_STATUS);
  view->ShowPage(kStatusPage);
  Send(WM_TWK_ALERTSETTINGS);
  EXPECT_EQ(view->ActivePage(), kOptionsPage);
  EXPECT_EQ(view->SelectedNavButton(), IDC_NAV_SETTINGS);
}

TEST_F(MainWindowTest, OverlayExistsExactlyWhileAModalDialogOfTheViewIsOpen) {
  HWND overlay = nullptr;
  int shownFlag = 0;
  LONG exStyle = 0;
  BYTE alpha = 0;
  RECT overlayRect{};
  apptest::PressWhenOpen(IDC_ABOUT_OK, [&](HWND) {
    overlay = view->OverlayWindow();
    shownFlag = app->overlayShown;
    exStyle = GetWindowLongW(overlay, GWL_EXSTYLE);
    GetLayeredWindowAttributes(overlay, nullptr, &alpha, nullptr);
    GetWindowRect(overlay, &overlayRect);
  });
  view->OnShowAboutDialog();
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(shownFlag, 1);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);
  EXPECT_EQ(alpha, CTWKTranslucentDlg::kAlpha);
  RECT viewRect{};
  GetWindowRect(*view, &viewRect);
  EXPECT_EQ(overlayRect.left, viewRect.left);
  EXPECT_EQ(overlayRect.top, viewRect.top);
  EXPECT_EQ(overlayRect.right - overlayRect.left, 771);
  EXPECT_EQ(app->overlayShown, 0);
  EXPECT_EQ(view->OverlayWindow(), nullptr);
  EXPECT_FALSE(IsWindow(overlay));
}

TEST_F(MainWindowTest, LostServiceWhileIdleShowsItsMessageOverTheOverlay) {
  std::wstring text;
  bool overlaid = false;
  apptest::PressWhenOpen(1013, [&](HWND box) {
    wchar_t buffer[256] = {};
    GetDlgItemTextW(box, 1011, buffer, 256);
    text = buffer;
    overlaid = view->OverlayWindow() != nullptr;
  });
  view->OnNotifyStateChange(false);
  EXPECT_EQ(text, app->Text(19985));
  EXPECT_FALSE(text.empty());
  EXPECT_TRUE(overlaid);
  EXPECT_EQ(app->messageBoxShown, 0);
}

TEST_F(MainWindowTest, ReviewWithARecordedScanAndNothingFoundRecommendsAScan) {
  twk::WriteSetting(twk::setting::kScannedCompleteTime, L"07/22/2010 06:56:17 AM");
  view->SelectNavButton(IDC_NAV_STATUS);
  view->ShowPage(kStatusPage);
  frame->scheduleTimerEnabled = 1;
  bool opened = false;
  apptest::PressWhenOpen(1013, [&](HWND box) { opened = GetDlgItem(box, 1519) != nullptr; });
  view->OnShowReviewPage();
  EXPECT_TRUE(opened);
  EXPECT_EQ(view->ActivePage(), kStatusPage);
  EXPECT_EQ(frame->scheduleTimerEnabled, 0);
}

TEST_F(MainWindowTest, ClosedMessageOfAReplacedSummaryKeepsTheCurrentOne) {
  twktest::TestWindow older, current;
  frame->summaryPopup = current.Handle();
  frame->SendMessage(WM_TWK_CLOSESUMMARY, 0, reinterpret_cast<LPARAM>(older.Handle()));
  EXPECT_EQ(frame->summaryPopup, current.Handle());
  frame->SendMessage(WM_TWK_CLOSESUMMARY, 0, reinterpret_cast<LPARAM>(current.Handle()));
  EXPECT_EQ(frame->summaryPopup, nullptr);
}

TEST_F(MainWindowTest, CompulsoryScanWhileTheFrameHasTheFocusIsDropped) {
  view->SelectNavButton(IDC_NAV_REVIEW);
  view->ShowPage(kReviewPage);
  // The frame passes the focus on to its view; without one for a moment it keeps it.
  frame->SetActiveView(nullptr);
  SetFocus(*frame);
  frame->SetActiveView(view);
  ASSERT_EQ(GetFocus(), frame->Handle());
  Send(WM_TWK_COMPULSORYSCAN);
  EXPECT_EQ(view->ActivePage(), kReviewPage);
  SetFocus(nullptr);
}

}  // namespace
