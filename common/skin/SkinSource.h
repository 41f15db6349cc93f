#pragma once
// Where a renderer finds layouts and images: modules searched in order for layout
// resources (type 23, UTF-16) and one module for image resources (type 10).
#include <windows.h>

#include <string>
#include <vector>

namespace twk::skin {

// The UTF-16 text of resource number of type 23 in module (size in bytes / 2
// characters); empty when it is missing.
std::wstring LoadLayoutText(HMODULE module, UINT number);

class ISkinSource {
 public:
  virtual ~ISkinSource() = default;
  // The layout of a whole form (empty when no module has it).
  virtual std::wstring FormLayout(UINT number) const = 0;
  // The layout a single control is re-applied from (the language module).
  virtual std::wstring ControlLayout(UINT number) const = 0;
  // A bitmap the caller owns, or nullptr.
  virtual HBITMAP Bitmap(UINT number) const = 0;
};

// Forms from the first module in layoutModules that has them (for the main program:
// its language module, then its own module); controls from the first module only;
// images from imageModule.
class CModuleSkinSource : public ISkinSource {
 public:
  CModuleSkinSource(std::vector<HMODULE> layoutModules, HMODULE imageModule,
                    std::wstring logSystem = L"Tarnwick Pro")
      : layoutModules_(std::move(layoutModules)), imageModule_(imageModule), logSystem_(std::move(logSystem)) {}

  std::wstring FormLayout(UINT number) const override;
  std::wstring ControlLayout(UINT number) const override;
  HBITMAP Bitmap(UINT number) const override;

 private:
  std::vector<HMODULE> layoutModules_;
  HMODULE imageModule_;
  std::wstring logSystem_;
};

// The source renderers use when none is given: set once by the program's start-up.
// Without one, layouts and images come from the program's own module.
void SetDefaultSkinSource(const ISkinSource* source) noexcept;
const ISkinSource& DefaultSkinSource() noexcept;

}  // namespace twk::skin
