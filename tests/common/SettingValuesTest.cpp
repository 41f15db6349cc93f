#include "SettingValues.h"

#include <gtest/gtest.h>

#include "RegistryAccess.h"
#include "ScratchRegKey.h"

namespace {

using namespace twk;

class ScratchSettings : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsLocation({scratch.Root(), scratch.SubKey()}); }
  void TearDown() override { SetSettingsLocation({}); }
  twktest::ScratchRegKey scratch;
};

struct BoolCase {
  const wchar_t* stored;  // nullptr: missing
  bool general;
  bool exact;
};

class BoolRules : public ScratchSettings, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(BoolRules, GeneralIgnoresCaseExactDoesNot) {
  if (GetParam().stored) {
    ASSERT_TRUE(WriteSetting(setting::kShowScanResult, GetParam().stored));
    ASSERT_TRUE(WriteSetting(setting::kAllowLowRiskThreat, GetParam().stored));
  }
  EXPECT_EQ(GetParam().general, ReadSettingBool(setting::kShowScanResult));
  EXPECT_EQ(GetParam().exact, ReadSettingBoolExact(setting::kAllowLowRiskThreat));
}

INSTANTIATE_TEST_SUITE_P(Texts, BoolRules,
                         ::testing::Values(BoolCase{L"TRUE", true, true}, BoolCase{L"true", true, false},
                                           BoolCase{L"True", true, false}, BoolCase{L"FALSE", false, false},
                                           BoolCase{L"1", false, false}, BoolCase{L" TRUE", false, false},
                                           BoolCase{L"", false, false}, BoolCase{nullptr, false, false}));

TEST_F(ScratchSettings, BoolWritesTheTwoTexts) {
  WriteSettingBool(setting::kStartAtBoot, true);
  EXPECT_EQ(L"TRUE", ReadSetting(setting::kStartAtBoot));
  WriteSettingBool(setting::kStartAtBoot, false);
  EXPECT_EQ(L"FALSE", ReadSetting(setting::kStartAtBoot));
}

TEST_F(ScratchSettings, CountsAndMarkers) {
  EXPECT_EQ(0, ReadSettingCount(setting::kErrorsFound));
  WriteSettingCount(setting::kErrorsFound, 42);
  EXPECT_EQ(L"42", ReadSetting(setting::kErrorsFound));
  EXPECT_EQ(42, ReadSettingCount(setting::kErrorsFound));
  WriteSetting(setting::kErrorsFound, L"many");
  EXPECT_EQ(0, ReadSettingCount(setting::kErrorsFound));

  EXPECT_FALSE(ReadSettingMarker(setting::kCreatingRestorePoint));
  WriteSetting(setting::kCreatingRestorePoint, L"1");
  EXPECT_TRUE(ReadSettingMarker(setting::kCreatingRestorePoint));
  WriteSetting(setting::kCreatingRestorePoint, L"0");
  EXPECT_FALSE(ReadSettingMarker(setting::kCreatingRestorePoint));
}

TEST_F(ScratchSettings, EmptyMeansMissingOrEmptyText) {
  EXPECT_TRUE(SettingIsEmpty(setting::kFixedCompleteTime));
  WriteSetting(setting::kFixedCompleteTime, L"");
  EXPECT_TRUE(SettingIsEmpty(setting::kFixedCompleteTime));
  WriteSetting(setting::kFixedCompleteTime, L"x");
  EXPECT_FALSE(SettingIsEmpty(setting::kFixedCompleteTime));
}

std::tm Time(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

struct DateCase {
  std::tm time;
  const wchar_t* schedule;
  const wchar_t* display;
};

class DateFormats : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateFormats, WriteAndParseBack) {
  const auto& c = GetParam();
  EXPECT_EQ(c.schedule, FormatScheduleDate(c.time));
  EXPECT_EQ(c.display, FormatDisplayDate(c.time));

  SYSTEMTIME expected{};
  expected.wYear = static_cast<WORD>(c.time.tm_year + 1900);
  expected.wMonth = static_cast<WORD>(c.time.tm_mon + 1);
  expected.wDay = static_cast<WORD>(c.time.tm_mday);
  expected.wHour = static_cast<WORD>(c.time.tm_hour);
  expected.wMinute = static_cast<WORD>(c.time.tm_min);
  expected.wSecond = static_cast<WORD>(c.time.tm_sec);
  DATE full = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&expected, &full));
  expected.wSecond = 0;
  DATE toMinute = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&expected, &toMinute));

  auto schedule = ParseSettingsDate(c.schedule);
  ASSERT_TRUE(schedule.has_value()) << c.schedule;
  EXPECT_NEAR(full, *schedule, 1.0 / 86400 / 2);
  auto display = ParseSettingsDate(c.display);
  ASSERT_TRUE(display.has_value()) << c.display;
  EXPECT_NEAR(toMinute, *display, 1.0 / 86400 / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Times, DateFormats,
    ::testing::Values(DateCase{Time(2010, 7, 22, 6, 56, 17), L"07/22/2010 06:56:17 AM", L"July 22, 2010 06:56 AM"},
                      DateCase{Time(2009, 12, 3, 0, 5, 0), L"12/03/2009 12:05:00 AM", L"December 03, 2009 12:05 AM"},
                      DateCase{Time(2026, 2, 28, 12, 0, 59), L"02/28/2026 12:00:59 PM", L"February 28, 2026 12:00 PM"},
                      DateCase{Time(2011, 5, 1, 23, 59, 30), L"05/01/2011 11:59:30 PM", L"May 01, 2011 11:59 PM"}));

TEST(SettingsDateParse, UnparsableTextsGiveNothing) {
  for (const wchar_t* text : {L"", L"0", L"not a date", L"13/45/2010 99:00:00 AM", L"Smarch 40, 2010"}) {
    EXPECT_FALSE(ParseSettingsDate(text).has_value()) << text;
  }
}

}  // namespace
