#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "CustomProgressCtrl.h"
#include "SkinColours.h"
#include "SkinTestSupport.h"

namespace {

using namespace twk::skin;

TEST(CustomProgressCtrlTest, BlocksUpToThePositionOverTheBackground) {
  CCustomProgressCtrl progress;
  skintest::TestDialog dialog(IDD_SKIN_CONTROLS,
                              [&](skintest::TestDialog& d) { ASSERT_TRUE(progress.SubclassDlgItem(IDC_SKIN_PROGRESS, d)); });
  ASSERT_TRUE(dialog.Open());
  progress.SendMessage(PBM_SETRANGE32, 0, 200);
  progress.SendMessage(PBM_SETPOS, 50);
  skintest::Picture picture = skintest::Picture::OfClient(progress);
  const int width = picture.Width();
  const int height = picture.Height();
  const int filled = ProgressFilledWidth(width, 50, 0, 200);
  ASSERT_GT(filled, 16);
  EXPECT_EQ(picture.At(0, 0), ProgressBlockColour(0));
  EXPECT_EQ(picture.At(3, height - 1), ProgressBlockColour(GradientStepAtLine(height - 1, height, 15)));
  EXPECT_EQ(picture.At(15, 2), ProgressBackColour(GradientStepAtLine(2, height, 21))) << "the gap between blocks";
  EXPECT_EQ(picture.At(16, 2), ProgressBlockColour(GradientStepAtLine(2, height, 15)));
  EXPECT_EQ(picture.At(filled - 1, 0), ProgressBlockColour(0));
  EXPECT_EQ(picture.At(filled + 1, 0), ProgressBackColour(0));
  EXPECT_EQ(picture.At(width - 1, height - 1), ProgressBackColour(GradientStepAtLine(height - 1, height, 21)));
}

}  // namespace
