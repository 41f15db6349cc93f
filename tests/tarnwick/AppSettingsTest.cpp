// What the application object writes and reads at start-up: setting defaults, the
// status summary for an outside reader, the default scan type.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "RegistryAccess.h"
#include "StartAtBoot.h"

namespace {

std::wstring Setting(const wchar_t* name) { return twk::ReadSetting(name); }

class AppSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { apptest::ResetFlags(app); }
  CTarnwickApp& app = apptest::TheApp();
  apptest::ScratchSettings settings;
  twktest::RegValueRestorer mainRun{HKEY_CURRENT_USER, kRunKey, kMainRunEntry};
  twktest::RegValueRestorer updaterRun{HKEY_CURRENT_USER, kRunKey, kUpdaterRunEntry};
};

TEST_F(AppSettingsTest, FirstStartOnAnEmptyKeyWritesEveryDefault) {
  twktest::DeleteRegValue(HKEY_CURRENT_USER, kRunKey, kMainRunEntry);
  twktest::DeleteRegValue(HKEY_CURRENT_USER, kRunKey, kUpdaterRunEntry);
  app.osVersion = 0;
  app.CheckDefaultRegSettings();
  using namespace twk::setting;
  EXPECT_EQ(Setting(kShowWelcome), L"TRUE");
  EXPECT_EQ(Setting(kShowScanResult), L"TRUE");
  EXPECT_EQ(Setting(kStartAtBoot), L"TRUE");
  EXPECT_EQ(Setting(kDefaultScan), L"Deep");
  EXPECT_EQ(Setting(kDays), L"7");
  EXPECT_EQ(Setting(kHours), L"0");
  EXPECT_EQ(Setting(kAutoDefinitionsDownload), L"TRUE");
  EXPECT_EQ(Setting(kShowAutoDefinitionAlerts), L"TRUE");
  // A week ahead, give or take the test's own run time.
  auto next = twk::ParseSettingsDate(Setting(kNextScanning));
  auto weekAhead = twk::ParseSettingsDate(twk::FormatScheduleDate(twk::LocalTimeAfterSeconds(604800)));
  ASSERT_TRUE(next && weekAhead);
  EXPECT_NEAR(*next, *weekAhead, 60.0 / 86400.0);
  // The quoted start-at-log-on entries.
  auto entry = twktest::GetRegString(HKEY_CURRENT_USER, kRunKey, kMainRunEntry);
  ASSERT_TRUE(entry);
  EXPECT_EQ(*entry, L"\"" + app.appFolder + L"\\Tarnwick.exe\" -m");
  EXPECT_TRUE(twktest::GetRegString(HKEY_CURRENT_USER, kRunKey, kUpdaterRunEntry));
}

TEST_F(AppSettingsTest, ValuesThatHoldATextAreLeftAloneAndNoScheduleStaysOff) {
  using namespace twk::setting;
  twk::WriteSetting(kStartAtBoot, L"FALSE");
  twk::WriteSetting(kDefaultScan, L"Quick");
  twk::WriteSetting(kNextScanning, L"0");
  twk::WriteSetting(kDays, L"3");
  twk::WriteSetting(kAutoDefinitionsDownload, L"FALSE");
  twktest::DeleteRegValue(HKEY_CURRENT_USER, kRunKey, kMainRunEntry);
  app.CheckDefaultRegSettings();
  EXPECT_EQ(Setting(kStartAtBoot), L"FALSE");
  EXPECT_EQ(Setting(kDefaultScan), L"Quick");
  EXPECT_EQ(Setting(kNextScanning), L"0");
  EXPECT_EQ(Setting(kDays), L"0");
  EXPECT_EQ(Setting(kHours), L"0");
  EXPECT_EQ(Setting(kAutoDefinitionsDownload), L"FALSE");
  EXPECT_FALSE(twktest::GetRegString(HKEY_CURRENT_USER, kRunKey, kMainRunEntry)) << "run key untouched";
}

TEST_F(AppSettingsTest, StatusSummaryIsReadFromTheSettings) {
  using namespace twk::setting;
  struct Row {
    int ageDays;
    const wchar_t* errors;
    int stringNumber;
    const wchar_t* replacement;
    const wchar_t* type;
  };
  const Row rows[] = {
      {3, L"0", 9056, L"", L"OK"},
      {20, L"0", 9057, L"20", L"Needs Action"},
      {3, L"5", 9058, L"5", L"Needs Action"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.stringNumber);
    twk::WriteSetting(kScannedCompleteTime, twk::FormatScheduleDate(twk::LocalTimeAfterSeconds(-row.ageDays * 86400LL)));
    twk::WriteSetting(kErrorsFound, row.errors);
    app.APCStatus();
    std::wstring expected = app.Text(row.stringNumber);
    if (auto at = expected.find(L"%d"); at != std::wstring::npos) expected.replace(at, 2, row.replacement);
    EXPECT_EQ(Setting(kAppStatus), expected);
    EXPECT_EQ(Setting(kStatusType), row.type);
  }
  app.lastScanStopped = 1;
  app.APCStatus();
  EXPECT_EQ(Setting(kAppStatus), app.Text(9058).replace(app.Text(9058).find(L"%d"), 2, L"5"))
      << "a stopped scan is overwritten by the later rows";
}

TEST_F(AppSettingsTest, DefaultScanTypeOfAnAutomaticScan) {
  struct Row {
    const wchar_t* text;  // nullptr: missing
    int before, expected;
  };
  const Row rows[] = {{L"quick", 1, 0}, {L"Deep", 0, 1}, {L"CUSTOM", 0, 2}, {L"other", 2, 2}, {nullptr, 0, 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text ? row.text : L"missing");
    if (row.text) {
      twk::WriteSetting(twk::setting::kDefaultScan, row.text);
    } else {
      twktest::DeleteRegValue(HKEY_CURRENT_USER, settings.Key().SubKey(), twk::setting::kDefaultScan);
    }
    app.scanType = row.before;
    app.compulsoryScan = 0;
    app.GetCompulsaryScantype();
    EXPECT_EQ(app.scanType, row.expected);
    EXPECT_EQ(app.compulsoryScan, 1);
  }
}

}  // namespace
