#include "GradientTreeCtrl.h"

#include <cstring>

#include "SelfPainting.h"
#include "SkinColours.h"

namespace {
// TVM_GETITEMRECT takes the item in the rectangle it fills.
bool ItemRect(HWND tree, HTREEITEM item, bool textOnly, RECT& rect) {
  std::memcpy(&rect, &item, sizeof item);
  return ::SendMessageW(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect)) != 0;
}
}  // namespace

bool CGradientTreeCtrl::Attach(HWND hwnd) {
  if (!CWindow::Attach(hwnd)) return false;
  LOGFONTW font = wl::PointFontDescription(L"Verdana", 8);
  font_.Reset(::CreateFontIndirectW(&font));
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  SendMessage(TVM_SETITEMHEIGHT, kItemHeight);
  // A tree created with check boxes from a template may have no check-box images yet;
  // setting the style again after creation makes them.
  LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
  if ((style & TVS_CHECKBOXES) && !SendMessage(TVM_GETIMAGELIST, TVSIL_STATE)) {
    ::SetWindowLongW(hwnd, GWL_STYLE, style & ~TVS_CHECKBOXES);
    ::SetWindowLongW(hwnd, GWL_STYLE, style);
  }
  return true;
}

bool CGradientTreeCtrl::GetCheck(HTREEITEM item) const {
  UINT state = static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;
}

void CGradientTreeCtrl::SetCheck(HTREEITEM item, bool checked) {
  TVITEMW info{};
  info.mask = TVIF_STATE;
  info.hItem = item;
  info.stateMask = TVIS_STATEIMAGEMASK;
  info.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  Invalidate(false);
}

void CGradientTreeCtrl::OnLeftPress(POINT client) {
  ::SetFocus(Handle());
  TVHITTESTINFO hit{};
  hit.pt = client;
  auto item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item) return;
  if (hit.flags & TVHT_ONITEMBUTTON) {
    SendMessage(TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(item));
  } else if (hit.flags & TVHT_ONITEMSTATEICON) {
    SetCheck(item, !GetCheck(item));
    if (checkClick_) checkClick_(client, item);
  } else if (hit.flags & TVHT_ONITEM) {
    SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
  Invalidate(false);
}

void CGradientTreeCtrl::DrawItem(HDC dc, HTREEITEM item, const RECT& client) {
  using namespace twk::skin;
  RECT row{};
  if (!ItemRect(Handle(), item, false, row)) return;
  RECT text{};
  ItemRect(Handle(), item, true, text);
  row.left = client.left;
  row.right = client.right;
  UINT state = static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), 0xFFFF));
  if (state & TVIS_SELECTED) {
    ::FillRect(dc, &row, ::GetSysColorBrush(COLOR_HIGHLIGHT));
  } else {
    FillVerticalGradient(dc, row, kTreeGradientSteps, TreeRowColour);
  }

  const LONG style = ::GetWindowLongW(Handle(), GWL_STYLE);
  const int middle = (row.top + row.bottom) / 2;
  int left = text.left;
  // Item image, then check box, then the expand button, right to left from the text.
  auto images = reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
  TVITEMW info{};
  info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  info.hItem = item;
  SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  if (images) {
    int width = 16, height = 16;
    ImageList_GetIconSize(images, &width, &height);
    left -= width + 3;
    ImageList_Draw(images, (state & TVIS_SELECTED) ? info.iSelectedImage : info.iImage, dc, left,
                   middle - height / 2, ILD_TRANSPARENT);
  }
  if (style & TVS_CHECKBOXES) {
    left -= 16;
    RECT box{left + 2, middle - 6, left + 15, middle + 7};
    ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    wl::CBrush frame = wl::MakeSolidBrush(RGB(120, 120, 120));
    ::FrameRect(dc, &box, frame);
    if ((state >> 12) == 2) {
      wl::CPen tick(::CreatePen(PS_SOLID, 2, RGB(228, 109, 17)));
      wl::CSelectObject select(dc, tick);
      ::MoveToEx(dc, box.left + 3, middle, nullptr);
      ::LineTo(dc, box.left + 6, middle + 3);
      ::LineTo(dc, box.right - 3, middle - 3);
    }
  }
  HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
  if ((style & TVS_HASBUTTONS) && (child || info.cChildren > 0)) {
    int indent = static_cast<int>(SendMessage(TVM_GETINDENT));
    int centre = left - indent / 2;
    RECT button{centre - 4, middle - 4, centre + 5, middle + 5};
    ::FillRect(dc, &button, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    wl::CBrush frame = wl::MakeSolidBrush(RGB(120, 120, 120));
    ::FrameRect(dc, &button, frame);
    ::MoveToEx(dc, centre - 2, middle, nullptr);
    ::LineTo(dc, centre + 3, middle);
    if (!(state & TVIS_EXPANDED)) {
      ::MoveToEx(dc, centre, middle - 2, nullptr);
      ::LineTo(dc, centre, middle + 3);
    }
  }

  wchar_t label[512] = {};
  info.mask = TVIF_TEXT;
  info.pszText = label;
  info.cchTextMax = 511;
  SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, (state & TVIS_SELECTED) ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
  RECT textRect{text.left + 2, row.top, client.right, row.bottom};
  ::DrawTextW(dc, label, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

void CGradientTreeCtrl::Paint(HDC target) {
  RECT client = GetClientRect();
  if (client.right <= 0 || client.bottom <= 0) return;
  wl::CBufferedPaint buffer(target, client);
  ::FillRect(buffer, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  wl::CSelectObject select(buffer, font_ ? static_cast<HGDIOBJ>(font_.Get()) : ::GetStockObject(DEFAULT_GUI_FONT));
  auto item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
  for (; item; item = reinterpret_cast<HTREEITEM>(
                   SendMessage(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
    RECT row{};
    if (!ItemRect(Handle(), item, false, row)) break;
    if (row.top >= client.bottom) break;
    DrawItem(buffer, item, client);
  }
}

LRESULT CGradientTreeCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (auto painted = HandleSelfPainting(Handle(), msg, wp, [this](HDC dc) { Paint(dc); })) return *painted;
  switch (msg) {
    case TVM_INSERTITEMW:
    case TVM_INSERTITEMA: {
      // New items of a check-box tree start unchecked (state image 1), so that their
      // check box exists for hit testing.
      LRESULT result = CWindow::WindowProc(msg, wp, lp);
      if (result && (::GetWindowLongW(Handle(), GWL_STYLE) & TVS_CHECKBOXES)) {
        auto item = reinterpret_cast<HTREEITEM>(result);
        UINT state = static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
        if ((state >> 12) == 0) SetCheck(item, false);
      }
      return result;
    }
    case WM_LBUTTONDOWN:
      OnLeftPress(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    default:
      return CWindow::WindowProc(msg, wp, lp);
  }
}
