#pragma once
// Menus: an owner for menus we load or create, and pop-up menus shown at a point.
#include <windows.h>

#include <utility>

namespace wl {

class CMenu {
 public:
  CMenu() noexcept = default;
  // owns: destroy the menu when this object ends (not for sub-menus of another menu).
  explicit CMenu(HMENU menu, bool owns = true) noexcept : menu_(menu), owns_(owns) {}
  ~CMenu() { Reset(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;
  CMenu(CMenu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)), owns_(other.owns_) {}
  CMenu& operator=(CMenu&& other) noexcept {
    if (this != &other) {
      Reset();
      menu_ = std::exchange(other.menu_, nullptr);
      owns_ = other.owns_;
    }
    return *this;
  }

  static CMenu Load(HINSTANCE instance, UINT id) { return CMenu(::LoadMenuW(instance, MAKEINTRESOURCEW(id))); }
  static CMenu CreatePopup() { return CMenu(::CreatePopupMenu()); }

  HMENU Get() const noexcept { return menu_; }
  operator HMENU() const noexcept { return menu_; }
  explicit operator bool() const noexcept { return menu_ != nullptr; }
  // A sub-menu, not owned (it goes with its parent).
  CMenu SubMenu(int position) const noexcept { return CMenu(::GetSubMenu(menu_, position), false); }

  bool AppendItem(UINT id, const wchar_t* text, UINT flags = MF_STRING) noexcept {
    return ::AppendMenuW(menu_, flags, id, text) != 0;
  }
  bool AppendSeparator() noexcept { return ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr) != 0; }
  bool EnableItem(UINT id, bool enable) noexcept {
    return ::EnableMenuItem(menu_, id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED)) != -1;
  }
  bool IsItemEnabled(UINT id) const noexcept {
    UINT state = ::GetMenuState(menu_, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
  }
  bool CheckItem(UINT id, bool check) noexcept {
    return ::CheckMenuItem(menu_, id, MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1);
  }
  bool SetDefaultItem(UINT id) noexcept { return ::SetMenuDefaultItem(menu_, id, FALSE) != 0; }

  // Shows the menu as a pop-up at a screen point. The owner window is brought to the
  // foreground first and poked afterwards, so the menu closes when the user clicks
  // elsewhere (needed for menus of notification-area icons). With TPM_RETURNCMD in
  // flags the chosen command is returned instead of being sent.
  UINT TrackPopup(HWND owner, POINT screenPoint, UINT flags = TPM_RIGHTBUTTON) const noexcept;

 private:
  void Reset() noexcept {
    if (menu_ && owns_) ::DestroyMenu(menu_);
    menu_ = nullptr;
  }
  HMENU menu_ = nullptr;
  bool owns_ = true;
};

}  // namespace wl
