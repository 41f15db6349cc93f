#include "FileVersionInfo.h"

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "FileBytes.h"
#include "TempFolder.h"

namespace {

std::wstring Fixture(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder = self;
  return folder.substr(0, folder.find_last_of(L'\\')) + L"\\fixtures\\" + name;
}

TEST(FileVersionInfo, ReadsEnglish1252WhateverTheUserLanguage) {
  CFileVersionInfo info;
  ASSERT_TRUE(info.Create(Fixture(L"VersionEnglish1252.dll")));
  EXPECT_EQ(0x0409, info.Language());
  EXPECT_EQ(0x04E4, info.CodePage());
  EXPECT_EQ(L"Fixture Company", info.GetCompanyName());
  EXPECT_EQ(L"English fixture", info.GetFileDescription());
  EXPECT_EQ(L"4.3.2.1", info.GetFileVersion());
  EXPECT_EQ(L"VersionEnglish1252", info.GetInternalName());
  EXPECT_EQ(L"Copyright (C) Fixture", info.GetLegalCopyright());
  EXPECT_EQ(L"VersionEnglish1252.dll", info.GetOriginalFileName());
  EXPECT_EQ(L"Fixture Product", info.GetProductName());
  EXPECT_EQ(L"4.3", info.GetProductVersion());
  EXPECT_EQ(L"A comment", info.GetComments());
  EXPECT_EQ(L"No marks", info.GetLegalTrademarks());
  EXPECT_EQ(L"private 7", info.GetPrivateBuild());
  EXPECT_EQ(L"special 9", info.GetSpecialBuild());
  EXPECT_EQ(VS_FFI_SIGNATURE, info.FixedInfo().dwSignature);
  EXPECT_EQ(0x00040003u, info.FixedInfo().dwFileVersionMS);
  EXPECT_EQ(0x00020001u, info.FixedInfo().dwFileVersionLS);
  EXPECT_EQ(static_cast<DWORD>(VS_FF_PRERELEASE), info.FixedInfo().dwFileFlags);
}

TEST(FileVersionInfo, OtherLanguagesFallBackToTheFirstTranslation) {
  if (PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN || PRIMARYLANGID(GetUserDefaultLangID()) == LANG_FRENCH) {
    GTEST_SKIP() << "the user language matches a translation of the fixture";
  }
  CFileVersionInfo info;
  ASSERT_TRUE(info.Create(Fixture(L"VersionGermanFrench.dll")));
  EXPECT_EQ(0x0407, info.Language());
  EXPECT_EQ(L"Firma", info.GetCompanyName());
  EXPECT_EQ(L"2.0 (de)", info.GetProductVersion());
  EXPECT_EQ(L"", info.GetFileDescription());  // not in the resource
}

TEST(FileVersionInfo, ReadsOurOwnProgram) {
  CFileVersionInfo info;
  ASSERT_TRUE(info.Create(twktest::DistFolder() + L"\\Tarnwick.exe"));
  EXPECT_EQ(L"Tarnwick Pro", info.GetProductName());
  EXPECT_EQ(L"Corvanta", info.GetCompanyName());
  EXPECT_FALSE(info.GetProductVersion().empty());
}

TEST(FileVersionInfo, UnversionedOrMissingFilesGiveFalseAndEmptyValues) {
  twktest::TempFolder folder;
  ASSERT_TRUE(twktest::WriteFileBytes(folder / L"plain.txt", "no resources here"));
  CFileVersionInfo info;
  ASSERT_TRUE(info.Create(Fixture(L"VersionEnglish1252.dll")));
  for (const std::wstring& path : {Fixture(L"NoVersion.dll"), folder / L"plain.txt", folder / L"absent.exe"}) {
    EXPECT_FALSE(info.Create(path)) << std::string(path.begin(), path.end());
    EXPECT_EQ(L"", info.GetCompanyName());
    EXPECT_EQ(L"", info.GetProductVersion());
    EXPECT_EQ(0u, info.FixedInfo().dwSignature);
  }
}

TEST(FileVersionInfo, ResetEmptiesEverything) {
  CFileVersionInfo info;
  ASSERT_TRUE(info.Create(Fixture(L"VersionEnglish1252.dll")));
  info.Reset();
  EXPECT_EQ(L"", info.GetSpecialBuild());
  EXPECT_EQ(L"", info.GetCompanyName());
  EXPECT_EQ(0u, info.FixedInfo().dwFileVersionMS);
}

struct ChoiceCase {
  std::vector<CFileVersionInfo::Translation> table;
  LANGID user;
  std::size_t chosen;
};

class TranslationChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(TranslationChoice, FollowsTheOrder) {
  const auto& c = GetParam();
  EXPECT_EQ(c.chosen, CFileVersionInfo::ChooseTranslation(c.table.data(), c.table.size(), c.user));
}

INSTANTIATE_TEST_SUITE_P(
    Order, TranslationChoice,
    ::testing::Values(
        ChoiceCase{{{0x0409, 1252}, {0x0407, 1200}}, 0x0407, 1},  // exact language
        ChoiceCase{{{0x0807, 1200}, {0x0409, 1200}}, 0x0407, 0},  // same primary language (Swiss German)
        ChoiceCase{{{0x0409, 1200}, {0x0000, 1200}}, 0x0407, 1},  // neutral before English
        ChoiceCase{{{0x040C, 1200}, {0x0809, 1252}}, 0x0407, 1},  // any English
        ChoiceCase{{{0x040C, 1200}, {0x0411, 932}}, 0x0407, 0},   // the first
        ChoiceCase{{{0x0409, 1200}, {0x0807, 1200}, {0x0407, 1200}}, 0x0407, 2},
        ChoiceCase{{}, 0x0409, 0}));

}  // namespace
