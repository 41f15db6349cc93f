#pragma once
// What the skin and control tests share: a memory picture of a window, and a modeless
// dialog from the test templates with its controls attached by the test.
#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "Gdi.h"
#include "SkinnedDialog.h"
#include "TestWindow.h"
#include "resources/SkinTestIds.h"

namespace skintest {

inline void InitControls() {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&init);
}

// A bitmap the size of a window's client area, filled by a drawing step.
class Picture {
 public:
  Picture(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    wl::CBrush magenta = wl::MakeSolidBrush(RGB(255, 0, 255));
    FillRect(dc_, &all, magenta);
  }
  ~Picture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  HDC Dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The window's client area as the window paints it into a DC.
  static Picture OfClient(HWND hwnd, UINT flags = PRF_CLIENT | PRF_ERASEBKGND) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Picture picture(client.right, client.bottom);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Dc()), flags);
    return picture;
  }
  Picture(Picture&& other) noexcept
      : width_(other.width_), height_(other.height_), dc_(other.dc_), bitmap_(other.bitmap_), old_(other.old_) {
    other.dc_ = nullptr;
    other.bitmap_ = nullptr;
    other.old_ = nullptr;
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// What is on the screen in a window's client area now (GetDC of the window).
inline COLORREF ScreenPixel(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return colour;
}

// A solid bitmap with a white frame of 4 pixels (white is the transparent colour).
inline HBITMAP FramedSquare(COLORREF colour, int size = 20) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, size, size};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RECT inner{4, 4, size - 4, size - 4};
  wl::CBrush brush = wl::MakeSolidBrush(colour);
  FillRect(memory, &inner, brush);
  SelectObject(memory, old);
  DeleteDC(memory);
  return bitmap;
}

// A modeless dialog from a test template; attach() runs at WM_INITDIALOG.
class TestDialog : public twk::skin::CSkinnedDialog {
 public:
  explicit TestDialog(UINT templateId, std::function<void(TestDialog&)> attach = nullptr)
      : CSkinnedDialog(templateId), attach_(std::move(attach)) {
    InitControls();
  }
  bool Open() {
    if (!CreateModeless(nullptr)) return false;
    SetWindowPos(Handle(), HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    twktest::PumpFor(50);
    return true;
  }
  // Sees every message of the dialog first; return true to answer it.
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> hook;
  // Commands as the dialog's own handler sees them (after the control has had them).
  std::function<void(WORD id, WORD code)> onCommand;

  ~TestDialog() override {
    if (IsAttached()) {
      SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      DestroyWindow();
    }
  }

 protected:
  BOOL OnInitDialog() override {
    if (attach_) attach_(*this);
    // No focus: focusing a control would activate the dialog, and hiding an activated
    // window waits two seconds for a window manager that Xvfb does not have.
    return FALSE;
  }
  bool OnCommand(WORD id, WORD code, HWND control) override {
    if (onCommand) onCommand(id, code);
    return CSkinnedDialog::OnCommand(id, code, control);
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    LRESULT result = 0;
    if (hook && hook(msg, wp, lp, result)) return result;
    return CSkinnedDialog::WindowProc(msg, wp, lp);
  }

 private:
  std::function<void(TestDialog&)> attach_;
};

}  // namespace skintest
