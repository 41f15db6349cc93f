#include "TWKButton.h"

#include <commctrl.h>

#include <algorithm>

CTWKButton::CTWKButton() { SetDefaultColours(false); }

CTWKButton::~CTWKButton() {
  if (tooltip_ && ::IsWindow(tooltip_)) ::DestroyWindow(tooltip_);
}

bool CTWKButton::Attach(HWND hwnd) {
  if (!CWindow::Attach(hwnd)) return false;
  LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
  isDefault_ = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  ::SetWindowLongW(hwnd, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
  cursor_ = ::LoadCursorW(nullptr, IDC_HAND);
  Invalidate();
  return true;
}

void CTWKButton::Repaint(bool repaint) {
  if (repaint && IsAttached()) Invalidate();
}

void CTWKButton::SetColour(State state, Part part, COLORREF colour, bool repaint) {
  colours_[static_cast<int>(state)][static_cast<int>(part)] = colour;
  Repaint(repaint);
}

COLORREF CTWKButton::GetColour(State state, Part part) const noexcept {
  return colours_[static_cast<int>(state)][static_cast<int>(part)];
}

void CTWKButton::SetDefaultColours(bool repaint) {
  for (auto& state : colours_) {
    state[static_cast<int>(Part::Background)] = ::GetSysColor(COLOR_BTNFACE);
    state[static_cast<int>(Part::Text)] = ::GetSysColor(COLOR_BTNTEXT);
  }
  Repaint(repaint);
}

void CTWKButton::PrepareImage(Image& image, HBITMAP bitmap, COLORREF transparent) {
  image.bitmap.Reset(bitmap);
  image.mask.Reset();
  image.size = SIZE{};
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return;
  image.size = SIZE{info.bmWidth, info.bmHeight};
  HDC screen = ::GetDC(nullptr);
  wl::CMemoryDC source(screen);
  wl::CMemoryDC maskDc(screen);
  ::ReleaseDC(nullptr, screen);
  image.mask.Reset(::CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
  wl::CSelectObject selectSource(source, bitmap);
  wl::CSelectObject selectMask(maskDc, image.mask);
  // Colour to monochrome: pixels of the background colour become 1.
  ::SetBkColor(source, transparent);
  ::BitBlt(maskDc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  // Make the transparent pixels of the image black, so the image can be OR-ed in.
  ::SetBkColor(source, RGB(0, 0, 0));
  ::SetTextColor(source, RGB(255, 255, 255));
  ::BitBlt(source, 0, 0, info.bmWidth, info.bmHeight, maskDc, 0, 0, SRCAND);
}

void CTWKButton::SetBitmaps(HBITMAP normal, COLORREF normalTransparent, HBITMAP hover, COLORREF hoverTransparent,
                            bool repaint) {
  normalIcon_.Reset();
  hoverIcon_.Reset();
  PrepareImage(normal_, normal, normalTransparent);
  PrepareImage(hover_, hover, hoverTransparent);
  Repaint(repaint);
}

void CTWKButton::SetIcons(HICON normal, HICON hover, bool repaint) {
  normal_ = Image{};
  hover_ = Image{};
  normalIcon_.Reset(normal);
  hoverIcon_.Reset(hover);
  Repaint(repaint);
}

void CTWKButton::SetFlat(bool flat, bool repaint) {
  flat_ = flat;
  Repaint(repaint);
}
void CTWKButton::SetDrawBorder(bool draw, bool repaint) {
  drawBorder_ = draw;
  Repaint(repaint);
}
void CTWKButton::SetFocusOnFlat(bool focus, bool repaint) {
  focusOnFlat_ = focus;
  Repaint(repaint);
}
void CTWKButton::SetTransparent(bool transparent, bool repaint) {
  transparent_ = transparent;
  Repaint(repaint);
}
void CTWKButton::SetAlignment(int alignment, bool repaint) {
  alignment_ = std::clamp(alignment, 0, 3);
  Repaint(repaint);
}
void CTWKButton::SetCheckBoxMode(bool enable, bool repaint) {
  checkBoxMode_ = enable;
  Repaint(repaint);
}
void CTWKButton::SetCheck(bool checked, bool repaint) {
  checked_ = checked;
  Repaint(repaint);
}

void CTWKButton::SetCursor(HCURSOR cursor, bool owned) {
  ownedCursor_.Reset(owned ? cursor : nullptr);
  cursor_ = cursor ? cursor : ::LoadCursorW(nullptr, IDC_HAND);
}

void CTWKButton::SetFont(const LOGFONTW& font, bool repaint) {
  font_.Reset(::CreateFontIndirectW(&font));
  if (IsAttached()) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), repaint);
}

void CTWKButton::SetTooltipText(const std::wstring& text) {
  tooltipText_ = text;
  if (!IsAttached()) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent();
  tool.uId = reinterpret_cast<UINT_PTR>(Handle());
  tool.lpszText = tooltipText_.data();
  if (!tooltip_) {
    tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                 Handle(), nullptr, nullptr, nullptr);
    if (!tooltip_) return;
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CTWKButton::ClearPointerOver() {
  if (!pointerOver_) return;
  pointerOver_ = false;
  Invalidate();
}

void CTWKButton::OnMouseMove(WPARAM keys, POINT client) {
  if (!flat_ || checkBoxMode_) return;
  // While the left button is held, only a button that is already marked is tracked.
  if ((keys & MK_LBUTTON) && !pointerOver_) return;
  POINT screen = client;
  ::ClientToScreen(Handle(), &screen);
  HWND under = ::WindowFromPoint(screen);
  bool over = under == Handle();
  if (over && !pointerOver_) {
    pointerOver_ = true;
    Invalidate();
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    ::TrackMouseEvent(&track);
  } else if (!over && pointerOver_) {
    ClearPointerOver();
  }
}

LRESULT CTWKButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      OnMouseMove(wp, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      break;
    case WM_MOUSELEAVE:
    case WM_CANCELMODE:
      ClearPointerOver();
      break;
    case WM_KILLFOCUS:
      ClearPointerOver();
      break;
    case WM_SETCURSOR:
      if (cursor_ && LOWORD(lp) == HTCLIENT) {
        ::SetCursor(cursor_);
        return TRUE;
      }
      break;
    case WM_LBUTTONDBLCLK:
      // Owner-drawn buttons get double clicks; make them a second press.
      return Default(WM_LBUTTONDOWN, wp, lp);
    case WM_ERASEBKGND:
      return TRUE;
    case BM_SETSTYLE:
      // The dialog manager marks the default button this way; stay owner-drawn.
      isDefault_ = (wp & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      wp = (wp & ~BS_TYPEMASK) | BS_OWNERDRAW;
      break;
    case WM_GETDLGCODE: {
      LRESULT code = Default(msg, wp, lp);
      code &= ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
      return code | (isDefault_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) ClearPointerOver();
      break;
    default:
      break;
  }
  return CWindow::WindowProc(msg, wp, lp);
}

bool CTWKButton::OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DRAWITEM) {
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
  }
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED && checkBoxMode_) {
    checked_ = !checked_;
    Invalidate();
    return false;  // the parent still hears the click
  }
  return false;
}

void CTWKButton::DrawBackground(HDC dc, RECT& rect, bool pressed, bool focused) {
  if (transparent_) {
    // The parent paints its background into our DC, shifted to our place.
    HWND parent = GetParent();
    RECT inParent = GetWindowRectInParent();
    POINT oldOrigin;
    ::OffsetViewportOrgEx(dc, -inParent.left, -inParent.top, &oldOrigin);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  } else {
    State state = (pointerOver_ || pressed) ? State::In : focused ? State::Focus : State::Out;
    if (!flat_ && (focused || isDefault_)) {
      wl::CBrush black = wl::MakeSolidBrush(RGB(0, 0, 0));
      ::FrameRect(dc, &rect, black);
      ::InflateRect(&rect, -1, -1);
    }
    wl::CBrush fill = wl::MakeSolidBrush(GetColour(state, Part::Background));
    ::FillRect(dc, &rect, fill);
  }
}

void CTWKButton::DrawImage(HDC dc, const RECT& client, RECT& textRect, bool pressed, bool hasText) {
  const bool useHover = pointerOver_ && (hover_.bitmap || hoverIcon_);
  HICON icon = useHover ? hoverIcon_.Get() : normalIcon_.Get();
  const Image& image = useHover ? hover_ : normal_;
  SIZE size{};
  if (icon) {
    ICONINFO info{};
    if (::GetIconInfo(icon, &info)) {
      BITMAP bm{};
      ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
      size = SIZE{bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
      if (info.hbmColor) ::DeleteObject(info.hbmColor);
      if (info.hbmMask) ::DeleteObject(info.hbmMask);
    }
  } else if (image.bitmap) {
    size = image.size;
  } else {
    return;
  }
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  POINT at{};
  switch (alignment_) {
    case 0:  // left of the text
      at = POINT{hasText ? client.left + 3 : client.left + (width - size.cx) / 2 + 4,
                 client.top + (height - size.cy) / 2};
      if (hasText) textRect.left = at.x + size.cx + 3;
      break;
    case 1:  // above the text
      at = POINT{client.left + (width - size.cx) / 2, hasText ? client.top + 3 : client.top + (height - size.cy) / 2};
      if (hasText) textRect.top = at.y + size.cy;
      break;
    case 2:  // right of the text
      at = POINT{client.right - size.cx - 3, client.top + (height - size.cy) / 2};
      if (hasText) textRect.right = at.x - 3;
      break;
    default:  // full-size face, text over the whole button
      at = POINT{client.left, client.top};
      break;
  }
  if (pressed && !checkBoxMode_) {
    at.x += kPressedOffset;
    at.y += kPressedOffset;
  }
  if (icon) {
    ::DrawIconEx(dc, at.x, at.y, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
    return;
  }
  HDC screen = ::GetDC(nullptr);
  wl::CMemoryDC source(screen);
  ::ReleaseDC(nullptr, screen);
  COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
  COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
  {
    wl::CSelectObject select(source, image.mask);
    ::BitBlt(dc, at.x, at.y, size.cx, size.cy, source, 0, 0, SRCAND);
  }
  {
    wl::CSelectObject select(source, image.bitmap);
    ::BitBlt(dc, at.x, at.y, size.cx, size.cy, source, 0, 0, SRCPAINT);
  }
  ::SetBkColor(dc, oldBack);
  ::SetTextColor(dc, oldText);
}

void CTWKButton::SetDisabledTextColour(COLORREF colour, bool repaint) {
  disabledText_ = colour;
  if (repaint) Invalidate();
}

void CTWKButton::Draw(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const bool pressed = checkBoxMode_ ? (checked_ || (item.itemState & ODS_SELECTED))
                                     : (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  RECT client = item.rcItem;
  RECT rect = client;
  int savedDc = ::SaveDC(dc);

  DrawBackground(dc, rect, pressed, focused);

  if (!checkBoxMode_) {
    if (!flat_) {
      if (pressed) {
        wl::CBrush shadow = wl::MakeSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
        ::FrameRect(dc, &rect, shadow);
      } else {
        RECT edge = rect;
        ::DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
      }
    } else if (drawBorder_) {
      RECT edge = rect;
      if (pressed) {
        ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      } else if (pointerOver_) {
        ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
      }
    }
  }

  std::wstring text = GetText();
  RECT textRect = client;
  DrawImage(dc, client, textRect, pressed, !text.empty());

  if (!text.empty()) {
    State state = (pointerOver_ || pressed) ? State::In : focused ? State::Focus : State::Out;
    ::SetBkMode(dc, TRANSPARENT);
    HFONT font = font_ ? font_.Get() : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (font) ::SelectObject(dc, font);
    if (pressed && !checkBoxMode_) ::OffsetRect(&textRect, kPressedOffset, kPressedOffset);
    if (disabled) {
      ::SetTextColor(dc, disabledText_ ? *disabledText_ : ::GetSysColor(COLOR_GRAYTEXT));
    } else {
      ::SetTextColor(dc, GetColour(state, Part::Text));
    }
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }

  if (focused && (!flat_ || focusOnFlat_)) {
    RECT focus = client;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(dc, &focus);
  }
  ::RestoreDC(dc, savedDc);
}
