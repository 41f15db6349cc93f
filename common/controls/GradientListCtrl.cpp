#include "GradientListCtrl.h"

#include <string>

#include "SkinColours.h"

CGradientListCtrl::CGradientListCtrl() = default;

CGradientListCtrl::~CGradientListCtrl() {
  if (spacer_) {
    if (IsAttached()) SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    ImageList_Destroy(spacer_);
  }
}

bool CGradientListCtrl::Attach(HWND hwnd) {
  if (!CWindow::Attach(hwnd)) return false;
  if (HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER))) header_.Attach(header);
  toolTip_.CreateFor(hwnd);
  ApplyRowHeight();
  return true;
}

void CGradientListCtrl::ApplyRowHeight() {
  // The row height follows the small image list; the list may add padding of its own,
  // which CalibrateRowHeight takes off once an item exists to measure.
  if (!spacer_) spacer_ = ImageList_Create(1, spacerHeight_, ILC_COLOR24, 1, 1);
  SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(spacer_));
}

void CGradientListCtrl::CalibrateRowHeight() {
  RECT row{LVIR_BOUNDS};
  if (!SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row))) return;
  int height = row.bottom - row.top;
  if (height == kRowHeight || spacerHeight_ + kRowHeight - height < 1) return;
  spacerHeight_ += kRowHeight - height;
  SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  ImageList_Destroy(spacer_);
  spacer_ = nullptr;
  ApplyRowHeight();
}

void CGradientListCtrl::SetItemFont(FontVariant variant) {
  LOGFONTW font{};
  HDC screen = ::GetDC(nullptr);
  int pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  if (variant == FontVariant::Large) {
    font.lfHeight = -::MulDiv(12, pixelsPerInch, 72);
  } else {
    font.lfHeight = ::MulDiv(10, pixelsPerInch, 72);
    font.lfWeight = FW_NORMAL;
  }
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"Verdana", LF_FACESIZE);
  font_.Reset(::CreateFontIndirectW(&font));
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
  header_.SetFont(font_.Get());
  ApplyRowHeight();
  CalibrateRowHeight();
}

void CGradientListCtrl::FitColumns() {
  HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  int columns = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  int rows = static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
  wl::CClientDC dc(Handle());
  HFONT font = font_ ? font_.Get() : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  wl::CSelectObject select(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      int width = static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
      if (width == 0) continue;  // hidden columns stay hidden
      wchar_t text[1024] = {};
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = text;
      item.cchTextMax = 1023;
      SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
      SIZE size{};
      ::GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
      if (size.cx > width) {
        int wanted = size.cx + 20 + (column == 0 ? kIconSize + 10 : 0);
        SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(wanted, 0));
      }
    }
  }
}

int CGradientListCtrl::ItemAreaTop() const {
  HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (!header || !::IsWindowVisible(header)) return 0;
  RECT rect{};
  ::GetWindowRect(header, &rect);
  return rect.bottom - rect.top;
}

void CGradientListCtrl::PaintBackground(HDC dc) {
  using namespace twk::skin;
  RECT client = GetClientRect();
  for (int top = ItemAreaTop(); top < client.bottom; top += kRowHeight) {
    RECT row{client.left, top, client.right, top + kRowHeight};
    // A partial last row is the top of a full one, cut by the clipping below.
    HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    int hadClip = ::GetClipRgn(dc, clip);
    ::IntersectClipRect(dc, client.left, top, client.right, std::min<LONG>(row.bottom, client.bottom));
    FillVerticalGradient(dc, row, kListGradientSteps, ListRowColour);
    ::SelectClipRgn(dc, hadClip == 1 ? clip : nullptr);
    ::DeleteObject(clip);
  }
}

void CGradientListCtrl::DrawCell(HDC dc, int item, int column) {
  using namespace twk::skin;
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_BOUNDS;
  if (!SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell))) return;
  if (column == 0) {
    cell.right = cell.left + static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, 0));
  }
  const bool selected = (SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
  if (selected) {
    ::FillRect(dc, &cell, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    FillVerticalGradient(dc, cell, kListGradientSteps, ListRowColour);
    ::SetTextColor(dc, RGB(0, 0, 0));
  }
  RECT textRect = cell;
  textRect.left += 4;
  if (column == 0) {
    LVITEMW info{};
    info.mask = LVIF_IMAGE;
    info.iItem = item;
    SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
    if (icons_ && info.iImage >= 0) {
      ImageList_Draw(icons_, info.iImage, dc, cell.left + 2, cell.top + (cell.bottom - cell.top - kIconSize) / 2,
                     ILD_TRANSPARENT);
    }
    textRect.left = cell.left + 2 + kIconSize + 10;
  }
  wchar_t text[1024] = {};
  LVITEMW info{};
  info.iSubItem = column;
  info.pszText = text;
  info.cchTextMax = 1023;
  SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info));
  ::SetBkMode(dc, TRANSPARENT);
  HFONT font = font_ ? font_.Get() : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  wl::CSelectObject select(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::DrawTextW(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
}

LRESULT CGradientListCtrl::CustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      DrawCell(draw.nmcd.hdc, static_cast<int>(draw.nmcd.dwItemSpec), draw.iSubItem);
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

bool CGradientListCtrl::OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  auto* header = reinterpret_cast<NMHDR*>(lp);
  if (header->code != NM_CUSTOMDRAW) return false;
  result = CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
  return true;
}

LRESULT CGradientListCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(wp));
      return TRUE;
    case LVM_INSERTITEMW:
    case LVM_INSERTITEMA: {
      LRESULT result = CWindow::WindowProc(msg, wp, lp);
      if (result >= 0) CalibrateRowHeight();
      return result;
    }
    case WM_MOUSEMOVE:
      toolTip_.OnListMouseMove(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_SIZE:
      toolTip_.Hide();
      Invalidate();
      break;
    default:
      break;
  }
  return CWindow::WindowProc(msg, wp, lp);
}
