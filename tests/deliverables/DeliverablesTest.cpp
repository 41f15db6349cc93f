#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "WinHandle.h"

using namespace twktest;

namespace {

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  struct Translation {
    WORD language;
    WORD codePage;
  }* translations = nullptr;
  UINT bytes = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes) ||
      bytes < sizeof(Translation)) {
    return L"";
  }
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language, translations[0].codePage, name);
  wchar_t* value = nullptr;
  UINT chars = 0;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &chars) || value == nullptr) return L"";
  return value;
}

class ShippedModuleTest : public ::testing::TestWithParam<const wchar_t*> {};

}  // namespace

TEST_P(ShippedModuleTest, CarriesTheProductVersionResource) {
  const std::wstring path = DistFolder() + L"\\" + GetParam();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  ASSERT_GT(size, 0u) << "no version resource in " << std::string(path.begin(), path.end());
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  EXPECT_EQ(VersionString(block, L"CompanyName"), L"Corvanta");
  EXPECT_EQ(VersionString(block, L"ProductName"), L"Tarnwick Pro");
  EXPECT_FALSE(VersionString(block, L"FileVersion").empty());
  EXPECT_FALSE(VersionString(block, L"ProductVersion").empty());
  EXPECT_EQ(VersionString(block, L"OriginalFilename"), GetParam());

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT bytes = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &bytes));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_NE(fixed->dwFileVersionMS | fixed->dwFileVersionLS, 0u);
}

INSTANTIATE_TEST_SUITE_P(Dist, ShippedModuleTest,
                         ::testing::Values(L"Tarnwick.exe", L"TWKDD.dll", L"TWKDefsUpdater.exe", L"TWKLang.dll",
                                           L"TWKDefsUpdaterLang.dll"));

struct StringsResource {
  const wchar_t* module;
  int id;
};

class LanguageModuleTest : public ::testing::TestWithParam<StringsResource> {};

TEST_P(LanguageModuleTest, HoldsAWellFormedUtf16StringsDocument) {
  const std::wstring path = DistFolder() + L"\\" + GetParam().module;
  twk::CModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module);
  HRSRC resource = FindResourceW(module.get(), MAKEINTRESOURCEW(GetParam().id), MAKEINTRESOURCEW(23));
  ASSERT_NE(resource, nullptr);
  const DWORD bytes = SizeofResource(module.get(), resource);
  const auto* text = static_cast<const wchar_t*>(LockResource(LoadResource(module.get(), resource)));
  ASSERT_NE(text, nullptr);
  std::wstring document(text, bytes / sizeof(wchar_t));
  EXPECT_EQ(document.rfind(L"<?xml", 0), 0u) << "UTF-16LE without a byte order mark";
  EXPECT_NE(document.find(L"<Strings"), std::wstring::npos);
}

INSTANTIATE_TEST_SUITE_P(Dist, LanguageModuleTest,
                         ::testing::Values(StringsResource{L"TWKLang.dll", 305},
                                           StringsResource{L"TWKDefsUpdaterLang.dll", 111}));

struct EmbeddedLayout {
  const wchar_t* module;
  int id;
};

class EmbeddedLayoutTest : public ::testing::TestWithParam<EmbeddedLayout> {};

TEST_P(EmbeddedLayoutTest, ProgramCarriesItsOwnMessageBoxLayout) {
  const std::wstring path = DistFolder() + L"\\" + GetParam().module;
  twk::CModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module);
  HRSRC resource = FindResourceW(module.get(), MAKEINTRESOURCEW(GetParam().id), MAKEINTRESOURCEW(23));
  ASSERT_NE(resource, nullptr);
  const auto* text = static_cast<const wchar_t*>(LockResource(LoadResource(module.get(), resource)));
  std::wstring layout(text, SizeofResource(module.get(), resource) / sizeof(wchar_t));
  EXPECT_NE(layout.find(L"UpdaterMessageBox"), std::wstring::npos);
}

INSTANTIATE_TEST_SUITE_P(Dist, EmbeddedLayoutTest,
                         ::testing::Values(EmbeddedLayout{L"TWKDD.dll", 6016}, EmbeddedLayout{L"TWKDefsUpdater.exe", 134}));

TEST(ShippedLibrary, DownloadLibraryLoadsIntoAHostProcess) {
  const std::wstring path = DistFolder() + L"\\TWKDD.dll";
  twk::CModule module(LoadLibraryW(path.c_str()));
  EXPECT_TRUE(module) << "error " << GetLastError();
}
