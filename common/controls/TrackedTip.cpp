#include "TrackedTip.h"

#include <commctrl.h>

CTrackedTip::~CTrackedTip() {
  if (tip_ && ::IsWindow(tip_)) ::DestroyWindow(tip_);
}

bool CTrackedTip::Create(HWND owner, HFONT font) {
  owner_ = owner;
  tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                           0, owner, nullptr, nullptr, nullptr);
  if (!tip_) return false;
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(owner);
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, -1);
  ::SendMessageW(tip_, TTM_SETTIPTEXTCOLOR, RGB(0, 0, 0), 0);
  ::SendMessageW(tip_, TTM_SETTIPBKCOLOR, ::GetSysColor(COLOR_WINDOW), 0);
  if (font) ::SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return true;
}

RECT CTrackedTip::TextArea(HWND owner) {
  RECT area{};
  ::GetClientRect(owner, &area);
  area.right -= ::GetSystemMetrics(10) + 2;
  return area;
}

void CTrackedTip::SetTitle(const std::wstring& title, int icon) {
  title_ = title;
  if (tip_) ::SendMessageW(tip_, TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(title_.c_str()));
}

void CTrackedTip::OnMouseMove(POINT client, const std::wstring& text) {
  if (!tip_) return;
  RECT area = TextArea(owner_);
  if (!::PtInRect(&area, client) || text.empty()) return;
  if (shown_ && text == text_) return;
  text_ = text;
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(owner_);
  tool.lpszText = text_.data();
  ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  RECT window{};
  ::GetWindowRect(owner_, &window);
  ::SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(window.left, window.bottom + 2));
  ::SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  shown_ = true;
  ::SetTimer(owner_, kTimerId, kTimerPeriodMs, nullptr);
}

void CTrackedTip::Hide() {
  if (!tip_) return;
  ::KillTimer(owner_, kTimerId);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(owner_);
  ::SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  shown_ = false;
}

bool CTrackedTip::OnTimer(UINT_PTR id) {
  if (id != kTimerId) return false;
  POINT pointer{};
  ::GetCursorPos(&pointer);
  ::ScreenToClient(owner_, &pointer);
  RECT area = TextArea(owner_);
  if (!::PtInRect(&area, pointer)) Hide();
  return true;
}
