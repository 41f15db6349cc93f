#include "GradientHeaderCtrl.h"

#include <commctrl.h>

#include "SelfPainting.h"
#include "SkinColours.h"

void CGradientHeaderCtrl::Paint(HDC dc) {
  using namespace twk::skin;
  RECT client = GetClientRect();
  // The part right of the last item has the same look.
  FillVerticalGradient(dc, client, kHeaderGradientSteps, HeaderColour);
  int count = static_cast<int>(SendMessage(HDM_GETITEMCOUNT));
  HFONT font = font_ ? font_ : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  wl::CSelectObject selectFont(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  wl::CPen line(::CreatePen(PS_SOLID, 1, HeaderColour(kHeaderGradientSteps - 1)));
  wl::CSelectObject selectPen(dc, line);
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    FillVerticalGradient(dc, item, kHeaderGradientSteps, HeaderColour);
    wchar_t text[128] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT;
    info.pszText = text;
    info.cchTextMax = 127;
    SendMessage(HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    RECT textRect = item;
    textRect.left += 6;
    textRect.right -= 4;
    ::DrawTextW(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::MoveToEx(dc, item.right - 1, item.top + 4, nullptr);
    ::LineTo(dc, item.right - 1, item.bottom - 4);
  }
}

LRESULT CGradientHeaderCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto painted = HandleSelfPainting(Handle(), msg, wp, [this](HDC dc) { Paint(dc); })) return *painted;
  switch (msg) {
    case HDM_LAYOUT: {
      LRESULT result = CWindow::WindowProc(msg, wp, lp);
      auto* layout = reinterpret_cast<HDLAYOUT*>(lp);
      if (result && layout && layout->prc && layout->pwpos) {
        layout->pwpos->cy = kHeight;
        layout->prc->top = layout->pwpos->y + kHeight;
      }
      return result;
    }
    default:
      return CWindow::WindowProc(msg, wp, lp);
  }
}
