#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "TWKTipComboBox.h"
#include "TWKTipStaticCtrl.h"

namespace {

using twktest::PumpUntil;

class TipControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetCursorPos(&saved);
    dialog = std::make_unique<skintest::TestDialog>(IDD_SKIN_CONTROLS, [this](skintest::TestDialog& d) {
      ASSERT_TRUE(combo.SubclassDlgItem(IDC_SKIN_COMBO, d));
      ASSERT_TRUE(label.SubclassDlgItem(IDC_SKIN_TIPLABEL, d));
    });
    ASSERT_TRUE(dialog->Open());
    combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Every day at 10:00 AM, and on start-up"));
    combo.SendMessage(CB_SETCURSEL, 0);
  }
  void TearDown() override {
    SetCursorPos(saved.x, saved.y);
    dialog.reset();
  }
  void Hover(wl::CWindow& control, POINT client) {
    POINT screen = client;
    ClientToScreen(control, &screen);
    SetCursorPos(screen.x, screen.y);
    control.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  }
  std::wstring TipText(HWND tip, HWND owner) {
    wchar_t text[256] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(owner);
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return text;
  }
  POINT saved{};
  std::unique_ptr<skintest::TestDialog> dialog;
  CTWKTipComboBox combo;
  CTWKTipStaticCtrl label;
};

TEST_F(TipControlsTest, ComboShowsItsTextWhileOverAndHidesAfterLeaving) {
  Hover(combo, POINT{5, 5});
  EXPECT_TRUE(combo.Tip().IsShown());
  EXPECT_EQ(TipText(combo.Tip().Window(), combo), L"Every day at 10:00 AM, and on start-up");
  EXPECT_TRUE(GetWindowLongW(combo.Tip().Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetCursorPos(5, 1000);
  EXPECT_TRUE(PumpUntil([&] { return !combo.Tip().IsShown(); }, 2000)) << "the 80 ms check hides it";
}

TEST_F(TipControlsTest, ComboDropButtonAreaShowsNoTip) {
  RECT client = combo.GetClientRect();
  Hover(combo, POINT{client.right - 2, 5});
  EXPECT_FALSE(combo.Tip().IsShown());
  RECT area = CTrackedTip::TextArea(combo);
  EXPECT_EQ(area.right, client.right - GetSystemMetrics(10) - 2);
}

TEST_F(TipControlsTest, StaticShowsItsTextWithTitle) {
  label.SetTipTitle(L"Scan now");
  EXPECT_TRUE(GetWindowLongW(label, GWL_STYLE) & SS_NOTIFY);
  Hover(label, POINT{3, 3});
  EXPECT_TRUE(label.Tip().IsShown());
  EXPECT_EQ(TipText(label.Tip().Window(), label), L"A rather long tip label text");
  SetCursorPos(5, 1000);
  EXPECT_TRUE(PumpUntil([&] { return !label.Tip().IsShown(); }, 2000));
}

}  // namespace
