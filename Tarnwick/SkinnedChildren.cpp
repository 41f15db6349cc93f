#include "SkinnedChildren.h"

void CSkinnedChildren::AttachAll(HWND window) {
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (wl::CWindow::FromHandle(child)) continue;
    wchar_t name[32] = {};
    ::GetClassNameW(child, name, 32);
    if (::lstrcmpiW(name, L"Button") == 0) {
      auto button = std::make_unique<CTWKButton>();
      if (button->Attach(child)) owned_.push_back(std::move(button));
    } else if (::lstrcmpiW(name, L"Static") == 0) {
      auto label = std::make_unique<CTWKStatic>();
      if (label->Attach(child)) owned_.push_back(std::move(label));
    }
  }
}

void CSkinnedChildren::FormButtonLook() {
  for (auto& window : owned_) {
    if (auto* button = dynamic_cast<CTWKButton*>(window.get())) {
      button->SetFlat(true, false);
      button->SetDrawBorder(false, false);
      button->SetFocusOnFlat(false, false);
      button->SetAlignment(3);
    }
  }
}

CTWKButton* CSkinnedChildren::Button(int id) const {
  for (auto& window : owned_) {
    if (window->GetDlgCtrlID() == id) {
      if (auto* button = dynamic_cast<CTWKButton*>(window.get())) return button;
    }
  }
  return nullptr;
}

CTWKStatic* CSkinnedChildren::Static(int id) const {
  for (auto& window : owned_) {
    if (window->GetDlgCtrlID() == id) {
      if (auto* label = dynamic_cast<CTWKStatic*>(window.get())) return label;
    }
  }
  return nullptr;
}
