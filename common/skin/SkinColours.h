#pragma once
// The colour and gradient rules of the skinned controls, as pure functions.
#include <windows.h>

#include <vector>

namespace twk::skin {

constexpr int kListRowHeight = 25;
constexpr int kListGradientSteps = 17;
constexpr int kHeaderGradientSteps = 17;
constexpr int kTreeItemHeight = 24;
constexpr int kTreeGradientSteps = 16;
constexpr int kProgressBackSteps = 21;
constexpr int kProgressBlockSteps = 15;
constexpr int kProgressBlockWidth = 15;
constexpr int kProgressBlockGap = 1;

// List rows: 255 - i in every component, i = 0..16.
COLORREF ListRowColour(int step);
// Header items: red 228 + 1.7 i, green 109 + 2.5 i, blue 17 - i, fractions dropped.
COLORREF HeaderColour(int step);
// Tree rows: red and green 255 - i, blue 254 - i, i = 0..15.
COLORREF TreeRowColour(int step);
// Progress background: red and green 255 - 1.5 i, blue 254 - 1.5 i, rounded, i = 0..20.
COLORREF ProgressBackColour(int step);
// Progress blocks: red 227 + 1.7 i, green 110 + 2.5 i, blue 17 - i, rounded, i = 0..14.
COLORREF ProgressBlockColour(int step);

// The gradient step of pixel line y (0-based) of a band of the given height.
int GradientStepAtLine(int y, int height, int steps);

using StepColour = COLORREF (*)(int step);
// The colour of line y of a band of height lines painted with steps colours.
inline COLORREF GradientColourAtLine(int y, int height, int steps, StepColour colour) {
  return colour(GradientStepAtLine(y, height, steps));
}

// Width of the filled part of a progress bar: width * (position - lower) / (upper - lower),
// held within 0..width; 0 when the range is empty.
int ProgressFilledWidth(int clientWidth, int position, int lower, int upper);

struct Span {
  int left;
  int right;  // exclusive
  bool operator==(const Span&) const = default;
};
// The blocks of the filled part: 15 pixels wide, 1-pixel gaps, the last one cut.
std::vector<Span> ProgressBlocks(int filledWidth);

// Paints a vertical gradient over rect (one solid brush per step, released afterwards).
void FillVerticalGradient(HDC dc, const RECT& rect, int steps, StepColour colour);

}  // namespace twk::skin
