#include "ColorTabCtrl.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "Gdi.h"

bool CColorTabCtrl::Attach(HWND hwnd) {
  if (!CWindow::Attach(hwnd)) return false;
  ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) | TCS_OWNERDRAWFIXED);
  Invalidate();
  return true;
}

void CColorTabCtrl::SetColours(COLORREF selectedBack, COLORREF selectedText, COLORREF otherBack,
                               COLORREF otherText) {
  selectedBack_ = selectedBack;
  selectedText_ = selectedText;
  otherBack_ = otherBack;
  otherText_ = otherText;
  if (IsAttached()) Invalidate();
}

void CColorTabCtrl::EnableTab(int index, bool enable) {
  auto found = std::find(disabled_.begin(), disabled_.end(), index);
  if (enable && found != disabled_.end()) disabled_.erase(found);
  if (!enable && found == disabled_.end()) disabled_.push_back(index);
  if (IsAttached()) Invalidate();
}

bool CColorTabCtrl::IsTabEnabled(int index) const {
  return std::find(disabled_.begin(), disabled_.end(), index) == disabled_.end();
}

bool CColorTabCtrl::Notify(UINT code) {
  NMHDR header{Handle(), static_cast<UINT_PTR>(GetDlgCtrlID()), code};
  return ::SendMessageW(GetParent(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)) != 0;
}

bool CColorTabCtrl::SelectTab(int index) {
  int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
  if (index < 0 || index >= count || !IsTabEnabled(index)) return false;
  if (index == static_cast<int>(SendMessage(TCM_GETCURSEL))) return true;
  if (Notify(TCN_SELCHANGING)) return false;  // the parent refused
  SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index));
  Notify(TCN_SELCHANGE);
  return true;
}

int CColorTabCtrl::NextEnabled(int from, int direction) const {
  int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
  for (int i = from + direction; i >= 0 && i < count; i += direction) {
    if (IsTabEnabled(i)) return i;
  }
  return -1;
}

LRESULT CColorTabCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TCHITTESTINFO hit{{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, 0};
      int index = static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (index >= 0 && !IsTabEnabled(index)) return 0;
      break;
    }
    case WM_KEYDOWN: {
      int direction = wp == VK_LEFT || wp == VK_UP ? -1 : wp == VK_RIGHT || wp == VK_DOWN ? 1 : 0;
      if (direction != 0) {
        int next = NextEnabled(static_cast<int>(SendMessage(TCM_GETCURSEL)), direction);
        if (next >= 0) SelectTab(next);
        return 0;
      }
      break;
    }
    default:
      break;
  }
  return CWindow::WindowProc(msg, wp, lp);
}

bool CColorTabCtrl::OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  DrawTab(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
  result = TRUE;
  return true;
}

void CColorTabCtrl::DrawTab(const DRAWITEMSTRUCT& item) {
  const int index = static_cast<int>(item.itemID);
  const bool selected = index == static_cast<int>(SendMessage(TCM_GETCURSEL));
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  wl::CBrush back = wl::MakeSolidBrush(selected ? selectedBack_ : otherBack_);
  ::FillRect(dc, &rect, back);

  wchar_t text[128] = {};
  TCITEMW tab{};
  tab.mask = TCIF_TEXT | TCIF_IMAGE;
  tab.pszText = text;
  tab.cchTextMax = 127;
  SendMessage(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));

  RECT textRect = rect;
  int offset = selected ? kSelectedTextOffset : kOtherTextOffset;
  ::OffsetRect(&textRect, 0, offset - kOtherTextOffset);
  textRect.left += offset;
  auto images = reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST));
  if (images && tab.iImage >= 0) {
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    ImageList_Draw(images, tab.iImage, dc, textRect.left, rect.top + (rect.bottom - rect.top - height) / 2,
                   ILD_TRANSPARENT);
    textRect.left += width + 3;
  }
  ::SetBkMode(dc, TRANSPARENT);
  COLORREF colour = selected ? selectedText_ : otherText_;
  if (!IsTabEnabled(index)) colour = ::GetSysColor(COLOR_GRAYTEXT);
  ::SetTextColor(dc, colour);
  ::DrawTextW(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}
