#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "TWKButton.h"

namespace {

using skintest::Picture;
using twktest::PumpUntil;

class TWKButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<skintest::TestDialog>(IDD_SKIN_CONTROLS, [this](skintest::TestDialog& d) {
      ASSERT_TRUE(button.SubclassDlgItem(IDC_SKIN_BUTTON, d));
      ASSERT_TRUE(check.SubclassDlgItem(IDC_SKIN_CHECK, d));
    });
    ASSERT_TRUE(dialog->Open());
    GetCursorPos(&savedCursor);
  }
  void TearDown() override {
    SetCursorPos(savedCursor.x, savedCursor.y);
    dialog.reset();
  }

  POINT CentreOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  // Puts the pointer on the screen point and tells the button, as the system would.
  void PointerTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    POINT client = screen;
    ScreenToClient(button, &client);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  }
  void GiveImages() {
    button.SetFlat(true);
    button.SetAlignment(3);
    for (auto state : {CTWKButton::State::In, CTWKButton::State::Out, CTWKButton::State::Focus}) {
      button.SetColour(state, CTWKButton::Part::Background, RGB(0, 255, 0));
    }
    button.SetBitmaps(skintest::FramedSquare(RGB(255, 0, 0)), RGB(255, 255, 255),
                      skintest::FramedSquare(RGB(0, 0, 255)), RGB(255, 255, 255));
  }

  std::unique_ptr<skintest::TestDialog> dialog;
  CTWKButton button;
  CTWKButton check;
  POINT savedCursor{};
};

TEST_F(TWKButtonTest, AttachingMakesItOwnerDrawnWithDefaults) {
  EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(button.GetColour(CTWKButton::State::Out, CTWKButton::Part::Background), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(button.GetColour(CTWKButton::State::Focus, CTWKButton::Part::Text), GetSysColor(COLOR_BTNTEXT));
  EXPECT_FALSE(button.IsFlat());
  EXPECT_EQ(button.Alignment(), 0);
}

TEST_F(TWKButtonTest, ImagesAreDrawnWithTheTransparentColourLeftOut) {
  GiveImages();
  Picture face = Picture::OfClient(button);
  EXPECT_EQ(face.At(10, 10), RGB(255, 0, 0)) << "normal image at the top-left corner";
  EXPECT_EQ(face.At(1, 1), RGB(0, 255, 0)) << "white is transparent: the background shows";
  EXPECT_EQ(face.At(face.Width() - 2, face.Height() - 2), RGB(0, 255, 0));
}

TEST_F(TWKButtonTest, HoverImageOnlyWhilePointerIsOver) {
  GiveImages();
  PointerTo(CentreOf(button));
  EXPECT_TRUE(button.IsPointerOver());
  EXPECT_EQ(Picture::OfClient(button).At(10, 10), RGB(0, 0, 255));

  // Leaving at once and far away: the leave notification still clears it.
  SetCursorPos(savedCursor.x > 900 ? 5 : 1200, 1000);
  EXPECT_TRUE(PumpUntil([&] { return !button.IsPointerOver(); }, 3000));
  EXPECT_EQ(Picture::OfClient(button).At(10, 10), RGB(255, 0, 0));

  // In again, then out by a move over another window.
  PointerTo(CentreOf(button));
  EXPECT_TRUE(button.IsPointerOver());
  PointerTo(CentreOf(check));
  EXPECT_FALSE(button.IsPointerOver());
  EXPECT_EQ(Picture::OfClient(button).At(10, 10), RGB(255, 0, 0));
}

TEST_F(TWKButtonTest, NoHoverTrackingForButtonsThatAreNotFlatOrWhileHeldDown) {
  GiveImages();
  button.SetFlat(false);
  PointerTo(CentreOf(button));
  EXPECT_FALSE(button.IsPointerOver());
  button.SetFlat(true);
  POINT client{5, 5};
  SetCursorPos(CentreOf(button).x, CentreOf(button).y);
  button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  EXPECT_FALSE(button.IsPointerOver()) << "pressed elsewhere and dragged in: not marked";
}

TEST_F(TWKButtonTest, FocusAndDeactivationClearTheMark) {
  GiveImages();
  PointerTo(CentreOf(button));
  ASSERT_TRUE(button.IsPointerOver());
  button.SendMessage(WM_KILLFOCUS);
  EXPECT_FALSE(button.IsPointerOver());
  PointerTo(CentreOf(button));
  ASSERT_TRUE(button.IsPointerOver());
  button.SendMessage(WM_CANCELMODE);
  EXPECT_FALSE(button.IsPointerOver());
}

TEST_F(TWKButtonTest, CheckBoxModeTogglesOnEachClickAndParentHearsIt) {
  check.SetCheckBoxMode(true);
  int heard = 0;
  bool checkedWhenHeard = false;
  dialog->onCommand = [&](WORD id, WORD code) {
    if (id == IDC_SKIN_CHECK && code == BN_CLICKED) {
      ++heard;
      checkedWhenHeard = check.GetCheck();
    }
  };
  EXPECT_FALSE(check.GetCheck());
  for (int i = 1; i <= 3; ++i) {
    SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_EQ(check.GetCheck(), i % 2 == 1) << "after click " << i;
    EXPECT_EQ(heard, i);
    EXPECT_EQ(checkedWhenHeard, i % 2 == 1) << "the check toggles before the parent hears the click";
  }
  dialog->onCommand = nullptr;
}

TEST_F(TWKButtonTest, StateColoursAndTextColour) {
  button.SetText(L"");
  button.SetColour(CTWKButton::State::Out, CTWKButton::Part::Background, RGB(10, 20, 30));
  button.SetColour(CTWKButton::State::Focus, CTWKButton::Part::Background, RGB(70, 80, 90));
  button.SetColour(CTWKButton::State::In, CTWKButton::Part::Background, RGB(200, 100, 50));
  button.SetFlat(true);
  EXPECT_EQ(Picture::OfClient(button).At(10, 10), RGB(10, 20, 30));
  PointerTo(CentreOf(button));
  EXPECT_EQ(Picture::OfClient(button).At(10, 10), RGB(200, 100, 50));
}

TEST_F(TWKButtonTest, DisabledCaptionUsesItsOwnColourWhenOneIsSet) {
  auto countColour = [](const Picture& picture, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) n += picture.At(x, y) == colour ? 1 : 0;
    }
    return n;
  };
  button.SetText(L"MMMM");
  button.SetFlat(true);
  for (auto state : {CTWKButton::State::In, CTWKButton::State::Out, CTWKButton::State::Focus}) {
    button.SetColour(state, CTWKButton::Part::Background, RGB(0, 0, 0));
  }
  EnableWindow(button, FALSE);
  EXPECT_GT(countColour(Picture::OfClient(button), GetSysColor(COLOR_GRAYTEXT)), 0) << "grey by default";
  button.SetDisabledTextColour(RGB(250, 251, 252));
  const Picture marked = Picture::OfClient(button);
  EXPECT_GT(countColour(marked, RGB(250, 251, 252)), 0);
  EXPECT_EQ(countColour(marked, GetSysColor(COLOR_GRAYTEXT)), 0);
  EnableWindow(button, TRUE);
}

TEST_F(TWKButtonTest, TransparentButtonShowsTheParentsBackground) {
  dialog->SetSkinBackground(RGB(0, 160, 0));
  button.SetText(L"");
  button.SetFlat(true);
  button.SetTransparent(true);
  EXPECT_EQ(Picture::OfClient(button).At(3, 3), RGB(0, 160, 0));
  button.SetTransparent(false);
  EXPECT_EQ(Picture::OfClient(button).At(3, 3), button.GetColour(CTWKButton::State::Out, CTWKButton::Part::Background));
}

TEST_F(TWKButtonTest, ToolTipCarriesItsText) {
  button.SetTooltipText(L"Start a quick scan");
  HWND tip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), [](HWND hwnd, LPARAM found) {
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(hwnd, GW_OWNER) != nullptr) {
      *reinterpret_cast<HWND*>(found) = hwnd;
      return FALSE;
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr);
  wchar_t text[64] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = dialog->Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(button.Handle());
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"Start a quick scan");
  button.SetTooltipText(L"Stop");
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"Stop");
}

TEST_F(TWKButtonTest, HandCursorWhileOver) {
  SetCursorPos(CentreOf(button).x, CentreOf(button).y);
  button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace
