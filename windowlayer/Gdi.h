#pragma once
// Owners for GDI objects, device contexts, icons and cursors, and a guard that puts
// back what a selection replaced.
#include <windows.h>

#include <utility>

namespace wl {

// A GDI object (brush, pen, font, bitmap, region) deleted when its owner ends.
template <typename T>
class CGdiObject {
 public:
  CGdiObject() noexcept = default;
  explicit CGdiObject(T handle) noexcept : handle_(handle) {}
  ~CGdiObject() { Reset(); }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  CGdiObject(CGdiObject&& other) noexcept : handle_(other.Release()) {}
  CGdiObject& operator=(CGdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  T Get() const noexcept { return handle_; }
  operator T() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  T Release() noexcept { return std::exchange(handle_, nullptr); }
  void Reset(T handle = nullptr) noexcept {
    if (handle_ && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  T handle_ = nullptr;
};

using CBrush = CGdiObject<HBRUSH>;
using CPen = CGdiObject<HPEN>;
using CFont = CGdiObject<HFONT>;
using CBitmap = CGdiObject<HBITMAP>;
using CRgn = CGdiObject<HRGN>;

inline CBrush MakeSolidBrush(COLORREF colour) { return CBrush(CreateSolidBrush(colour)); }

// The description of a font of the given face and point size on the screen (weight
// left to the caller).
inline LOGFONTW PointFontDescription(const wchar_t* face, int points) {
  LOGFONTW font{};
  HDC screen = GetDC(nullptr);
  font.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, face ? face : L"", LF_FACESIZE);
  return font;
}

// Selects an object into a DC and selects the previous one back at scope end.
class CSelectObject {
 public:
  CSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~CSelectObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  CSelectObject(const CSelectObject&) = delete;
  CSelectObject& operator=(const CSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint/EndPaint.
class CPaintDC {
 public:
  explicit CPaintDC(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~CPaintDC() { EndPaint(hwnd_, &ps_); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;
  HDC Get() const noexcept { return dc_; }
  operator HDC() const noexcept { return dc_; }
  const PAINTSTRUCT& Paint() const noexcept { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// GetDC (client area) or GetWindowDC (whole window) with ReleaseDC.
class CClientDC {
 public:
  explicit CClientDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~CClientDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;
  HDC Get() const noexcept { return dc_; }
  operator HDC() const noexcept { return dc_; }

 protected:
  CClientDC(HWND hwnd, HDC dc) noexcept : hwnd_(hwnd), dc_(dc) {}

 private:
  HWND hwnd_;
  HDC dc_;
};

class CWindowDC : public CClientDC {
 public:
  explicit CWindowDC(HWND hwnd) noexcept : CClientDC(hwnd, GetWindowDC(hwnd)) {}
};

// A memory DC compatible with another DC; deleted at scope end.
class CMemoryDC {
 public:
  explicit CMemoryDC(HDC compatibleWith) noexcept : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~CMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;
  HDC Get() const noexcept { return dc_; }
  operator HDC() const noexcept { return dc_; }

 private:
  HDC dc_;
};

// Draws into a memory bitmap and copies it to the target DC in one step at scope end.
class CBufferedPaint {
 public:
  CBufferedPaint(HDC target, const RECT& area) noexcept
      : target_(target), area_(area), memory_(target),
        bitmap_(CreateCompatibleBitmap(target, Width(), Height())),
        select_(memory_, bitmap_) {
    SetViewportOrgEx(memory_, -area.left, -area.top, nullptr);
  }
  ~CBufferedPaint() {
    SetViewportOrgEx(memory_, 0, 0, nullptr);
    BitBlt(target_, area_.left, area_.top, Width(), Height(), memory_, 0, 0, SRCCOPY);
  }
  CBufferedPaint(const CBufferedPaint&) = delete;
  CBufferedPaint& operator=(const CBufferedPaint&) = delete;
  HDC Get() const noexcept { return memory_; }
  operator HDC() const noexcept { return memory_; }

 private:
  int Width() const noexcept { return area_.right - area_.left; }
  int Height() const noexcept { return area_.bottom - area_.top; }
  HDC target_;
  RECT area_;
  CMemoryDC memory_;
  CBitmap bitmap_;
  CSelectObject select_;
};

struct IconTraits {
  static void Destroy(HICON icon) noexcept { DestroyIcon(icon); }
};
struct CursorTraits {
  static void Destroy(HCURSOR cursor) noexcept { DestroyCursor(cursor); }
};

// An icon or cursor that we created (not a shared system one).
template <typename T, typename Traits>
class CIconOwner {
 public:
  CIconOwner() noexcept = default;
  explicit CIconOwner(T handle) noexcept : handle_(handle) {}
  ~CIconOwner() { Reset(); }
  CIconOwner(const CIconOwner&) = delete;
  CIconOwner& operator=(const CIconOwner&) = delete;
  CIconOwner(CIconOwner&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  CIconOwner& operator=(CIconOwner&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  T Get() const noexcept { return handle_; }
  operator T() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  void Reset(T handle = nullptr) noexcept {
    if (handle_ && handle_ != handle) Traits::Destroy(handle_);
    handle_ = handle;
  }

 private:
  T handle_ = nullptr;
};

using CIcon = CIconOwner<HICON, IconTraits>;
using CCursor = CIconOwner<HCURSOR, CursorTraits>;

}  // namespace wl
