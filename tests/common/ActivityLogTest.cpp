#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "ActivityLog.h"
#include "FileBytes.h"
#include "TempFolder.h"

using namespace twktest;

TEST(ActivityLog, AppendsTimeStampedNarrowLinesAndCreatesItsFolder) {
  TempFolder folder;
  CActivityLog log(folder / L"Auto\\Updater", L"TWKDDActivity.log");
  log.Write(L"OSInformation: Windows 7");
  log.WriteFormat(L"GetXMLFromHTMLResource - Exception. Error = %d", 5);

  const std::string text = ReadFileBytes(folder / L"Auto\\Updater\\TWKDDActivity.log");
  const std::regex pattern(
      R"(^[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} (AM|PM) -- OSInformation: Windows 7\r\n)"
      R"([0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} (AM|PM) -- GetXMLFromHTMLResource - Exception\. Error = 5\r\n$)");
  EXPECT_TRUE(std::regex_match(text, pattern)) << text;
}

TEST(ActivityLog, ProgramLogLivesInTheFixedCompanyFolder) {
  CActivityLog log(L"TWKActivityProbe.log");
  wchar_t appData[MAX_PATH];
  GetEnvironmentVariableW(L"ALLUSERSPROFILE", appData, MAX_PATH);
  const std::wstring expected = std::wstring(appData) + L"\\Corvanta\\VuruDazadud\\AutoUpdater\\TWKActivityProbe.log";
  EXPECT_EQ(_wcsicmp(log.Path().c_str(), expected.c_str()), 0);
  log.Write(L"probe");
  EXPECT_TRUE(FileExists(log.Path()));
  DeleteFileW(log.Path().c_str());
}
