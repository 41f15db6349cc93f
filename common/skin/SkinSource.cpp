#include "SkinSource.h"

#include "SkinBitmap.h"

namespace twk::skin {

std::wstring LoadLayoutText(HMODULE module, UINT number) {
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(23));
  if (!resource) return {};
  HGLOBAL loaded = ::LoadResource(module, resource);
  const auto* text = loaded ? static_cast<const wchar_t*>(::LockResource(loaded)) : nullptr;
  if (!text) return {};
  size_t characters = ::SizeofResource(module, resource) / sizeof(wchar_t);
  std::wstring layout(text, characters);
  // Resource data may be padded with zeros.
  while (!layout.empty() && layout.back() == L'\0') layout.pop_back();
  return layout;
}

std::wstring CModuleSkinSource::FormLayout(UINT number) const {
  for (HMODULE module : layoutModules_) {
    std::wstring text = LoadLayoutText(module, number);
    if (!text.empty()) return text;
  }
  return {};
}

std::wstring CModuleSkinSource::ControlLayout(UINT number) const {
  return layoutModules_.empty() ? std::wstring() : LoadLayoutText(layoutModules_.front(), number);
}

HBITMAP CModuleSkinSource::Bitmap(UINT number) const {
  return LoadBitmapResource(imageModule_, number, logSystem_.c_str());
}

namespace {
const ISkinSource* defaultSource = nullptr;
}

void SetDefaultSkinSource(const ISkinSource* source) noexcept { defaultSource = source; }

const ISkinSource& DefaultSkinSource() noexcept {
  static const CModuleSkinSource ownModule({::GetModuleHandleW(nullptr)}, ::GetModuleHandleW(nullptr));
  return defaultSource ? *defaultSource : ownModule;
}

}  // namespace twk::skin
