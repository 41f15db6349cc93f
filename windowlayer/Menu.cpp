#include "Menu.h"

namespace wl {

UINT CMenu::TrackPopup(HWND owner, POINT screenPoint, UINT flags) const noexcept {
  if (!menu_) return 0;
  ::SetForegroundWindow(owner);
  BOOL chosen = ::TrackPopupMenu(menu_, flags, screenPoint.x, screenPoint.y, 0, owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<UINT>(chosen);
}

}  // namespace wl
