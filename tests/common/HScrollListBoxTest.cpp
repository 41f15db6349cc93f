#include <gtest/gtest.h>

#include "HScrollListBox.h"
#include "SkinTestSupport.h"

namespace {

TEST(HScrollListBoxTest, ExtentFollowsTheWidestStringBothWays) {
  CHScrollListBox list;
  skintest::TestDialog dialog(IDD_SKIN_CONTROLS,
                              [&](skintest::TestDialog& d) { ASSERT_TRUE(list.SubclassDlgItem(IDC_SKIN_LISTBOX, d)); });
  ASSERT_TRUE(dialog.Open());
  const std::wstring shortText = L"C:\\a";
  const std::wstring wide = L"C:\\Documents and Settings\\All Users\\Application Data\\somewhere";
  const std::wstring middle = L"C:\\Program Files\\Common";
  EXPECT_EQ(list.Extent(), 0);
  list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shortText.c_str()));
  EXPECT_EQ(list.Extent(), list.TextWidth(shortText));
  list.SendMessage(LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  EXPECT_EQ(list.Extent(), list.TextWidth(wide));
  list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(middle.c_str()));
  EXPECT_EQ(list.Extent(), list.TextWidth(wide)) << "a narrower string does not lower it";
  list.SendMessage(LB_DELETESTRING, 0);  // the widest
  EXPECT_EQ(list.Extent(), list.TextWidth(middle));
  list.SendMessage(LB_RESETCONTENT);
  EXPECT_EQ(list.Extent(), 0);
  // Plain width + 3 without tab stops.
  wl::CClientDC dc(list);
  wl::CSelectObject select(dc, reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT)));
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  EXPECT_EQ(list.TextWidth(wide), size.cx + 3);
}

}  // namespace
