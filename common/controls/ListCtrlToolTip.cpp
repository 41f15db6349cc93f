#include "ListCtrlToolTip.h"

#include <commctrl.h>

bool CListCtrlToolTip::CreateFor(HWND list) {
  list_ = list;
  if (!Create(TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, WS_EX_TOPMOST, RECT{}, list)) {
    return false;
  }
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = list;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessage(TTM_SETMAXTIPWIDTH, 0, 600);
  return true;
}

std::wstring CListCtrlToolTip::CellTextAt(HWND list, POINT client) {
  LVHITTESTINFO hit{};
  hit.pt = client;
  if (::SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0) return {};
  wchar_t text[1024] = {};
  LVITEMW item{};
  item.iSubItem = hit.iSubItem;
  item.pszText = text;
  item.cchTextMax = 1023;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(hit.iItem), reinterpret_cast<LPARAM>(&item));
  return text;
}

void CListCtrlToolTip::OnListMouseMove(POINT client) {
  if (!IsAttached()) return;
  LVHITTESTINFO hit{};
  hit.pt = client;
  ::SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iItem == item_ && hit.iSubItem == column_) return;
  item_ = hit.iItem;
  column_ = hit.iSubItem;
  text_ = CellTextAt(list_, client);
  // Restart the tip so it asks for the new cell's text.
  SendMessage(TTM_POP);
  SendMessage(TTM_ACTIVATE, !text_.empty());
}

void CListCtrlToolTip::Hide() {
  if (IsAttached()) SendMessage(TTM_POP);
}

bool CListCtrlToolTip::OnReflectedMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  auto* header = reinterpret_cast<NMHDR*>(lp);
  if (header->code != TTN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
  info->lpszText = text_.data();
  result = 0;
  return true;
}
