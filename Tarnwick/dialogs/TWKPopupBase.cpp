#include "TWKPopupBase.h"

#include "TWKRenderer.h"
#include "WindowShape.h"

CTWKPopupBase::CTWKPopupBase(UINT templateId, COLORREF controlBack)
    : CSkinnedDialog(templateId), controlBrush_(::CreateSolidBrush(controlBack)) {}

void CTWKPopupBase::RenderForm(const wchar_t* number, const wchar_t* form) {
  children_.AttachAll(Handle());
  CTWKRenderer renderer;
  renderer.RenderFormFromResource(number, form, Handle());
  children_.FormButtonLook();
}

void CTWKPopupBase::RoundCorners(int corner) {
  RECT window{};
  ::GetWindowRect(Handle(), &window);
  wl::SetRoundedWindowRegion(Handle(), RECT{0, 0, window.right - window.left, window.bottom - window.top}, corner,
                             corner);
}

void CTWKPopupBase::SetItemText(int id, const std::wstring& text) {
  ::SetDlgItemTextW(Handle(), id, text.c_str());
}

LRESULT CTWKPopupBase::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return wl::HitTestAsCaption(::DefWindowProcW(Handle(), msg, wp, lp));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      LRESULT answer = CSkinnedDialog::WindowProc(msg, wp, lp);
      if (answer) return answer;
      return reinterpret_cast<LRESULT>(controlBrush_.Get());
    }
    default:
      return CSkinnedDialog::WindowProc(msg, wp, lp);
  }
}

void CTWKPopupBase::SizeAndCentre(int width, int height) {
  HWND owner = ::GetWindow(Handle(), GW_OWNER);
  RECT area{};
  if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  const int x = area.left + ((area.right - area.left) - width) / 2;
  const int y = area.top + ((area.bottom - area.top) - height) / 2;
  ::SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTWKPopupBase::ShowLaidOut() { ::ShowWindow(Handle(), SW_SHOWNA); }
