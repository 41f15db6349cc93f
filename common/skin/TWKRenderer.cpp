#include "TWKRenderer.h"

#include <exception>

#include "TWKButton.h"
#include "TWKStatic.h"
#include "SkinnedDialog.h"
#include "WideFormat.h"

namespace {

CTWKRenderer::Reporting& CurrentReporting() {
  static CTWKRenderer::Reporting reporting;
  return reporting;
}

void ReportException(const wchar_t* function, const wchar_t* activityName) {
  DWORD error = ::GetLastError();
  auto& reporting = CurrentReporting();
  if (reporting.exception) reporting.exception(function, error);
  if (reporting.activityLog) reporting.activityLog(twk::Format(L"%s - Exception. Error = %d", activityName, error));
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  return name;
}

bool ClassIs(HWND hwnd, const wchar_t* name) { return lstrcmpiW(ClassOf(hwnd).c_str(), name) == 0; }

UINT ImageNumber(const std::wstring& image) {
  long number = twk::skin::ParseLeadingInteger(image);
  return number > 0 ? static_cast<UINT>(number) : 0;
}

std::wstring LowerExtension(const std::wstring& name) {
  size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return {};
  std::wstring extension = name.substr(dot + 1);
  for (auto& c : extension) c = static_cast<wchar_t>(::towlower(c));
  return extension;
}

}  // namespace

void CTWKRenderer::SetReporting(Reporting reporting) { CurrentReporting() = std::move(reporting); }

CTWKRenderer::CTWKRenderer(const twk::skin::ISkinSource* source)
    : source_(source ? source : &twk::skin::DefaultSkinSource()) {}

CTWKRenderer::~CTWKRenderer() {
  for (HANDLE icon : staticIcons_) ::DestroyIcon(static_cast<HICON>(icon));
}

bool CTWKRenderer::RenderFormFromResource(const wchar_t* number, const wchar_t* form, HWND window) {
  try {
    std::wstring layout = source_->FormLayout(ImageNumber(number ? number : L""));
    return RenderFormFromText(layout, form, window);
  } catch (...) {
    ReportException(L"CTWKRenderer::RenderFormFromResource", L"RenderFormFromResource");
    return true;
  }
}

bool CTWKRenderer::RenderFormFromResource(const wchar_t* number, const wchar_t* form, HWND window, HMODULE module) {
  try {
    std::wstring layout = twk::skin::LoadLayoutText(module, ImageNumber(number ? number : L""));
    return RenderFormFromText(layout, form, window);
  } catch (...) {
    ReportException(L"CTWKRenderer::RenderFormFromResource", L"RenderFormFromResource");
    return true;
  }
}

bool CTWKRenderer::RenderFormFromText(const std::wstring& layout, const wchar_t* form, HWND window) {
  try {
    if (!document_.LoadText(layout)) {
      if (auto& log = CurrentReporting().activityLog) {
        log(twk::Format(L"RenderFormFromResource - LoadXML Failed for form - %s", form ? form : L""));
      }
      return true;
    }
    return RenderLoadedForm(form, window, ImageOrigin::Resource);
  } catch (...) {
    ReportException(L"CTWKRenderer::RenderFormFromResource", L"RenderFormFromResource");
    return true;
  }
}

bool CTWKRenderer::RenderForm(const wchar_t* form, HWND window) {
  try {
    std::wstring path = SkinFolder() + L"xml\\" + (form ? form : L"") + L".xml";
    if (!document_.LoadFile(path)) return true;
    return RenderLoadedForm(form, window, ImageOrigin::File);
  } catch (...) {
    ReportException(L"CTWKRenderer::RenderForm", L"RenderForm");
    return true;
  }
}

bool CTWKRenderer::RenderControlFromResource(HWND window, const wchar_t* number, const wchar_t* form, int id) {
  try {
    std::wstring layout = source_->ControlLayout(ImageNumber(number ? number : L""));
    if (!document_.LoadText(layout)) return true;
    std::wstring formName = form ? form : L"";
    if (ClassIs(window, L"#32770")) ApplyFormBackground(formName, window);
    skin_ = document_.ReadElement(formName, id);
    ApplyToControl(window, ImageOrigin::Resource);
    return true;
  } catch (...) {
    ReportException(L"CTWKRenderer::RenderControlFromResource", L"RenderControlFromResource");
    return true;
  }
}

bool CTWKRenderer::RenderLoadedForm(const wchar_t* form, HWND window, ImageOrigin images) {
  std::wstring formName = form ? form : L"";
  ApplyFormBackground(formName, window);
  // Collect first: applying a skin never adds or removes children, but stay safe.
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  for (HWND child : children) {
    skin_ = document_.ReadElement(formName, ::GetDlgCtrlID(child));
    ApplyToControl(child, images);
  }
  return true;
}

void CTWKRenderer::ApplyFormBackground(const std::wstring& form, HWND window) {
  skin_ = document_.ReadElement(form, 0);
  if (!ClassIs(window, L"#32770")) return;
  if (auto* skinned = dynamic_cast<twk::skin::ISkinBackground*>(wl::CWindow::FromHandle(window))) {
    skinned->SetSkinBackground(skin_.backColour);
  }
}

void CTWKRenderer::ApplyToControl(HWND control, ImageOrigin images) {
  normalImage_ = skin_.normalImage;
  hoverImage_ = skin_.hoverImage;
  ::MoveWindow(control, skin_.x, skin_.y, skin_.width, skin_.height, TRUE);
  wl::CWindow* object = wl::CWindow::FromHandle(control);
  if (ClassIs(control, L"Button")) {
    if (auto* label = dynamic_cast<CTWKStatic*>(object)) {
      label->SetFont(skin_.font);
      label->SetTextColor(skin_.frontColour);
    } else if (auto* button = dynamic_cast<CTWKButton*>(object)) {
      button->SetFont(skin_.font);
      for (auto state : {CTWKButton::State::In, CTWKButton::State::Out, CTWKButton::State::Focus}) {
        button->SetColour(state, CTWKButton::Part::Background, skin_.backColour, true);
        button->SetColour(state, CTWKButton::Part::Text, skin_.frontColour, true);
      }
      if (!normalImage_.empty()) {
        const std::wstring extension = LowerExtension(normalImage_);
        if (images == ImageOrigin::File && (extension == L"ico" || extension == L"cur")) {
          UINT type = 0;
          HANDLE normal = LoadFileImage(normalImage_, control, type);
          HANDLE hover = LoadFileImage(hoverImage_, control, type);
          button->SetIcons(static_cast<HICON>(normal), static_cast<HICON>(hover));
        } else {
          HBITMAP normal = LoadImageBitmap(normalImage_, images, control);
          HBITMAP hover = LoadImageBitmap(hoverImage_, images, control);
          button->SetBitmaps(normal, RGB(255, 255, 255), hover, RGB(255, 255, 255));
        }
      }
    }
  } else if (ClassIs(control, L"Static")) {
    auto* label = dynamic_cast<CTWKStatic*>(object);
    if (label) {
      label->SetFont(skin_.font);
      label->SetTextColor(skin_.frontColour);
      label->SetBkColor(skin_.backColour);
    }
    if (!normalImage_.empty()) {
      if (images == ImageOrigin::File &&
          (LowerExtension(normalImage_) == L"ico" || LowerExtension(normalImage_) == L"cur")) {
        UINT type = 0;
        if (HANDLE icon = LoadFileImage(normalImage_, control, type)) {
          LONG style = ::GetWindowLongW(control, GWL_STYLE);
          ::SetWindowLongW(control, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_ICON);
          ::SendMessageW(control, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(icon));
          staticIcons_.push_back(icon);
        }
      } else if (HBITMAP picture = LoadImageBitmap(normalImage_, images, control)) {
        if (label) {
          label->SetBitmap(picture);
        } else {
          LONG style = ::GetWindowLongW(control, GWL_STYLE);
          ::SetWindowLongW(control, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_BITMAP);
          ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
          staticPictures_.emplace_back(picture);
        }
      }
    }
  }
  // Edit boxes, lists, trees, tabs and progress bars are only moved.
}

namespace {
std::wstring& SkinFolderOverride() {
  static std::wstring folder;
  return folder;
}
}  // namespace

void CTWKRenderer::SetSkinFolder(const std::wstring& folder) { SkinFolderOverride() = folder; }

std::wstring CTWKRenderer::SkinFolder() {
  if (!SkinFolderOverride().empty()) return SkinFolderOverride();
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  size_t slash = folder.rfind(L'\\');
  folder.resize(slash == std::wstring::npos ? 0 : slash);
  return folder + L"\\Skin\\";
}

HANDLE CTWKRenderer::LoadFileImage(const std::wstring& image, HWND control, UINT& type) {
  if (image.empty()) return nullptr;
  std::wstring extension = LowerExtension(image);
  type = extension == L"cur" ? IMAGE_CURSOR : IMAGE_ICON;
  std::wstring path = SkinFolder() + L"images\\" + image;
  return ::LoadImageW(nullptr, path.c_str(), type, 0, 0, LR_LOADFROMFILE);
}

HBITMAP CTWKRenderer::LoadImageBitmap(const std::wstring& image, ImageOrigin origin, HWND control) {
  if (image.empty()) return nullptr;
  if (origin == ImageOrigin::Resource) return source_->Bitmap(ImageNumber(image));
  std::wstring path = SkinFolder() + L"images\\" + image;
  std::wstring extension = LowerExtension(image);
  if (extension == L"bmp") {
    return static_cast<HBITMAP>(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  }
  if (extension != L"jpg") return nullptr;
  // A JPEG is drawn stretched to the control's client area.
  if (!images_.LoadFromFile(path)) return nullptr;
  RECT client{};
  ::GetClientRect(control, &client);
  if (client.right <= 0 || client.bottom <= 0) return nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  {
    wl::CMemoryDC memory(screen);
    wl::CSelectObject select(memory, bitmap);
    images_.Draw(memory, 0, 0, client.right, client.bottom);
  }
  ::ReleaseDC(nullptr, screen);
  images_.Release();
  return bitmap;
}
