#include <gtest/gtest.h>

#include "Application.h"
#include "Dialog.h"
#include "Gdi.h"
#include "Menu.h"
#include "TestWindow.h"
#include "Window.h"
#include "WindowLayerTestIds.h"
#include "WindowShape.h"

namespace {

using twktest::PumpUntil;

// Counts what reaches it and can answer colour requests in its parent's place.
class CountingWindow : public wl::CWindow {
 public:
  int messages = 0;
  int timerTicks = 0;
  UINT_PTR lastTimer = 0;
  int commands = 0;
  HBRUSH colourAnswer = nullptr;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_APP + 7) {
      ++messages;
      return 77;
    }
    return CWindow::WindowProc(msg, wp, lp);
  }
  bool OnTimer(UINT_PTR id) override {
    ++timerTicks;
    lastTimer = id;
    KillTimer(id);
    return true;
  }
  bool OnCommand(WORD, WORD, HWND) override {
    ++commands;
    return true;
  }
  bool OnReflectedMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    if (msg == WM_CTLCOLORSTATIC && colourAnswer) {
      result = reinterpret_cast<LRESULT>(colourAnswer);
      return true;
    }
    return false;
  }
};

class ProbeDialog : public wl::CDialog {
 public:
  ProbeDialog() : CDialog(IDD_TEST_DIALOG) {}
  int initCalls = 0;
  CountingWindow button;
  CountingWindow label;
  INT_PTR endWith = 0;

 protected:
  BOOL OnInitDialog() override {
    ++initCalls;
    button.SubclassDlgItem(IDC_TEST_BUTTON, Handle());
    label.SubclassDlgItem(IDC_TEST_LABEL, Handle());
    if (endWith) PostMessage(WM_APP + 1);
    return TRUE;
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_APP + 1) {
      EXPECT_EQ(button.SendMessage(WM_APP + 7), 77);
      EndDialog(endWith);
      return 0;
    }
    return CDialog::WindowProc(msg, wp, lp);
  }
};

TEST(WindowTest, CreatedWindowTakesMessagesAndTimers) {
  CountingWindow window;
  ASSERT_TRUE(window.Create(nullptr, L"probe", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 200, 100}, nullptr));
  EXPECT_EQ(wl::CWindow::FromHandle(window), &window);
  EXPECT_EQ(window.SendMessage(WM_APP + 7), 77);
  window.SetTimer(42, 10);
  EXPECT_TRUE(PumpUntil([&] { return window.timerTicks > 0; }, 2000));
  EXPECT_EQ(window.lastTimer, 42u);
  window.SendMessage(WM_COMMAND, MAKEWPARAM(9, 0), 0);
  EXPECT_EQ(window.commands, 1);
  HWND hwnd = window;
  window.DestroyWindow();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(window.IsAttached());
}

TEST(WindowTest, DestructorDestroysOwnedWindowButOnlyDetachesAttachedOne) {
  twktest::TestWindow host;
  HWND created = nullptr;
  {
    CountingWindow window;
    ASSERT_TRUE(window.Create(L"STATIC", L"x", WS_CHILD, 0, RECT{0, 0, 10, 10}, host.Handle()));
    created = window;
  }
  EXPECT_FALSE(IsWindow(created));

  HWND plain = CreateWindowExW(0, L"STATIC", L"y", WS_CHILD, 0, 0, 10, 10, host.Handle(), nullptr, nullptr, nullptr);
  auto originalProc = GetWindowLongPtrW(plain, GWLP_WNDPROC);
  {
    CountingWindow attached;
    ASSERT_TRUE(attached.Attach(plain));
    EXPECT_NE(GetWindowLongPtrW(plain, GWLP_WNDPROC), originalProc);
    CountingWindow second;
    EXPECT_FALSE(second.Attach(plain)) << "one object per window";
  }
  EXPECT_TRUE(IsWindow(plain));
  EXPECT_EQ(GetWindowLongPtrW(plain, GWLP_WNDPROC), originalProc);
  EXPECT_EQ(wl::CWindow::FromHandle(plain), nullptr);
}

TEST(DialogTest, ModalDialogSubclassesControlsAndReturnsItsResult) {
  ProbeDialog dialog;
  dialog.endWith = 1234;
  EXPECT_EQ(dialog.DoModal(nullptr), 1234);
  EXPECT_EQ(dialog.initCalls, 1);
  EXPECT_EQ(dialog.button.messages, 1);
  EXPECT_FALSE(dialog.IsAttached());
  EXPECT_FALSE(dialog.button.IsAttached());
}

TEST(DialogTest, MissingTemplateFails) {
  wl::CDialog dialog(4321);
  EXPECT_EQ(dialog.DoModal(nullptr), -1);
  EXPECT_FALSE(dialog.CreateModeless(nullptr));
}

TEST(DialogTest, ModelessDialogReflectsColourRequestsAndEndsOnCancel) {
  ProbeDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  EXPECT_EQ(dialog.initCalls, 1);
  wl::CBrush brush = wl::MakeSolidBrush(RGB(1, 2, 3));
  dialog.label.colourAnswer = brush;
  HDC dc = GetDC(dialog.label);
  LRESULT answer = dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(dialog.label.Handle()));
  ReleaseDC(dialog.label, dc);
  EXPECT_EQ(answer, reinterpret_cast<LRESULT>(brush.Get()));
  // The Cancel button ends a modeless dialog by destroying it.
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDCANCEL)));
  EXPECT_FALSE(dialog.IsAttached());
}

TEST(DialogTest, ModelessDialogTakesKeyboardThroughTheApplication) {
  ProbeDialog dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  MSG msg{dialog.GetDlgItem(IDC_TEST_EDIT), WM_KEYDOWN, VK_TAB, 0};
  EXPECT_TRUE(wl::CDialog::PreTranslateModeless(msg));
  MSG unrelated{nullptr, WM_KEYDOWN, VK_TAB, 0};
  EXPECT_FALSE(wl::CDialog::PreTranslateModeless(unrelated));
  dialog.DestroyWindow();
  EXPECT_FALSE(wl::CDialog::PreTranslateModeless(msg));
}

class IdleApplication : public wl::CApplication {
 public:
  int idleCalls = 0;
  int handledPosts = 0;

 protected:
  bool OnIdle(long count) override {
    ++idleCalls;
    if (count == 2) {
      if (handledPosts == 0) {
        PostThreadMessageW(GetCurrentThreadId(), WM_APP + 3, 0, 0);
      } else {
        PostQuitMessage(17);
      }
    }
    return count < 2;
  }
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message == WM_APP + 3) {
      ++handledPosts;
      return true;
    }
    return CApplication::PreTranslateMessage(msg);
  }
};

TEST(ApplicationTest, LoopCallsIdleHookWhileQueueIsEmptyAndEndsOnQuit) {
  IdleApplication app;
  EXPECT_EQ(wl::CApplication::Instance(), &app);
  EXPECT_EQ(app.Run(), 17);
  EXPECT_EQ(app.handledPosts, 1);
  EXPECT_EQ(app.idleCalls, 6) << "three calls per idle phase (0, 1, 2), two phases";
}

TEST(MenuTest, PopupItemsCanBeDisabledAndChecked) {
  wl::CMenu menu = wl::CMenu::CreatePopup();
  ASSERT_TRUE(menu);
  ASSERT_TRUE(menu.AppendItem(3001, L"Open"));
  ASSERT_TRUE(menu.AppendSeparator());
  ASSERT_TRUE(menu.AppendItem(3009, L"Exit"));
  EXPECT_TRUE(menu.IsItemEnabled(3009));
  menu.EnableItem(3009, false);
  EXPECT_FALSE(menu.IsItemEnabled(3009));
  menu.EnableItem(3009, true);
  EXPECT_TRUE(menu.IsItemEnabled(3009));
  EXPECT_FALSE(menu.IsItemEnabled(4000)) << "an item that does not exist";
  menu.CheckItem(3001, true);
  EXPECT_TRUE(GetMenuState(menu, 3001, MF_BYCOMMAND) & MF_CHECKED);
  HMENU handle = menu;
  { wl::CMenu moved(std::move(menu)); }
  EXPECT_FALSE(IsMenu(handle)) << "the owner destroyed it";
}

TEST(WindowShapeTest, ClientHitsBecomeCaptionOthersStay) {
  struct Case {
    LRESULT in, out;
  } cases[] = {{HTCLIENT, HTCAPTION}, {HTNOWHERE, HTNOWHERE}, {HTTRANSPARENT, HTTRANSPARENT},
               {HTCLOSE, HTCLOSE}, {HTBOTTOMRIGHT, HTBOTTOMRIGHT}, {HTCAPTION, HTCAPTION}};
  for (const auto& c : cases) EXPECT_EQ(wl::HitTestAsCaption(c.in), c.out) << c.in;
}

TEST(WindowShapeTest, RoundedRegionCutsTheCorners) {
  wl::CRgn region = wl::MakeRoundedRegion(RECT{2, 2, 771, 551}, 20, 20);
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region, 2, 2));
  EXPECT_FALSE(PtInRegion(region, 769, 549));
  EXPECT_TRUE(PtInRegion(region, 12, 2));
  EXPECT_TRUE(PtInRegion(region, 385, 275));
  EXPECT_FALSE(PtInRegion(region, 1, 100));

  CountingWindow window;
  ASSERT_TRUE(window.Create(nullptr, L"shape", WS_POPUP, 0, RECT{0, 0, 800, 600}, nullptr));
  ASSERT_TRUE(wl::SetRoundedWindowRegion(window, RECT{2, 2, 771, 551}, 20, 20));
  wl::CRgn copy(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(window, copy), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(copy, 780, 300));
}

TEST(GdiTest, SelectionIsPutBackAndBufferReachesTarget) {
  HDC screen = GetDC(nullptr);
  wl::CMemoryDC memory(screen);
  wl::CBitmap target(CreateCompatibleBitmap(screen, 20, 20));
  ReleaseDC(nullptr, screen);
  wl::CSelectObject selectTarget(memory, target);
  HGDIOBJ before = GetCurrentObject(memory, OBJ_BRUSH);
  {
    wl::CBrush red = wl::MakeSolidBrush(RGB(255, 0, 0));
    wl::CSelectObject select(memory, red);
    EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), red.Get());
  }
  EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), before);
  {
    wl::CBufferedPaint buffer(memory, RECT{5, 5, 15, 15});
    wl::CBrush blue = wl::MakeSolidBrush(RGB(0, 0, 255));
    RECT area{5, 5, 15, 15};
    FillRect(buffer, &area, blue);
    EXPECT_NE(GetPixel(memory, 10, 10), RGB(0, 0, 255)) << "not copied before the end";
  }
  EXPECT_EQ(GetPixel(memory, 10, 10), RGB(0, 0, 255));
  EXPECT_NE(GetPixel(memory, 2, 2), RGB(0, 0, 255));
}

}  // namespace
