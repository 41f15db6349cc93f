// The shipped layouts and the artwork of the language modules fit together: every image
// a layout names exists in the module the program takes images from, and decodes.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "Gdi.h"
#include "SkinBitmap.h"
#include "SkinLayoutDocument.h"
#include "SkinSource.h"

namespace {

class LanguageModule {
 public:
  explicit LanguageModule(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TWK_DIST_DIR", folder, MAX_PATH);
    std::wstring path = std::wstring(folder) + L"\\" + name;
    for (auto& c : path) {
      if (c == L'/') c = L'\\';
    }
    module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  ~LanguageModule() {
    if (module_) FreeLibrary(module_);
  }
  HMODULE Get() const { return module_; }

 private:
  HMODULE module_ = nullptr;
};

std::set<UINT> ImageNumbers(const std::wstring& layout) {
  std::set<UINT> numbers;
  static const std::wregex image(LR"re((NormalImage|HoverImage)="(\d+)")re");
  for (auto it = std::wsregex_iterator(layout.begin(), layout.end(), image); it != std::wsregex_iterator(); ++it) {
    numbers.insert(static_cast<UINT>(std::stoul((*it)[2].str())));
  }
  return numbers;
}

void ExpectLayoutWithImages(HMODULE layouts, UINT number, const wchar_t* form, HMODULE images) {
  std::wstring layout = twk::skin::LoadLayoutText(layouts, number);
  ASSERT_FALSE(layout.empty()) << "layout " << number;
  twk::skin::CSkinLayoutDocument document;
  ASSERT_TRUE(document.LoadText(layout)) << "layout " << number << " is well-formed";
  std::set<UINT> numbers = ImageNumbers(layout);
  EXPECT_FALSE(numbers.empty()) << "layout " << number;
  for (UINT image : numbers) {
    wl::CBitmap bitmap(twk::skin::LoadBitmapResource(images, image));
    EXPECT_TRUE(bitmap) << "image " << image << " of layout " << number << " (" << std::string(form, form + wcslen(form))
                        << ")";
  }
}

TEST(TWKRendererLayoutsTest, MainProgramLayoutsNameImagesOfItsLanguageModule) {
  LanguageModule language(L"TWKLang.dll");
  ASSERT_TRUE(language.Get());
  struct Form {
    UINT number;
    const wchar_t* name;
  } forms[] = {{290, L"MainForm"}, {287, L"Fix"},           {294, L"Review"},
               {297, L"Status"},   {302, L"ThreatDetails"}, {304, L"Welcome"},
               {295, L"Scan"},     {285, L"ErrorDialog"},   {303, L"Warning"},
               {296, L"ScanRecommended"}, {298, L"StopScanRecommended"}, {282, L"CustomerSupport"},
               {292, L"Options"},  {299, L"SubOptions"},    {300, L"SubProcessExplorer"},
               {288, L"IgnoreListDlg"}, {283, L"CustomScan"}, {284, L"DefinitionUpdates"}};
  for (const auto& form : forms) ExpectLayoutWithImages(language.Get(), form.number, form.name, language.Get());
  // "MessageBox" travels with the program itself; its images with the language module.
  ExpectLayoutWithImages(GetModuleHandleW(nullptr), 327, L"MessageBox", language.Get());
  for (UINT strip : {188u, 160u}) {
    wl::CBitmap bitmap(twk::skin::LoadBitmapResource(language.Get(), strip));
    ASSERT_TRUE(bitmap) << strip;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmHeight, 16) << strip;
    EXPECT_EQ(info.bmWidth % 16, 0) << strip;
  }
}

TEST(TWKRendererLayoutsTest, UpdaterLayoutsNameImagesOfItsLanguageModule) {
  LanguageModule language(L"TWKDefsUpdaterLang.dll");
  ASSERT_TRUE(language.Get());
  ExpectLayoutWithImages(language.Get(), 112, L"UpdaterSchedulePopUp", language.Get());
  ExpectLayoutWithImages(language.Get(), 113, L"DownloadDefinitions", language.Get());
  ExpectLayoutWithImages(language.Get(), 123, L"UpdaterMessageBox", language.Get());
  wl::CBitmap popupBackground(twk::skin::LoadBitmapResource(language.Get(), 101));
  EXPECT_TRUE(popupBackground);
  // The language module's copy is the one the programs carry as their fallback.
  EXPECT_EQ(twk::skin::LoadLayoutText(language.Get(), 123),
            twk::skin::LoadLayoutText(GetModuleHandleW(nullptr), 6016));
}

}  // namespace
