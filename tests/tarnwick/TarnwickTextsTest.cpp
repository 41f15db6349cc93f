#include "TarnwickTexts.h"

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "MessageStep.h"
#include "StringsDocument.h"
#include "WinHandle.h"

namespace {

struct Shown {
  std::wstring text;
  UINT style;
};

class TarnwickTextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = SetMessageBoxHandler([this](const std::wstring& text, UINT style) {
      shown.push_back({text, style});
      return IDOK;
    });
  }
  void TearDown() override { SetMessageBoxHandler(previous); }
  MessageBoxHandler previous;
  std::vector<Shown> shown;
};

TEST_F(TarnwickTextsTest, LoadsTheShippedStrings) {
  twk::CModule module(LoadLibraryExW((twktest::DistFolder() + L"\\TWKLang.dll").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module);
  CXmlDocumentWrapper strings;
  EXPECT_EQ(1, TarnwickLoadXMLResource(module.get(), strings));
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(L"Tarnwick Pro", GetStringById(strings, 101));
  EXPECT_NE(std::wstring::npos, TarnwickGetXMLFromHTMLResource(module.get(), 305).find(L"<S101>"));
  EXPECT_EQ(L"", TarnwickGetXMLFromHTMLResource(module.get(), 4242));
}

TEST_F(TarnwickTextsTest, ModuleWithoutStringsGivesZero) {
  // The updater's module holds resource 111, not 305.
  twk::CModule module(LoadLibraryExW((twktest::DistFolder() + L"\\TWKDefsUpdaterLang.dll").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module);
  CXmlDocumentWrapper strings;
  EXPECT_EQ(0, TarnwickLoadXMLResource(module.get(), strings));
  EXPECT_TRUE(shown.empty());
}

TEST_F(TarnwickTextsTest, MalformedStringsShowTwoErrorMessages) {
  twktest::TempFolder folder;
  const std::wstring copy = folder / L"TWKLang.dll";
  ASSERT_TRUE(CopyFileW((twktest::DistFolder() + L"\\TWKLang.dll").c_str(), copy.c_str(), FALSE));
  const std::wstring broken = L"<Strings><S101>Tarnwick Pro</S1></Strings>";
  HANDLE update = BeginUpdateResourceW(copy.c_str(), TRUE);  // drop every resource of the copy
  ASSERT_NE(nullptr, update);
  ASSERT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(23), MAKEINTRESOURCEW(305), 0,
                              const_cast<wchar_t*>(broken.data()), static_cast<DWORD>(broken.size() * 2)));
  ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
  twk::CModule module(LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module);

  CXmlDocumentWrapper strings;
  EXPECT_EQ(1, TarnwickLoadXMLResource(module.get(), strings));
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ(L"Critical StringsFile Error", shown[0].text);
  EXPECT_EQ(16u, shown[0].style);
  EXPECT_FALSE(shown[1].text.empty());
  EXPECT_EQ(16u, shown[1].style);
  EXPECT_EQ(L"", GetStringById(strings, 101));
}

TEST_F(TarnwickTextsTest, UnexpectedErrorsGoToTheErrorReport) {
  std::vector<std::wstring> reports;
  auto before = SetErrorReportHandler([&](const wchar_t* module, const wchar_t* function, int line, DWORD) {
    reports.push_back(std::wstring(module) + L"|" + function + L"|" + std::to_wstring(line));
  });
  ReportUnexpectedError(L"TarnwickApp.Mod", L"CTarnwickApp::LoadXMLResource", 1164);
  SetErrorReportHandler(before);
  ASSERT_EQ(1u, reports.size());
  EXPECT_EQ(L"TarnwickApp.Mod|CTarnwickApp::LoadXMLResource|1164", reports[0]);
}

}  // namespace
