#include <gtest/gtest.h>

#include "AppStatusRule.h"
#include "StartupRules.h"

using namespace startup;

struct SwitchCase {
  const wchar_t* commandLine;
  CommandSwitch expected;
};

class CommandSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(CommandSwitchTest, OnlyTheLastSixCharactersWithoutQuotesCount) {
  EXPECT_EQ(ParseCommandSwitch(GetParam().commandLine), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandSwitchTest,
    ::testing::Values(SwitchCase{L"\"C:\\Program Files\\Tarnwick.exe\" -start", CommandSwitch::StartLower},
                      SwitchCase{L"\"C:\\Program Files\\Tarnwick.exe\" -START", CommandSwitch::StartUpper},
                      SwitchCase{L"\"C:\\Program Files\\Tarnwick.exe\" -Start", CommandSwitch::None},
                      SwitchCase{L"\"C:\\Program Files\\Tarnwick.exe\" -alert", CommandSwitch::Alert},
                      SwitchCase{L"\"C:\\Program Files\\Tarnwick.exe\" \"-alert\"", CommandSwitch::Alert},
                      SwitchCase{L"\"C:\\Program Files\\Tarnwick.exe\" -m", CommandSwitch::Minimised},
                      SwitchCase{L"\"C:\\Program Files\\Tarnwick.exe\"", CommandSwitch::None},
                      SwitchCase{L"-start", CommandSwitch::StartLower},
                      SwitchCase{L"", CommandSwitch::None},
                      SwitchCase{L"x.exe -start now", CommandSwitch::None}));

TEST(AppFolder, IsTheCommandLineCutBeforeItsLastBackslash) {
  EXPECT_EQ(AppFolderFromCommandLine(L"\"C:\\Program Files\\Corvanta\\Tarnwick Pro\\Tarnwick.exe\" -m"),
            L"C:\\Program Files\\Corvanta\\Tarnwick Pro");
  EXPECT_EQ(AppFolderFromCommandLine(L"Tarnwick.exe -start"), L"");
}

struct OsCase {
  unsigned long platform, major, minor;
  int code;
};

class OsVersionCodeTest : public ::testing::TestWithParam<OsCase> {};

TEST_P(OsVersionCodeTest, MapsPlatformAndVersion) {
  EXPECT_EQ(OsVersionCode(GetParam().platform, GetParam().major, GetParam().minor), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Table, OsVersionCodeTest,
                         ::testing::Values(OsCase{1, 4, 0, 35}, OsCase{1, 4, 10, 41}, OsCase{1, 4, 90, 49},
                                           OsCase{2, 3, 51, 35}, OsCase{2, 4, 0, 35}, OsCase{2, 5, 0, 50},
                                           OsCase{2, 5, 1, 51}, OsCase{2, 5, 2, 52}, OsCase{2, 6, 0, 6},
                                           OsCase{2, 6, 1, 61}, OsCase{2, 6, 2, 0}, OsCase{2, 10, 0, 0},
                                           OsCase{1, 5, 1, 0}, OsCase{0, 4, 0, 0}));

TEST(OsVersionCode, MachineRunKeyOnlyForCodes6And61) {
  for (int code : {0, 35, 41, 49, 50, 51, 52, 60}) EXPECT_FALSE(UsesMachineRunKey(code)) << code;
  EXPECT_TRUE(UsesMachineRunKey(6));
  EXPECT_TRUE(UsesMachineRunKey(61));
}

TEST(DefinitionsAge, MissingOldAndUnparsedDates) {
  EXPECT_EQ(DefinitionsAgeCheck(L"", std::nullopt), 1);
  EXPECT_EQ(DefinitionsAgeCheck(L"", 10.0), 1);
  EXPECT_EQ(DefinitionsAgeCheck(L"garbage", std::nullopt), 0);
  EXPECT_EQ(DefinitionsAgeCheck(L"d", 2592000.0), 0) << "30 days to the second";
  EXPECT_EQ(DefinitionsAgeCheck(L"d", 2592000.4), 0) << "rounds to 30 days";
  EXPECT_EQ(DefinitionsAgeCheck(L"d", 2592000.5), 2) << "half a second rounds away from zero";
  EXPECT_EQ(DefinitionsAgeCheck(L"d", 2592001.0), 2);
  EXPECT_EQ(DefinitionsAgeCheck(L"d", -5.0), 0) << "a date in the future";
}

TEST(MissingFiles, TextAndPresentationByLanguage) {
  using Kind = MissingFilesMessage::Kind;
  EXPECT_EQ(MissingFilesMessageFor(0).text, L"Some files are missing. Please reinstall the Software.");
  EXPECT_EQ(MissingFilesMessageFor(0).kind, Kind::Skinned);
  EXPECT_EQ(MissingFilesMessageFor(9).text, MissingFilesMessageFor(0).text);
  EXPECT_EQ(MissingFilesMessageFor(3).text, L"Certains fichiers sont manquants, veuillez r\u00e9installer le logiciel.");
  EXPECT_EQ(MissingFilesMessageFor(3).sizeVariant, 1);
  EXPECT_EQ(MissingFilesMessageFor(5).sizeVariant, 0);
  EXPECT_EQ(MissingFilesMessageFor(12).kind, Kind::System);
  EXPECT_EQ(MissingFilesMessageFor(12).text.front(), L'\u300c');
  EXPECT_EQ(MissingFilesMessageFor(12).text.back(), L'\u300d');
  EXPECT_EQ(MissingFilesMessageFor(13).kind, Kind::None);
  EXPECT_EQ(MissingFilesMessageFor(-1).kind, Kind::None);
}

TEST(LanguageCode, DecimalTextOrZero) {
  EXPECT_EQ(LanguageCodeFromText(L"3"), 3);
  EXPECT_EQ(LanguageCodeFromText(L""), 0);
  EXPECT_EQ(LanguageCodeFromText(L"French"), 0);
  EXPECT_EQ(LanguageCodeFromText(L"12"), 12);
}

TEST(DownloadDialogResult, QuitShowOrNothing) {
  EXPECT_EQ(DownloadDialogResultAction(1), DownloadResultAction::Quit);
  for (int code : {3, 4, 5, 6}) EXPECT_EQ(DownloadDialogResultAction(code), DownloadResultAction::ShowMainWindow);
  for (int code : {0, 2, 7, -1}) EXPECT_EQ(DownloadDialogResultAction(code), DownloadResultAction::Nothing);
}

// ---- AppStatus ----

struct StatusCase {
  const char* name;
  bool stopped;
  const wchar_t* scanned;
  std::optional<double> days;
  const wchar_t* fixed;
  const wchar_t* errors;
  int stringNumber;
  const wchar_t* replacement;
  const wchar_t* type;
};

class AppStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(AppStatusTest, FollowsTheRulesInOrder) {
  const StatusCase& c = GetParam();
  const AppStatusDecision d = DecideAppStatus({c.stopped, c.scanned, c.days, c.fixed, c.errors});
  EXPECT_EQ(d.stringNumber, c.stringNumber);
  EXPECT_EQ(d.replacement, c.replacement);
  EXPECT_STREQ(d.statusType, c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AppStatusTest,
    ::testing::Values(
        StatusCase{"NeverScanned", false, L"", std::nullopt, L"", L"", 9055, L"", L"Needs Action"},
        StatusCase{"StoppedNeverScanned", true, L"", std::nullopt, L"", L"", 9055, L"", L"Needs Action"},
        StatusCase{"StoppedOnlyFixed", true, L"", std::nullopt, L"f", L"", 19977, L"", L"Needs Action"},
        StatusCase{"OnlyFixedNotStopped", false, L"", std::nullopt, L"f", L"", 0, L"", L""},
        StatusCase{"ScannedUnparsed", false, L"junk", std::nullopt, L"", L"", 9055, L"", L"Needs Action"},
        StatusCase{"ScannedCleanRecent", false, L"s", 3.0, L"", L"0", 9056, L"", L"OK"},
        StatusCase{"ScannedCleanEmptyErrors", false, L"s", 14.0, L"", L"", 9056, L"", L"OK"},
        StatusCase{"ScannedCleanHalfDayRoundsUp", false, L"s", 14.5, L"", L"0", 9057, L"15", L"Needs Action"},
        StatusCase{"ScannedCleanOld", false, L"s", 20.2, L"", L"0", 9057, L"20", L"Needs Action"},
        StatusCase{"ScannedThreatsRecent", false, L"s", 2.0, L"", L"4", 9058, L"4", L"Needs Action"},
        StatusCase{"ScannedThreatsOld", false, L"s", 30.0, L"", L"4", 9057, L"30", L"Needs Action"},
        StatusCase{"FixedUnparsed", false, L"junk", std::nullopt, L"f", L"0", 9055, L"", L"Needs Action"},
        StatusCase{"FixedClean", false, L"s", 40.0, L"f", L"0", 9056, L"", L"OK"},
        StatusCase{"FixedThreatsOld", false, L"s", 15.0, L"f", L"2", 9057, L"15", L"Needs Action"},
        StatusCase{"FixedThreatsRecent", false, L"s", 1.0, L"f", L"2", 9055, L"", L"Needs Action"},
        StatusCase{"StoppedScannedClean", true, L"s", 1.0, L"", L"0", 9056, L"", L"OK"}),
    [](const auto& info) { return std::string(info.param.name); });
