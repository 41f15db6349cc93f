#include "StartAtBoot.h"

#include <gtest/gtest.h>

#include "ScratchRegKey.h"

namespace {

struct EntryCase {
  const wchar_t* data;
  const wchar_t* program;
};

class EntryParsing : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryParsing, AcceptsQuotedAndUnquoted) {
  EXPECT_EQ(GetParam().program, CStartAtBoot::ProgramOfEntry(GetParam().data));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, EntryParsing,
    ::testing::Values(
        EntryCase{L"\"C:\\Program Files\\Corvanta\\Tarnwick.exe\" -m", L"C:\\Program Files\\Corvanta\\Tarnwick.exe"},
        EntryCase{L"C:\\Program Files\\Corvanta\\Tarnwick.exe -m", L"C:\\Program Files\\Corvanta\\Tarnwick.exe"},
        EntryCase{L"\"C:\\T\\TWKDefsUpdater.exe\"", L"C:\\T\\TWKDefsUpdater.exe"},
        EntryCase{L"C:\\T\\TWKDefsUpdater.exe", L"C:\\T\\TWKDefsUpdater.exe"},
        EntryCase{L"\"C:\\unterminated -m", L"C:\\unterminated -m"}, EntryCase{L"", L""}));

TEST(StartAtBoot, EntryDataIsQuotedWithTheSwitch) {
  EXPECT_EQ(L"\"C:\\Program Files\\Corvanta\\Tarnwick Pro\\Tarnwick.exe\" -m",
            CStartAtBoot::EntryData(L"C:\\Program Files\\Corvanta\\Tarnwick Pro", L"Tarnwick.exe"));
}

TEST(StartAtBoot, MachineKeyOnlyOnCodes6And61) {
  for (int code : {6, 61}) EXPECT_EQ(HKEY_LOCAL_MACHINE, CStartAtBoot::LocationFor(code).root) << code;
  for (int code : {0, 1, 5, 51, 60, 7, 62}) EXPECT_EQ(HKEY_CURRENT_USER, CStartAtBoot::LocationFor(code).root) << code;
  EXPECT_EQ(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", CStartAtBoot::LocationFor(6).subKey);
}

TEST(StartAtBoot, WritesReadsAndRemovesEntriesOfBothForms) {
  twktest::ScratchRegKey scratch;
  CStartAtBoot entries({scratch.Root(), scratch.SubKey()});
  ASSERT_TRUE(entries.Write(kMainRunEntry, L"C:\\Program Files\\T", L"Tarnwick.exe"));
  EXPECT_EQ(L"\"C:\\Program Files\\T\\Tarnwick.exe\" -m",
            twktest::GetRegString(scratch.Root(), scratch.SubKey(), kMainRunEntry).value_or(L""));
  EXPECT_EQ(L"C:\\Program Files\\T\\Tarnwick.exe", entries.Program(kMainRunEntry));
  // An entry left by an older version, unquoted.
  ASSERT_TRUE(twktest::SetRegString(scratch.Root(), scratch.SubKey(), kUpdaterRunEntry,
                                    L"C:\\Program Files\\T\\TWKDefsUpdater.exe -m"));
  EXPECT_EQ(L"C:\\Program Files\\T\\TWKDefsUpdater.exe", entries.Program(kUpdaterRunEntry));
  EXPECT_TRUE(entries.Remove(kUpdaterRunEntry));
  EXPECT_EQ(L"", entries.Program(kUpdaterRunEntry));
  EXPECT_EQ(L"C:\\Program Files\\T\\Tarnwick.exe", entries.Program(kMainRunEntry));
  EXPECT_NE(std::wstring(kMainRunEntry), std::wstring(kUpdaterRunEntry));
}

}  // namespace
