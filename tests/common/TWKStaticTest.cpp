#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "TWKStatic.h"

namespace {

class TWKStaticTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<skintest::TestDialog>(IDD_SKIN_CONTROLS, [this](skintest::TestDialog& d) {
      ASSERT_TRUE(label.SubclassDlgItem(IDC_SKIN_LABEL, d));
      d.SetSkinBackground(RGB(0, 200, 0));
    });
    ASSERT_TRUE(dialog->Open());
  }
  // Counts pixels of the label's area that are not the dialog's green, on screen.
  int InkIn(const RECT& area) {
    twktest::PumpFor(100);
    UpdateWindow(*dialog);
    int ink = 0;
    for (int y = area.top; y < area.bottom; y += 1)
      for (int x = area.left; x < area.right; x += 1)
        if (skintest::ScreenPixel(*dialog, x, y) != RGB(0, 200, 0)) ++ink;
    return ink;
  }
  std::unique_ptr<skintest::TestDialog> dialog;
  CTWKStatic label;
};

TEST_F(TWKStaticTest, OpaqueColoursAnswerTheColourRequest) {
  label.SetBkColor(RGB(1, 2, 3));
  label.SetTextColor(RGB(4, 5, 6));
  HDC dc = GetDC(label);
  auto brush = reinterpret_cast<HBRUSH>(
      dialog->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label.Handle())));
  EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  LOGBRUSH info{};
  GetObjectW(brush, sizeof info, &info);
  EXPECT_EQ(info.lbColor, RGB(1, 2, 3));

  label.SetTransparent(true);
  brush = reinterpret_cast<HBRUSH>(
      dialog->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label.Handle())));
  EXPECT_EQ(brush, GetStockObject(HOLLOW_BRUSH));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
  ReleaseDC(label, dc);
}

TEST_F(TWKStaticTest, DefaultBackgroundColour) {
  CTWKStatic fresh;
  EXPECT_EQ(fresh.BkColor(), RGB(242, 243, 247));
  EXPECT_EQ(fresh.TextColor(), RGB(0, 0, 0));
  EXPECT_FALSE(fresh.IsTransparent());
}

TEST_F(TWKStaticTest, TransparentTextThatGetsShorterLeavesNoRemains) {
  label.SetTransparent(true);
  label.SetFont(L"Verdana", 12, true);
  label.SetText(L"WWWWWWWWWWWWWWWW");
  RECT area = label.GetWindowRectInParent();
  RECT rightHalf{(area.left + area.right) / 2, area.top, area.right, area.bottom};
  ASSERT_GT(InkIn(rightHalf), 0) << "the long text reaches the right half";
  label.SetText(L"W");
  EXPECT_EQ(InkIn(rightHalf), 0) << "nothing of the old text is left";
  EXPECT_EQ(label.GetText(), L"W");
}

TEST_F(TWKStaticTest, FontFromPointsAndBold) {
  label.SetFont(L"Verdana", 12, true);
  LOGFONTW font{};
  ASSERT_TRUE(GetObjectW(label.Font(), sizeof font, &font));
  HDC screen = GetDC(nullptr);
  int expected = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(font.lfHeight, expected);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(reinterpret_cast<HFONT>(label.SendMessage(WM_GETFONT)), label.Font());
}

}  // namespace
