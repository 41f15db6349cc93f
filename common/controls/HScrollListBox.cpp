#include "HScrollListBox.h"

#include <algorithm>

#include "Gdi.h"

int CHScrollListBox::TextWidth(const std::wstring& text) const {
  wl::CClientDC dc(Handle());
  auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  wl::CSelectObject select(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
  if (::GetWindowLongW(Handle(), GWL_STYLE) & LBS_USETABSTOPS) {
    DWORD size = ::GetTabbedTextExtentW(dc, text.c_str(), static_cast<int>(text.size()), 0, nullptr);
    return LOWORD(size) + 2;
  }
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx + 3;
}

void CHScrollListBox::Widen(const wchar_t* text) {
  LONG style = ::GetWindowLongW(Handle(), GWL_STYLE);
  // Owner-drawn lists without strings pass item data, not text.
  if (!text || ((style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) && !(style & LBS_HASSTRINGS))) return;
  int width = TextWidth(text);
  if (width > Extent()) SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width));
}

void CHScrollListBox::Recompute() {
  int widest = 0;
  int count = static_cast<int>(SendMessage(LB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    LRESULT length = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(i));
    if (length == LB_ERR) continue;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    widest = std::max(widest, TextWidth(text));
  }
  SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest));
}

LRESULT CHScrollListBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      LRESULT result = CWindow::WindowProc(msg, wp, lp);
      if (result != LB_ERR && result != LB_ERRSPACE) Widen(reinterpret_cast<const wchar_t*>(lp));
      return result;
    }
    case LB_DELETESTRING: {
      LRESULT result = CWindow::WindowProc(msg, wp, lp);
      if (result != LB_ERR) Recompute();
      return result;
    }
    case LB_RESETCONTENT: {
      LRESULT result = CWindow::WindowProc(msg, wp, lp);
      SendMessage(LB_SETHORIZONTALEXTENT, 0);
      return result;
    }
    default:
      return CWindow::WindowProc(msg, wp, lp);
  }
}
