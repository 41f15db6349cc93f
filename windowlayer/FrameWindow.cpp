#include "FrameWindow.h"

#include "Application.h"

namespace wl {

bool CFrameWindow::CreateFrame(const wchar_t* title, DWORD style, HWND parent) {
  RegisterClass(kClassName, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr,
                ::LoadIconW(nullptr, IDI_APPLICATION));
  CREATESTRUCTW create{};
  create.lpszName = title;
  create.lpszClass = kClassName;
  create.style = style;
  create.x = CW_USEDEFAULT;
  create.y = CW_USEDEFAULT;
  create.cx = CW_USEDEFAULT;
  create.cy = CW_USEDEFAULT;
  create.hwndParent = parent;
  create.hInstance = ::GetModuleHandleW(nullptr);
  if (!PreCreateWindow(create)) return false;
  return CreateAt(create.lpszClass, create.lpszName, static_cast<DWORD>(create.style), create.dwExStyle,
                  create.x, create.y, create.cx, create.cy, create.hwndParent,
                  reinterpret_cast<UINT_PTR>(create.hMenu));
}

void CFrameWindow::ActivateFrame(int showCommand) {
  ::ShowWindow(Handle(), showCommand);
  ::UpdateWindow(Handle());
}

void CFrameWindow::FitToView() {
  if (!activeView_ || !activeView_->IsAttached()) return;
  RECT viewRect = activeView_->GetWindowRectInParent();
  RECT wanted{0, 0, viewRect.right - viewRect.left, viewRect.bottom - viewRect.top};
  ::AdjustWindowRectEx(&wanted, static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_STYLE)),
                       ::GetMenu(Handle()) != nullptr,
                       static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_EXSTYLE)));
  fitToView_ = true;
  ::SetWindowPos(Handle(), nullptr, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  fitToView_ = false;
  ::SetWindowPos(activeView_->Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameWindow::RecalcLayout() {
  if (!activeView_ || !activeView_->IsAttached() || fitToView_) return;
  RECT client = GetClientRect();
  ::MoveWindow(activeView_->Handle(), 0, 0, client.right, client.bottom, TRUE);
}

bool CFrameWindow::OnCommand(WORD id, WORD code, HWND control) {
  return activeView_ && activeView_->IsAttached() && activeView_->RouteCommand(id, code, control);
}

LRESULT CFrameWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      int answer = OnCreate(reinterpret_cast<CREATESTRUCTW*>(lp));
      if (answer == -1) return -1;
      return Default(msg, wp, lp);
    }
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) RecalcLayout();
      return Default(msg, wp, lp);
    case WM_SETFOCUS:
      if (activeView_ && activeView_->IsAttached()) {
        ::SetFocus(activeView_->Handle());
        return 0;
      }
      break;
    case WM_NCDESTROY: {
      LRESULT result = CWindow::WindowProc(msg, wp, lp);
      CApplication* app = CApplication::Instance();
      if (app && app->GetMainWindow() == this) ::PostQuitMessage(0);
      return result;
    }
    default:
      break;
  }
  return CWindow::WindowProc(msg, wp, lp);
}

bool CFormView::CreateView(HWND frame, int id) {
  if (!CreateModeless(frame)) return false;
  ::SetWindowLongPtrW(Handle(), GWLP_ID, id);
  RECT rect = GetWindowRectInParent();
  templateSize_ = SIZE{rect.right - rect.left, rect.bottom - rect.top};
  ::ShowWindow(Handle(), SW_SHOWNA);
  return true;
}

}  // namespace wl
