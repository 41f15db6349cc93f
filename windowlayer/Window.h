#pragma once
// The base of every window object: wraps one HWND and routes its messages through one
// virtual WindowProc (a static window procedure finds the object and calls it).
// Windows are either created by the object (Create, dialogs, frames) or attached to an
// existing control by subclassing (Attach, SubclassDlgItem). Messages a parent gets
// about a child (drawing, colours, notifications, commands) are offered first to the
// child's object as reflected messages, so controls draw themselves.
#include <windows.h>

#include <string>

namespace wl {

class CWindow {
 public:
  CWindow() noexcept = default;
  virtual ~CWindow();
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;

  HWND Handle() const noexcept { return hwnd_; }
  operator HWND() const noexcept { return hwnd_; }
  bool IsAttached() const noexcept { return hwnd_ != nullptr; }

  // The object attached to a window, or nullptr.
  static CWindow* FromHandle(HWND hwnd) noexcept;

  // Creates a window of our own generic class ("TwkWindow") or of any registered
  // class (system controls included); the object sees messages from WM_NCCREATE on for
  // our classes and from the return of CreateWindowEx on for other classes.
  bool Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
              const RECT& rect, HWND parent, UINT_PTR idOrMenu = 0) {
    return CreateAt(className, title, style, exStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, idOrMenu);
  }
  // The same with position and size as CreateWindowEx takes them (CW_USEDEFAULT allowed).
  bool CreateAt(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                int width, int height, HWND parent, UINT_PTR idOrMenu = 0);
  // Subclasses an existing window; fails when another object is attached.
  bool Attach(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent) { return Attach(::GetDlgItem(parent, id)); }
  // Puts the original window procedure back and forgets the window.
  HWND Detach() noexcept;
  // Destroys the window (the object stays usable for a new window).
  void DestroyWindow() noexcept;

  // Registers one of our window classes (idempotent); its procedure is ours.
  static bool RegisterClass(const wchar_t* name, UINT style = CS_DBLCLKS, HBRUSH background = nullptr,
                            HCURSOR cursor = nullptr, HICON icon = nullptr);
  static constexpr const wchar_t* kGenericClass = L"TwkWindow";

  // Small conveniences.
  HWND GetDlgItem(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }
  int GetDlgCtrlID() const noexcept { return ::GetDlgCtrlID(hwnd_); }
  HWND GetParent() const noexcept { return ::GetParent(hwnd_); }
  std::wstring GetText() const;
  void SetText(const std::wstring& text) noexcept { ::SetWindowTextW(hwnd_, text.c_str()); }
  void MoveWindow(int x, int y, int width, int height, bool repaint = true) noexcept {
    ::MoveWindow(hwnd_, x, y, width, height, repaint);
  }
  RECT GetClientRect() const noexcept;
  RECT GetWindowRectInParent() const noexcept;  // in the parent's client coordinates
  void Invalidate(bool erase = true) noexcept { ::InvalidateRect(hwnd_, nullptr, erase); }
  void ShowWindow(int command) noexcept { ::ShowWindow(hwnd_, command); }
  LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept {
    return ::SendMessageW(hwnd_, msg, wp, lp);
  }
  BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept {
    return ::PostMessageW(hwnd_, msg, wp, lp);
  }
  UINT_PTR SetTimer(UINT_PTR id, UINT periodMs) noexcept { return ::SetTimer(hwnd_, id, periodMs, nullptr); }
  BOOL KillTimer(UINT_PTR id) noexcept { return ::KillTimer(hwnd_, id); }

 protected:
  // The one dispatch point. Overrides handle what they need and call the base for the
  // rest; the base reflects child messages, calls OnCommand/OnTimer and otherwise the
  // default processing.
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  // The default processing: the original procedure of a subclassed window, or
  // DefWindowProc.
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

  // A message that the parent received about this window (WM_DRAWITEM,
  // WM_CTLCOLOR*, WM_NOTIFY, WM_COMMAND, WM_HSCROLL, WM_VSCROLL). Return true and set
  // result to answer it in the parent's place.
  virtual bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }
  // WM_COMMAND (menu, accelerator or control notification not taken by the control).
  virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }
  virtual bool OnTimer(UINT_PTR id) { return false; }
  // Called after the window has received its last message.
  virtual void OnFinalMessage() {}

  // Used by dialogs and other windows whose creation we do not drive.
  void AttachCreated(HWND hwnd) noexcept;
  void SetOwnsWindow(bool owns) noexcept { ownsWindow_ = owns; }

  static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  static bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void Forget() noexcept;

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;  // nullptr: DefWindowProc
  bool ownsWindow_ = false;
};

}  // namespace wl
