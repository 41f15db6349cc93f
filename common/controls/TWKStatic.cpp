#include "TWKStatic.h"

CTWKStatic::CTWKStatic() : backBrush_(::CreateSolidBrush(kDefaultBackColour)) {}

void CTWKStatic::RepaintParentArea() {
  if (!IsAttached()) return;
  HWND parent = GetParent();
  RECT area = GetWindowRectInParent();
  ::InflateRect(&area, 1, 1);
  ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CTWKStatic::SetText(const std::wstring& text) {
  if (!IsAttached()) return;
  ::SetWindowTextW(Handle(), text.c_str());
  if (transparent_) {
    RepaintParentArea();
  } else {
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void CTWKStatic::SetFont(const LOGFONTW& font) {
  font_.Reset(::CreateFontIndirectW(&font));
  if (!IsAttached()) return;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
  if (transparent_) RepaintParentArea();
}

void CTWKStatic::SetFont(const wchar_t* face, int points, bool bold) {
  LOGFONTW font = wl::PointFontDescription(face, points);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  SetFont(font);
}

void CTWKStatic::SetBkColor(COLORREF colour) {
  backColour_ = colour;
  backBrush_.Reset(::CreateSolidBrush(colour));
  if (IsAttached()) Invalidate();
}

void CTWKStatic::SetTextColor(COLORREF colour) {
  textColour_ = colour;
  if (IsAttached()) Invalidate();
}

void CTWKStatic::SetTransparent(bool transparent) {
  transparent_ = transparent;
  if (IsAttached()) RepaintParentArea();
}

void CTWKStatic::SetBitmap(HBITMAP bitmap) {
  if (!IsAttached()) {
    bitmap_.Reset(bitmap);
    return;
  }
  wchar_t className[16] = {};
  ::GetClassNameW(Handle(), className, 16);
  if (lstrcmpiW(className, L"Static") != 0) {  // a group box shows no picture
    ::DeleteObject(bitmap);
    return;
  }
  LONG style = ::GetWindowLongW(Handle(), GWL_STYLE);
  ::SetWindowLongW(Handle(), GWL_STYLE, (style & ~SS_TYPEMASK) | SS_BITMAP);
  auto previous = reinterpret_cast<HBITMAP>(
      SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  // The control may have made its own copy; ours stays the one we own.
  if (previous && previous != bitmap_.Get() && previous != bitmap) ::DeleteObject(previous);
  bitmap_.Reset(bitmap);
  Invalidate();
}

LRESULT CTWKStatic::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (transparent_) return TRUE;
      break;
    case WM_SETCURSOR:
      if (cursor_) {
        ::SetCursor(cursor_);
        return TRUE;
      }
      break;
    case WM_NCHITTEST:
      // A static with a cursor must see the pointer (statics are transparent to hits).
      if (cursor_) return HTCLIENT;
      break;
    default:
      break;
  }
  return CWindow::WindowProc(msg, wp, lp);
}

bool CTWKStatic::OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  ::SetTextColor(dc, textColour_);
  if (transparent_) {
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
  } else {
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, backColour_);
    result = reinterpret_cast<LRESULT>(backBrush_.Get());
  }
  return true;
}
