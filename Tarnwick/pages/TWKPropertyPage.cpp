#include "TWKPropertyPage.h"

#include "TWKButton.h"
#include "TWKStatic.h"
#include "Resource.h"

CTWKPropertyPage::CTWKPropertyPage(UINT templateId, HINSTANCE resources)
    : CPropertyPage(templateId, resources), brush_(::CreateSolidBrush(RGB(255, 255, 255))) {}

CTWKPropertyPage::~CTWKPropertyPage() = default;

void CTWKPropertyPage::SetSkinBackground(COLORREF colour) {
  colour_ = colour;
  brush_.Reset(::CreateSolidBrush(colour));
  if (IsAttached()) Invalidate();
}

void CTWKPropertyPage::SetBackgroundBitmap(HBITMAP bitmap, BitmapMode mode) {
  bitmap_.Reset(bitmap);
  mode_ = mode;
  if (IsAttached()) Invalidate();
}

void CTWKPropertyPage::AttachSkinnedChildren() {
  for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (wl::CWindow::FromHandle(child)) continue;
    wchar_t name[32] = {};
    ::GetClassNameW(child, name, 32);
    if (::lstrcmpiW(name, L"Button") == 0) {
      auto button = std::make_unique<CTWKButton>();
      if (button->Attach(child)) children_.push_back(std::move(button));
    } else if (::lstrcmpiW(name, L"Static") == 0) {
      auto label = std::make_unique<CTWKStatic>();
      if (label->Attach(child)) children_.push_back(std::move(label));
    }
  }
}

void CTWKPropertyPage::EraseBackground(HDC dc) {
  RECT client = GetClientRect();
  ::FillRect(dc, &client, brush_);
  if (!bitmap_) return;
  BITMAP info{};
  ::GetObjectW(bitmap_.Get(), sizeof info, &info);
  if (info.bmWidth <= 0 || info.bmHeight <= 0) return;
  HDC memory = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(memory, bitmap_.Get());
  switch (mode_) {
    case BitmapMode::Tile:
      for (int y = 0; y < client.bottom; y += info.bmHeight) {
        for (int x = 0; x < client.right; x += info.bmWidth) {
          ::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        }
      }
      break;
    case BitmapMode::Centre: {
      const int x = info.bmWidth < client.right ? (client.right - info.bmWidth) / 2 : 0;
      const int y = info.bmHeight < client.bottom ? (client.bottom - info.bmHeight) / 2 : 0;
      ::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
      break;
    }
    case BitmapMode::Stretch:
      ::StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
      break;
  }
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

LRESULT CTWKPropertyPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      EraseBackground(reinterpret_cast<HDC>(wp));
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<LRESULT>(brush_.Get());
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      LRESULT result = 0;
      // Skinned controls answer for themselves; plain labels draw without background.
      LRESULT reflected = CPropertyPage::WindowProc(msg, wp, lp);
      if (reflected) return reflected;
      ::SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      result = reinterpret_cast<LRESULT>(brush_.Get());
      return result;
    }
    default:
      return CPropertyPage::WindowProc(msg, wp, lp);
  }
}

CTWKPlainPage::CTWKPlainPage() : CTWKPropertyPage(IDD_PLAIN_PAGE) {}
