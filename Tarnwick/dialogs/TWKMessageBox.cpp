#include "TWKMessageBox.h"

#include <cmath>

#include "TarnwickApp.h"
#include "WindowShape.h"

namespace {
// The Yes and No buttons of the layout (their results are IDYES and IDNO).
constexpr int kYesControl = 3;
constexpr int kNoControl = 4;
constexpr int kTitleStrips[] = {1010, 1015, 1016};
constexpr int kBodies[] = {1014, 1017, 1018};

void MoveX(HWND dialog, int id, int x) {
  HWND control = ::GetDlgItem(dialog, id);
  if (!control) return;
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  ::SetWindowPos(control, nullptr, x, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Resize(HWND dialog, int id, int width, int height) {
  HWND control = ::GetDlgItem(dialog, id);
  if (!control) return;
  RECT rect{};
  ::GetWindowRect(control, &rect);
  if (width <= 0) width = rect.right - rect.left;
  ::SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowItem(HWND dialog, int id, bool show) {
  if (HWND control = ::GetDlgItem(dialog, id)) ::ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
}
}  // namespace

const CTWKMessageBox::WidthClass& CTWKMessageBox::ClassOf(int widthClass) {
  static constexpr WidthClass kClasses[] = {
      {350, 0, 86, 176, 135, 0},
      {403, 383, 112, 202, 183, 328},
      {432, 412, 136, 226, 171, 357},
  };
  return kClasses[(widthClass >= 0 && widthClass <= 2) ? widthClass : 0];
}

CTWKMessageBox::CTWKMessageBox(int widthClass, HWND parent)
    : CTWKPopupBase(286, RGB(238, 238, 238)), widthClass_(widthClass), parent_(parent) {
  width_ = ClassOf(widthClass).width;
}

int CTWKMessageBox::CloseResult(int buttons) {
  switch (buttons) {
    case MB_OK: return IDOK;
    case MB_OKCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return 0;
  }
}

int CTWKMessageBox::Show(const std::wstring& text, int buttons, int icon) {
  return Show(text, false, L"", false, buttons, icon);
}

int CTWKMessageBox::Show(const std::wstring& text, bool flag1, const std::wstring& second, bool flag2, int buttons,
                         int icon) {
  text_ = text;
  second_ = second;
  flag1_ = flag1 ? 1 : 0;
  flag2_ = flag2 ? 1 : 0;
  buttons_ = buttons;
  icon_ = icon;
  CTarnwickApp* app = CTarnwickApp::Instance();
  if (app) app->messageBoxShown = 1;
  HWND owner = parent_;
  wl::CWindow* main = app ? app->GetMainWindow() : nullptr;
  if (!main || !main->IsAttached() || ::IsIconic(*main)) owner = nullptr;
  parent_ = owner;
  const INT_PTR result = DoModal(owner ? owner : ::GetDesktopWindow());
  if (app) app->messageBoxShown = 0;
  return static_cast<int>(result);
}

BOOL CTWKMessageBox::OnInitDialog() {
  ::SetWindowTextW(Handle(), kTarnwickSystemName);
  SetSkinBackground(RGB(238, 238, 238));
  RECT parent{};
  ::GetWindowRect(parent_ ? parent_ : ::GetDesktopWindow(), &parent);
  const int x = parent.left + ((parent.right - parent.left) - width_) / 2;
  const int y = parent.top + ((parent.bottom - parent.top) - height_) / 2;
  ::SetWindowPos(Handle(), nullptr, x, y, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  for (int i = 0; i < 3; ++i) {
    ShowItem(Handle(), kTitleStrips[i], i == widthClass_);
    ShowItem(Handle(), kBodies[i], i == widthClass_);
  }
  wl::SetRoundedWindowRegion(Handle(),
                             RECT{0, 0, static_cast<int>(std::lround(width_ + 0.5)),
                                  static_cast<int>(std::lround(height_ + 0.5))},
                             10, 10);
  RenderForm(L"327", L"MessageBox");
  // The layout sizes the window as class 0; the class decides.
  ::SetWindowPos(Handle(), nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int i = 0; i < 3; ++i) {
    ShowItem(Handle(), kTitleStrips[i], i == widthClass_);
    ShowItem(Handle(), kBodies[i], i == widthClass_);
  }
  PlaceControls();
  ::ShowWindow(Handle(), SW_SHOWNA);
  return FALSE;
}

void CTWKMessageBox::PlaceControls() {
  const WidthClass& cls = ClassOf(widthClass_);
  if (widthClass_ != 0) {
    MoveX(Handle(), IDOK, cls.okX);
    MoveX(Handle(), kYesControl, cls.okX);
    MoveX(Handle(), IDCANCEL, cls.cancelX);
    MoveX(Handle(), kNoControl, cls.cancelX);
    MoveX(Handle(), 1013, cls.singleX);
    MoveX(Handle(), 150, cls.closeX);
  }
  if (icon_ == MB_ICONERROR || icon_ == MB_ICONQUESTION || icon_ == MB_ICONWARNING) {
    ShowItem(Handle(), 1019, icon_ == MB_ICONERROR);
    ShowItem(Handle(), 1009, icon_ == MB_ICONQUESTION);
    ShowItem(Handle(), 1020, icon_ == MB_ICONWARNING);
  }
  if (buttons_ == MB_OK || buttons_ == MB_OKCANCEL || buttons_ == MB_YESNO) {
    ShowItem(Handle(), 1013, buttons_ == MB_OK);
    ShowItem(Handle(), IDOK, buttons_ == MB_OKCANCEL);
    ShowItem(Handle(), IDCANCEL, buttons_ == MB_OKCANCEL);
    ShowItem(Handle(), kYesControl, buttons_ == MB_YESNO);
    ShowItem(Handle(), kNoControl, buttons_ == MB_YESNO);
  }
  SetItemText(1011, text_);
  SetItemText(1012, second_);
  ShowItem(Handle(), 1011, !text_.empty());
  ShowItem(Handle(), 1012, !second_.empty());
  const int textWidth = cls.textWidth;
  Resize(Handle(), 1011, textWidth, second_.empty() ? 50 : 18);
  Resize(Handle(), 1012, textWidth, text_.empty() ? 32 : 18);
}

bool CTWKMessageBox::OnCommand(WORD id, WORD code, HWND control) {
  if (code != BN_CLICKED) return CTWKPopupBase::OnCommand(id, code, control);
  if (!control && (id == IDOK || id == IDCANCEL)) {
    // Enter and Escape.
    if (id == IDCANCEL) {
      OnCancel();
    } else if (buttons_ == MB_OK || buttons_ == MB_OKCANCEL) {
      Finish(IDOK);
    }
    return true;
  }
  switch (id) {
    case 1013: Finish(IDOK); return true;
    case IDOK: Finish(IDOK); return true;
    case IDCANCEL: Finish(IDCANCEL); return true;
    case kYesControl: Finish(IDYES); return true;
    case kNoControl: Finish(IDNO); return true;
    case 150:
      if (int result = CloseResult(buttons_)) Finish(result);
      return true;
    default: return CTWKPopupBase::OnCommand(id, code, control);
  }
}

void CTWKMessageBox::OnCancel() {
  // Escape and the window's close message act as the close button.
  if (int result = CloseResult(buttons_)) Finish(result);
}

void CTWKMessageBox::Finish(int result) {
  if (CTarnwickApp* app = CTarnwickApp::Instance()) app->messageBoxShown = 0;
  EndDialog(result);
}

int TWKMessage(const std::wstring& text, int buttons, int icon) {
  CTarnwickApp* app = CTarnwickApp::Instance();
  wl::CWindow* main = app ? app->GetMainWindow() : nullptr;
  CTWKMessageBox box(0, main && main->IsAttached() ? main->Handle() : nullptr);
  return box.Show(text, buttons, icon);
}
