// The skinned message box: results by buttons code, the close button, icons, width
// classes, the shown flag and where it stands.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "dialogs/TWKMessageBox.h"

namespace {

bool Visible(HWND box, int id) { return IsWindowVisible(GetDlgItem(box, id)) != FALSE; }

struct PressCase {
  int buttons;
  int pressed;
  int expected;
};

class MessageBoxTest : public ::testing::TestWithParam<PressCase> {
 protected:
  void SetUp() override { apptest::ResetFlags(apptest::TheApp()); }
};

TEST_P(MessageBoxTest, ReturnsTheCodeOfThePressedButton) {
  const PressCase c = GetParam();
  CTarnwickApp& app = apptest::TheApp();
  int shownWhileOpen = -1;
  apptest::PressWhenOpen(c.pressed, [&](HWND) { shownWhileOpen = app.messageBoxShown; });
  CTWKMessageBox box(0, nullptr);
  EXPECT_EQ(box.Show(L"Question?", c.buttons, MB_ICONQUESTION), c.expected);
  EXPECT_EQ(shownWhileOpen, 1);
  EXPECT_EQ(app.messageBoxShown, 0);
}

INSTANTIATE_TEST_SUITE_P(ButtonsAndClose, MessageBoxTest,
                         ::testing::Values(PressCase{MB_OK, 1013, IDOK}, PressCase{MB_OK, 150, IDOK},
                                           PressCase{MB_OKCANCEL, IDOK, IDOK},
                                           PressCase{MB_OKCANCEL, IDCANCEL, IDCANCEL},
                                           PressCase{MB_OKCANCEL, 150, IDCANCEL}, PressCase{MB_YESNO, 3, IDYES},
                                           PressCase{MB_YESNO, 4, IDNO}, PressCase{MB_YESNO, 150, IDNO}));

TEST(MessageBoxLook, ShowsTheButtonsAndIconOfItsCodes) {
  struct Row {
    int buttons, icon;
    std::vector<int> shown, hidden;
  };
  const Row rows[] = {
      {MB_OK, MB_ICONERROR, {1013, 1019}, {1, 2, 3, 4, 1009, 1020}},
      {MB_OKCANCEL, MB_ICONWARNING, {1, 2, 1020}, {1013, 3, 4, 1009, 1019}},
      {MB_YESNO, MB_ICONQUESTION, {3, 4, 1009}, {1013, 1, 2, 1019, 1020}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.buttons);
    std::vector<int> wrongShown, wrongHidden;
    apptest::PressWhenOpen(150, [&](HWND box) {
      for (int id : row.shown) {
        if (!Visible(box, id)) wrongHidden.push_back(id);
      }
      for (int id : row.hidden) {
        if (Visible(box, id)) wrongShown.push_back(id);
      }
    });
    CTWKMessageBox box(0, nullptr);
    box.Show(L"Text", row.buttons, row.icon);
    EXPECT_TRUE(wrongShown.empty()) << wrongShown.front();
    EXPECT_TRUE(wrongHidden.empty()) << wrongHidden.front();
  }
}

TEST(MessageBoxLook, WidthClassesSizeTheBoxAndPlaceTheButtons) {
  struct Row {
    int widthClass, width, okX;
  };
  for (const Row row : {Row{0, 350, 135}, Row{1, 403, 183}, Row{2, 432, 171}}) {
    SCOPED_TRACE(row.widthClass);
    RECT window{}, ok{};
    apptest::PressWhenOpen(1013, [&](HWND box) {
      GetWindowRect(box, &window);
      GetWindowRect(GetDlgItem(box, 1013), &ok);
    });
    CTWKMessageBox box(row.widthClass, nullptr);
    box.Show(L"Text", MB_OK, MB_ICONERROR);
    EXPECT_EQ(window.right - window.left, row.width);
    EXPECT_EQ(window.bottom - window.top, 151);
    EXPECT_EQ(ok.left - window.left, row.okX);
  }
}

TEST(MessageBoxLook, WithoutAMainWindowItIsCentredOnTheDesktopAndAnEmptyTextIsHidden) {
  RECT window{};
  bool messageShown = true;
  std::wstring title;
  apptest::PressWhenOpen(1013, [&](HWND box) {
    GetWindowRect(box, &window);
    messageShown = Visible(box, 1011);
    wchar_t text[64] = {};
    GetWindowTextW(box, text, 64);
    title = text;
  });
  CTWKMessageBox box(0, nullptr);
  box.Show(L"", MB_OK, MB_ICONERROR);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(window.left, (desktop.right - 350) / 2);
  EXPECT_EQ(window.top, (desktop.bottom - 151) / 2);
  EXPECT_FALSE(messageShown);
  EXPECT_EQ(title, L"Tarnwick Pro");
}

TEST(MessageBoxLook, CloseResultsByButtonsCode) {
  EXPECT_EQ(CTWKMessageBox::CloseResult(MB_OK), IDOK);
  EXPECT_EQ(CTWKMessageBox::CloseResult(MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(CTWKMessageBox::CloseResult(MB_YESNO), IDNO);
  EXPECT_EQ(CTWKMessageBox::CloseResult(MB_YESNOCANCEL), 0);
}

}  // namespace
