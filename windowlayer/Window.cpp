#include "Window.h"

#include <vector>

namespace wl {

namespace {
constexpr wchar_t kObjectProperty[] = L"TwkWindowObject";
}  // namespace

CWindow::~CWindow() {
  if (!hwnd_) return;
  if (ownsWindow_ && ::IsWindow(hwnd_)) {
    // The window still exists: destroy it while the object can still take its messages
    // as a plain CWindow (derived parts are gone already).
    HWND hwnd = hwnd_;
    Detach();
    ::DestroyWindow(hwnd);
  } else {
    Detach();
  }
}

CWindow* CWindow::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  return static_cast<CWindow*>(::GetPropW(hwnd, kObjectProperty));
}

bool CWindow::RegisterClass(const wchar_t* name, UINT style, HBRUSH background, HCURSOR cursor,
                            HICON icon) {
  WNDCLASSEXW existing{sizeof existing};
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW wc{sizeof wc};
  wc.style = style;
  wc.lpfnWndProc = &CWindow::StaticWindowProc;
  wc.hInstance = instance;
  wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name;
  return ::RegisterClassExW(&wc) != 0;
}

bool CWindow::CreateAt(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                       int x, int y, int width, int height, HWND parent, UINT_PTR idOrMenu) {
  if (hwnd_) return false;
  if (!className) className = kGenericClass;
  if (className == kGenericClass || wcscmp(className, kGenericClass) == 0) RegisterClass(kGenericClass);
  HWND hwnd = ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(idOrMenu), ::GetModuleHandleW(nullptr), this);
  if (!hwnd) {
    Forget();
    return false;
  }
  if (!hwnd_ && !Attach(hwnd)) {  // a class that is not ours: subclass it now
    ::DestroyWindow(hwnd);
    return false;
  }
  ownsWindow_ = true;
  return true;
}

bool CWindow::Attach(HWND hwnd) {
  if (!hwnd || hwnd_ || FromHandle(hwnd)) return false;
  hwnd_ = hwnd;
  ::SetPropW(hwnd, kObjectProperty, this);
  auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (current != &CWindow::StaticWindowProc) {
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindow::StaticWindowProc)));
  }
  return true;
}

void CWindow::AttachCreated(HWND hwnd) noexcept {
  Attach(hwnd);
  ownsWindow_ = true;
}

HWND CWindow::Detach() noexcept {
  HWND hwnd = hwnd_;
  if (!hwnd) return nullptr;
  if (::IsWindow(hwnd)) {
    if (original_ && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) ==
                         &CWindow::StaticWindowProc) {
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    }
    ::RemovePropW(hwnd, kObjectProperty);
  }
  Forget();
  return hwnd;
}

void CWindow::Forget() noexcept {
  hwnd_ = nullptr;
  original_ = nullptr;
  ownsWindow_ = false;
}

void CWindow::DestroyWindow() noexcept {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

std::wstring CWindow::GetText() const {
  int length = ::GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = ::GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

RECT CWindow::GetClientRect() const noexcept {
  RECT rc{};
  ::GetClientRect(hwnd_, &rc);
  return rc;
}

RECT CWindow::GetWindowRectInParent() const noexcept {
  RECT rc{};
  ::GetWindowRect(hwnd_, &rc);
  HWND parent = ::GetParent(hwnd_);
  if (parent && (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) {
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
  }
  return rc;
}

LRESULT CWindow::Default(UINT msg, WPARAM wp, LPARAM lp) {
  if (original_) return ::CallWindowProcW(original_, hwnd_, msg, wp, lp);
  return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

bool CWindow::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      child = reinterpret_cast<HWND>(lp);
      break;
    default:
      return false;
  }
  CWindow* target = FromHandle(child);
  return target && target->OnReflectedMessage(msg, wp, lp, result);
}

LRESULT CWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (ReflectToChild(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
      break;
    case WM_TIMER:
      if (OnTimer(wp)) return 0;
      break;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

LRESULT CALLBACK CWindow::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CWindow* self = FromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
    // Our classes are only created by Create(), which passes the object.
    self = static_cast<CWindow*>(create->lpCreateParams);
    if (self && self->hwnd_) self = nullptr;
    if (self) {
      self->hwnd_ = hwnd;
      ::SetPropW(hwnd, kObjectProperty, self);
    }
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = self->WindowProc(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::RemovePropW(hwnd, kObjectProperty);
    self->Forget();
    self->OnFinalMessage();
  }
  return result;
}

}  // namespace wl
