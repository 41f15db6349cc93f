#include "SkinColours.h"

#include <algorithm>
#include <cmath>

#include "Gdi.h"

namespace twk::skin {

namespace {
BYTE Channel(long value) { return static_cast<BYTE>(std::clamp(value, 0L, 255L)); }
BYTE Rounded(double value) { return Channel(std::lround(value)); }
}  // namespace

COLORREF ListRowColour(int step) {
  BYTE v = Channel(255 - step);
  return RGB(v, v, v);
}

COLORREF HeaderColour(int step) {
  return RGB(Channel(228 + (17 * step) / 10), Channel(109 + (5 * step) / 2), Channel(17 - step));
}

COLORREF TreeRowColour(int step) { return RGB(Channel(255 - step), Channel(255 - step), Channel(254 - step)); }

COLORREF ProgressBackColour(int step) {
  return RGB(Rounded(255 - 1.5 * step), Rounded(255 - 1.5 * step), Rounded(254 - 1.5 * step));
}

COLORREF ProgressBlockColour(int step) {
  return RGB(Rounded(227 + 1.7 * step), Rounded(110 + 2.5 * step), Channel(17 - step));
}

int GradientStepAtLine(int y, int height, int steps) {
  if (height <= 0 || steps <= 0) return 0;
  y = std::clamp(y, 0, height - 1);
  return static_cast<int>(static_cast<long long>(y) * steps / height);
}

int ProgressFilledWidth(int clientWidth, int position, int lower, int upper) {
  if (upper <= lower || clientWidth <= 0) return 0;
  position = std::clamp(position, lower, upper);
  return static_cast<int>(static_cast<long long>(clientWidth) * (position - lower) / (upper - lower));
}

std::vector<Span> ProgressBlocks(int filledWidth) {
  std::vector<Span> blocks;
  for (int left = 0; left < filledWidth; left += kProgressBlockWidth + kProgressBlockGap) {
    blocks.push_back(Span{left, std::min(left + kProgressBlockWidth, filledWidth)});
  }
  return blocks;
}

void FillVerticalGradient(HDC dc, const RECT& rect, int steps, StepColour colour) {
  const int height = rect.bottom - rect.top;
  if (height <= 0 || steps <= 0) return;
  for (int step = 0; step < steps; ++step) {
    // Lines y with y * steps / height == step.
    int first = static_cast<int>((static_cast<long long>(step) * height + steps - 1) / steps);
    int next = static_cast<int>((static_cast<long long>(step + 1) * height + steps - 1) / steps);
    if (next <= first) continue;
    wl::CBrush brush = wl::MakeSolidBrush(colour(step));
    RECT band{rect.left, rect.top + first, rect.right, rect.top + std::min(next, height)};
    ::FillRect(dc, &band, brush);
  }
}

}  // namespace twk::skin
