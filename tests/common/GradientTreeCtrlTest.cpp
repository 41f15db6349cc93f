#include <gtest/gtest.h>

#include <cstring>

#include "GradientTreeCtrl.h"
#include "SkinColours.h"
#include "SkinTestSupport.h"

namespace {

using namespace twk::skin;

class GradientTreeCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<skintest::TestDialog>(
        IDD_SKIN_CONTROLS, [this](skintest::TestDialog& d) { ASSERT_TRUE(tree.SubclassDlgItem(IDC_SKIN_TREE, d)); });
    ASSERT_TRUE(dialog->Open());
    parent = Insert(TVI_ROOT, L"Severe threats");
    child = Insert(parent, L"Tracking cookie");
    second = Insert(TVI_ROOT, L"Registry");
  }
  HTREEITEM Insert(HTREEITEM under, const wchar_t* text) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = under;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  RECT Rect(HTREEITEM item, bool textOnly) {
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);
    tree.SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  // A client point of the item's check box or expand button, found by hit testing.
  POINT PointOn(HTREEITEM item, UINT flag) {
    RECT text = Rect(item, true);
    for (int x = 0; x < text.left; ++x) {
      TVHITTESTINFO hit{};
      hit.pt = POINT{x, (text.top + text.bottom) / 2};
      if (reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))) == item &&
          (hit.flags & flag)) {
        return hit.pt;
      }
    }
    ADD_FAILURE() << "no such part";
    return POINT{};
  }
  void Press(POINT at) { tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y)); }
  bool Expanded(HTREEITEM item) {
    return tree.SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED;
  }

  std::unique_ptr<skintest::TestDialog> dialog;
  CGradientTreeCtrl tree;
  HTREEITEM parent{}, child{}, second{};
};

TEST_F(GradientTreeCtrlTest, ItemsAre24PixelsHigh) {
  EXPECT_EQ(tree.SendMessage(TVM_GETITEMHEIGHT), 24);
  RECT first = Rect(parent, false);
  RECT next = Rect(second, false);
  EXPECT_EQ(next.top - first.top, 24);
}

TEST_F(GradientTreeCtrlTest, CheckBoxClickTogglesAndTellsTheOwner) {
  int calls = 0;
  HTREEITEM reported = nullptr;
  POINT where{};
  tree.SetCheckClickOwner([&](POINT p, HTREEITEM item) {
    ++calls;
    reported = item;
    where = p;
  });
  POINT box = PointOn(second, TVHT_ONITEMSTATEICON);
  EXPECT_FALSE(tree.GetCheck(second));
  Press(box);
  EXPECT_TRUE(tree.GetCheck(second));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(reported, second);
  EXPECT_EQ(where.x, box.x);
  Press(box);
  EXPECT_FALSE(tree.GetCheck(second));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(GetFocus(), tree.Handle()) << "a press takes the focus first";
}

TEST_F(GradientTreeCtrlTest, ButtonExpandsAndCollapsesTextSelects) {
  POINT button = PointOn(parent, TVHT_ONITEMBUTTON);
  EXPECT_FALSE(Expanded(parent));
  Press(button);
  EXPECT_TRUE(Expanded(parent));
  Press(button);
  EXPECT_FALSE(Expanded(parent));
  RECT text = Rect(second, true);
  Press(POINT{text.left + 3, (text.top + text.bottom) / 2});
  EXPECT_EQ(reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_GETNEXTITEM, TVGN_CARET)), second);
  EXPECT_FALSE(tree.GetCheck(second)) << "selecting does not toggle the check";
}

TEST_F(GradientTreeCtrlTest, DoubleClickReachesTheOwner) {
  int doubleClicks = 0;
  dialog->hook = [&](UINT msg, WPARAM, LPARAM lp, LRESULT&) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == static_cast<UINT>(NM_DBLCLK)) ++doubleClicks;
    return false;
  };
  RECT text = Rect(second, true);
  LPARAM at = MAKELPARAM(text.left + 3, (text.top + text.bottom) / 2);
  Press(POINT{text.left + 3, (text.top + text.bottom) / 2});
  tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  EXPECT_EQ(doubleClicks, 1);
  dialog->hook = nullptr;
}

TEST_F(GradientTreeCtrlTest, RowsArePaintedWithTheGradient) {
  tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(parent));
  skintest::Picture picture = skintest::Picture::OfClient(tree);
  RECT row = Rect(second, false);
  RECT client = tree.GetClientRect();
  int x = client.right - 3;
  EXPECT_EQ(picture.At(x, row.top), TreeRowColour(0));
  EXPECT_EQ(picture.At(x, row.top + 12), TreeRowColour(8));
  EXPECT_EQ(picture.At(x, row.bottom - 1), TreeRowColour(15));
  RECT selected = Rect(parent, false);
  EXPECT_EQ(picture.At(x, selected.top + 5), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(picture.At(x, client.bottom - 1), RGB(255, 255, 255)) << "below the last item";
}

}  // namespace
