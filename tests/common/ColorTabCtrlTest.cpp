#include <gtest/gtest.h>

#include "ColorTabCtrl.h"
#include "SkinTestSupport.h"

namespace {

class ColorTabCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<skintest::TestDialog>(
        IDD_SKIN_CONTROLS, [this](skintest::TestDialog& d) { ASSERT_TRUE(tabs.SubclassDlgItem(IDC_SKIN_TAB, d)); });
    ASSERT_TRUE(dialog->Open());
    for (int i = 0; i < 4; ++i) {
      wchar_t text[] = L"Tab 0";
      text[4] = static_cast<wchar_t>(L'0' + i);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      tabs.SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
  }
  int Selected() { return static_cast<int>(tabs.SendMessage(TCM_GETCURSEL)); }
  void Click(int index) {
    RECT rect{};
    tabs.SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    tabs.SendMessage(WM_LBUTTONUP, 0, at);
  }
  std::unique_ptr<skintest::TestDialog> dialog;
  CColorTabCtrl tabs;
};

TEST_F(ColorTabCtrlTest, OwnerDrawnWithItsColours) {
  EXPECT_TRUE(GetWindowLongW(tabs, GWL_STYLE) & TCS_OWNERDRAWFIXED);
  tabs.SetColours(RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 200), RGB(255, 255, 255));
  skintest::Picture picture = skintest::Picture::OfClient(tabs);
  RECT other{};
  tabs.SendMessage(TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&other));
  EXPECT_EQ(picture.At(other.left + 3, other.top + 3), RGB(0, 0, 200));
}

TEST_F(ColorTabCtrlTest, DisabledTabIsNotSelectedByClick) {
  tabs.EnableTab(2, false);
  Click(2);
  EXPECT_EQ(Selected(), 0);
  Click(1);
  EXPECT_EQ(Selected(), 1);
  tabs.EnableTab(2, true);
  Click(2);
  EXPECT_EQ(Selected(), 2);
}

TEST_F(ColorTabCtrlTest, KeyboardSkipsDisabledTabs) {
  tabs.EnableTab(1, false);
  tabs.EnableTab(2, false);
  tabs.SendMessage(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(Selected(), 3);
  tabs.SendMessage(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(Selected(), 3) << "nothing enabled beyond the last";
  tabs.SendMessage(WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ(Selected(), 0);
  EXPECT_FALSE(tabs.SelectTab(1));
  EXPECT_EQ(Selected(), 0);
}

}  // namespace
