// The small pop-ups: the summary's slide, its close message and its icons; the stop
// and scan recommendations' results; the warning's headline; the about box's edition.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "PrivateMessages.h"
#include "Resource.h"
#include "TestWindow.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/TWKChoiceDialogs.h"
#include "dialogs/TWKSummaryPopupDlg.h"
#include "dialogs/TWKWarningDlg.h"

namespace {

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

class SummaryPopupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::TheApp();
    owner.onMessage = [this](HWND, UINT msg, WPARAM, LPARAM lp, bool& handled) -> LRESULT {
      if (msg == WM_TWK_CLOSESUMMARY) ++closed, closedPopup = reinterpret_cast<HWND>(lp), handled = true;
      return 0;
    };
    ScanResultsState counts;
    counts.cookiesFound = 3;
    counts.filesFound = 0;
    counts.itemsFound = 3;
    popup = new CTWKSummaryPopupDlg(owner.Handle());
    ASSERT_TRUE(popup->Open(counts));
    hwnd = popup->Handle();
  }
  bool WaitFullyShown() {
    return twktest::PumpUntil([&] { return IsWindow(hwnd) && popup->FullyShown(); }, 5000);
  }
  twktest::TestWindow owner;
  CTWKSummaryPopupDlg* popup = nullptr;  // deletes itself
  HWND hwnd = nullptr;
  int closed = 0;
  HWND closedPopup = nullptr;
};

TEST_F(SummaryPopupTest, RisesByStepsAndStopsExactlyAboveTheWorkAreasBottom) {
  const RECT work = WorkArea();
  RECT first = WindowRect(hwnd);
  EXPECT_EQ(first.top, work.bottom) << "starts hidden below the work area";
  twktest::PumpUntil([&] { return WindowRect(hwnd).top < work.bottom; }, 2000);
  RECT moved = WindowRect(hwnd);
  EXPECT_EQ((work.bottom - moved.top) % CTWKSummaryPopupDlg::kStep, 0);
  ASSERT_TRUE(WaitFullyShown());
  RECT shown = WindowRect(hwnd);
  EXPECT_EQ(shown.top, work.bottom - 366);
  EXPECT_EQ(shown.bottom, work.bottom);
  EXPECT_EQ(shown.left, work.right - 267);
  EXPECT_EQ(shown.right - shown.left, 257);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Fully shown it stays.
  twktest::PumpFor(100);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(closed, 0);
  PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(1248, BN_CLICKED), (LPARAM)GetDlgItem(hwnd, 1248));
  EXPECT_TRUE(twktest::PumpUntil([&] { return closed == 1; }, 5000));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(closedPopup, hwnd);
}

TEST_F(SummaryPopupTest, MovedWhileFullyShownItGoesAwayAtOnce) {
  ASSERT_TRUE(WaitFullyShown());
  RECT shown = WindowRect(hwnd);
  SetWindowPos(hwnd, nullptr, shown.left - 100, shown.top - 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(twktest::PumpUntil([&] { return closed == 1; }, 200));
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(SummaryPopupTest, ShowsItsCountsAndTotal) {
  wchar_t text[128] = {};
  GetDlgItemTextW(hwnd, 1135, text, 128);
  EXPECT_STREQ(text, L"3");
  GetDlgItemTextW(hwnd, 1138, text, 128);
  EXPECT_STREQ(text, L"0");
  GetDlgItemTextW(hwnd, 1144, text, 128);
  EXPECT_NE(std::wstring(text).find(L"3"), std::wstring::npos);
  EXPECT_EQ(std::wstring(text).find(L"%d"), std::wstring::npos);
  EXPECT_EQ(CTWKSummaryPopupDlg::CategoryImage(0), 0);
  EXPECT_EQ(CTWKSummaryPopupDlg::CategoryImage(5), 2);
  // Cleans up without waiting for the slide.
  DestroyWindow(hwnd);
}

TEST(ChoicePopups, StopRecommendedEndsWithTheChoice) {
  apptest::TheApp();
  struct Row {
    int pressed, expected;
  };
  for (Row row : {Row{1489, 1489}, Row{1490, 1490}, Row{1013, 2}}) {
    apptest::PressWhenOpen(row.pressed);
    CTWKStopRecommendedDlg dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), row.expected);
  }
}

TEST(ChoicePopups, ScanRecommendedAsksTheMainWindowForAScan) {
  CTarnwickApp& app = apptest::AppWithMainWindow();
  MSG stale;
  while (PeekMessageW(&stale, *app.GetMainWindow(), WM_TWK_COMPULSORYSCAN, WM_TWK_COMPULSORYSCAN, PM_REMOVE)) {
  }
  apptest::PressWhenOpen(1519);
  CTWKScanRecommendedDlg dialog;
  EXPECT_EQ(dialog.DoModal(nullptr), 1);
  MSG posted;
  EXPECT_TRUE(PeekMessageW(&posted, *app.GetMainWindow(), WM_TWK_COMPULSORYSCAN, WM_TWK_COMPULSORYSCAN, PM_REMOVE));
  apptest::PressWhenOpen(1013);
  CTWKScanRecommendedDlg again;
  EXPECT_EQ(again.DoModal(nullptr), 2);
}

TEST(WarningPopup, HeadlineCountFollowsTheExitFlag) {
  EXPECT_EQ(CTWKWarningDlg::HeadlineCount(1, L"4", 9), L"4");
  EXPECT_EQ(CTWKWarningDlg::HeadlineCount(1, L"0", 9), L"");
  EXPECT_EQ(CTWKWarningDlg::HeadlineCount(1, L"", 9), L"");
  EXPECT_EQ(CTWKWarningDlg::HeadlineCount(0, L"4", 9), L"9");
  EXPECT_EQ(CTWKWarningDlg::HeadlineCount(0, L"4", 0), L"");
}

TEST(WarningPopup, ScanButtonShowsTheMainWindowAndAsksForAScan) {
  CTarnwickApp& app = apptest::AppWithMainWindow();
  apptest::ScratchSettings settings;
  apptest::ResetFlags(app);
  app.startupDialogShown = 1;
  app.results.itemsFound = 2;
  std::wstring headline;
  apptest::PressWhenOpen(1014, [&](HWND box) {
    wchar_t text[128] = {};
    GetDlgItemTextW(box, 1074, text, 128);
    headline = text;
  });
  CTWKWarningDlg warning;
  warning.DoModal(nullptr);
  EXPECT_EQ(app.startupDialogShown, 0);
  EXPECT_NE(headline.find(L"2 "), std::wstring::npos) << headline.c_str();
  MSG posted;
  EXPECT_TRUE(PeekMessageW(&posted, *app.GetMainWindow(), WM_TWK_COMPULSORYSCAN, WM_TWK_COMPULSORYSCAN, PM_REMOVE));
  apptest::ResetFlags(app);
}

TEST(AboutBox, EditionNamesMonthAndYear) {
  CTarnwickApp& app = apptest::TheApp();
  std::wstring expected = app.Text(117);
  expected.replace(expected.find(L"~MONTH~"), 7, app.Text(110));
  expected.replace(expected.find(L"~YEAR~"), 6, app.Text(116));
  EXPECT_EQ(CAboutDlg::EditionText(), expected);
  EXPECT_EQ(CAboutDlg::EditionText().find(L'~'), std::wstring::npos);
}

}  // namespace
