#include "CustomProgressCtrl.h"

#include <commctrl.h>

#include "SelfPainting.h"
#include "Gdi.h"
#include "SkinColours.h"

void CCustomProgressCtrl::Paint(HDC target) {
  using namespace twk::skin;
  RECT client = GetClientRect();
  if (client.right <= 0 || client.bottom <= 0) return;
  wl::CBufferedPaint buffer(target, client);
  FillVerticalGradient(buffer, client, kProgressBackSteps, ProgressBackColour);
  PBRANGE range{};
  SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  int position = static_cast<int>(SendMessage(PBM_GETPOS));
  int filled = ProgressFilledWidth(client.right, position, range.iLow, range.iHigh);
  for (const Span& block : ProgressBlocks(filled)) {
    RECT area{block.left, 0, block.right, client.bottom};
    FillVerticalGradient(buffer, area, kProgressBlockSteps, ProgressBlockColour);
  }
}

LRESULT CCustomProgressCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto painted = HandleSelfPainting(Handle(), msg, wp, [this](HDC dc) { Paint(dc); })) return *painted;
  return CWindow::WindowProc(msg, wp, lp);
}
