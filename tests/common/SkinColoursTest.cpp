#include <gtest/gtest.h>

#include "SkinColours.h"
#include "SkinTestSupport.h"

namespace {

using namespace twk::skin;

struct ColourCase {
  StepColour rule;
  const char* name;
  int step;
  COLORREF expected;
};

TEST(SkinColoursTest, StepColoursFollowTheirRules) {
  const ColourCase cases[] = {
      {ListRowColour, "list", 0, RGB(255, 255, 255)},
      {ListRowColour, "list", 16, RGB(239, 239, 239)},
      {ListRowColour, "list", 7, RGB(248, 248, 248)},
      {HeaderColour, "header", 0, RGB(228, 109, 17)},
      {HeaderColour, "header", 1, RGB(229, 111, 16)},  // 229.7 and 111.5 dropped
      {HeaderColour, "header", 3, RGB(233, 116, 14)},  // 233.1, 116.5
      {HeaderColour, "header", 16, RGB(255, 149, 1)},
      {TreeRowColour, "tree", 0, RGB(255, 255, 254)},
      {TreeRowColour, "tree", 15, RGB(240, 240, 239)},
      {ProgressBackColour, "progress", 0, RGB(255, 255, 254)},
      {ProgressBackColour, "progress", 1, RGB(254, 254, 253)},  // 253.5 and 252.5 rounded
      {ProgressBackColour, "progress", 20, RGB(225, 225, 224)},
      {ProgressBlockColour, "block", 0, RGB(227, 110, 17)},
      {ProgressBlockColour, "block", 1, RGB(229, 113, 16)},  // 228.7, 112.5 rounded
      {ProgressBlockColour, "block", 14, RGB(251, 145, 3)},  // 250.8, 145
  };
  for (const auto& c : cases) {
    COLORREF got = c.rule(c.step);
    EXPECT_EQ(got, c.expected) << c.name << " step " << c.step << ": " << int(GetRValue(got)) << ","
                               << int(GetGValue(got)) << "," << int(GetBValue(got));
  }
}

TEST(SkinColoursTest, LineToStepMapping) {
  struct Case {
    int y, height, steps, expected;
  } cases[] = {
      {0, 25, 17, 0},  {1, 25, 17, 0},  {2, 25, 17, 1},   {24, 25, 17, 16}, {12, 25, 17, 8},
      {0, 24, 16, 0},  {23, 24, 16, 15}, {5, 10, 17, 8},   {9, 10, 17, 15},  {30, 25, 17, 16},
      {-3, 25, 17, 0}, {0, 0, 17, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GradientStepAtLine(c.y, c.height, c.steps), c.expected) << c.y << "/" << c.height;
  }
}

TEST(SkinColoursTest, ProgressFilledWidthAndBlocks) {
  struct Case {
    int width, position, lower, upper, expected;
  } cases[] = {
      {200, 50, 0, 100, 100}, {200, 0, 0, 100, 0},    {200, 100, 0, 100, 200}, {200, 150, 0, 100, 200},
      {200, -5, 0, 100, 0},   {200, 5, 0, 0, 0},      {300, 15, 10, 20, 150},  {7, 1, 0, 3, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressFilledWidth(c.width, c.position, c.lower, c.upper), c.expected)
        << c.width << " " << c.position << " " << c.lower << "-" << c.upper;
  }
  EXPECT_TRUE(ProgressBlocks(0).empty());
  EXPECT_EQ(ProgressBlocks(15), (std::vector<Span>{{0, 15}}));
  EXPECT_EQ(ProgressBlocks(16), (std::vector<Span>{{0, 15}}));
  EXPECT_EQ(ProgressBlocks(40), (std::vector<Span>{{0, 15}, {16, 31}, {32, 40}}));
}

TEST(SkinColoursTest, GradientPaintsEveryLineWithItsStep) {
  skintest::Picture picture(4, 37);
  RECT band{0, 0, 4, 37};
  FillVerticalGradient(picture.Dc(), band, kListGradientSteps, ListRowColour);
  for (int y = 0; y < 37; ++y) {
    EXPECT_EQ(picture.At(2, y), ListRowColour(GradientStepAtLine(y, 37, kListGradientSteps))) << y;
  }
}

}  // namespace
