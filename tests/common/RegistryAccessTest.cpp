#include "RegistryAccess.h"

#include <gtest/gtest.h>

#include "ScratchRegKey.h"

namespace {

using twk::DeleteValue;
using twk::ReadDword;
using twk::ReadString;
using twk::ValueExists;
using twk::WriteDword;
using twk::WriteString;

class RegistryAccessTest : public ::testing::Test {
 protected:
  twktest::ScratchRegKey scratch;
  HKEY root() const { return scratch.Root(); }
  const wchar_t* key() const { return scratch.SubKey().c_str(); }
};

struct LengthCase {
  std::size_t length;
  bool readable;
};

class StringLengthTest : public RegistryAccessTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(StringLengthTest, AcceptsUpTo259Characters) {
  const std::wstring value(GetParam().length, L'x');
  ASSERT_TRUE(WriteString(root(), key(), L"PROXYSERVER", value));
  std::wstring read = L"untouched";
  EXPECT_EQ(GetParam().readable, ReadString(root(), key(), L"PROXYSERVER", read));
  EXPECT_EQ(GetParam().readable ? value : std::wstring(L"untouched"), read);
  EXPECT_EQ(GetParam().readable, ValueExists(root(), key(), L"PROXYSERVER"));
}

INSTANTIATE_TEST_SUITE_P(Lengths, StringLengthTest,
                         ::testing::Values(LengthCase{0, true}, LengthCase{258, true}, LengthCase{259, true},
                                           LengthCase{260, false}, LengthCase{1000, false}));

TEST_F(RegistryAccessTest, ValueStoredWithoutTerminatorStillHasTheLimit) {
  const std::wstring value260(260, L'y');
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(scratch.Key(), L"NoTerm", 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(value260.data()), 520));
  std::wstring read;
  EXPECT_FALSE(ReadString(root(), key(), L"NoTerm", read));
  const std::wstring value259(259, L'z');
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(scratch.Key(), L"NoTerm", 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(value259.data()), 518));
  EXPECT_TRUE(ReadString(root(), key(), L"NoTerm", read));
  EXPECT_EQ(value259, read);
}

TEST_F(RegistryAccessTest, DwordWhereTextIsExpectedReadsAsMissing) {
  ASSERT_TRUE(WriteDword(root(), key(), L"SHOW_WELCOME", 1));
  std::wstring read = L"before";
  EXPECT_FALSE(ReadString(root(), key(), L"SHOW_WELCOME", read));
  EXPECT_EQ(L"before", read);
  EXPECT_FALSE(ValueExists(root(), key(), L"SHOW_WELCOME"));
}

TEST_F(RegistryAccessTest, TextWhereNumberIsExpectedReadsAsMissing) {
  ASSERT_TRUE(WriteString(root(), key(), L"LastRestorePoint", L"12"));
  DWORD value = 5;
  EXPECT_FALSE(ReadDword(root(), key(), L"LastRestorePoint", value));
  EXPECT_EQ(0xFFFFFFFFu, value);
}

TEST_F(RegistryAccessTest, MissingDwordGivesAllBitsAndFalse) {
  DWORD value = 0;
  EXPECT_FALSE(ReadDword(root(), key(), L"DefinitionsDownloadInterval", value));
  EXPECT_EQ(0xFFFFFFFFu, value);
  ASSERT_TRUE(WriteDword(root(), key(), L"DefinitionsDownloadInterval", 3600));
  EXPECT_TRUE(ReadDword(root(), key(), L"DefinitionsDownloadInterval", value));
  EXPECT_EQ(3600u, value);
}

TEST_F(RegistryAccessTest, WritingCreatesMissingKeys) {
  const std::wstring deeper = scratch.SubKey() + L"\\Not\\Yet";
  std::wstring read;
  EXPECT_FALSE(ReadString(root(), deeper.c_str(), L"Days", read));
  ASSERT_TRUE(WriteString(root(), deeper.c_str(), L"Days", L"7"));
  ASSERT_TRUE(ReadString(root(), deeper.c_str(), L"Days", read));
  EXPECT_EQ(L"7", read);
  const std::wstring other = scratch.SubKey() + L"\\Other";
  ASSERT_TRUE(WriteDword(root(), other.c_str(), L"N", 9));
  DWORD n = 0;
  EXPECT_TRUE(ReadDword(root(), other.c_str(), L"N", n));
  EXPECT_EQ(9u, n);
}

TEST_F(RegistryAccessTest, DeleteReportsWhetherTheValueExisted) {
  EXPECT_FALSE(DeleteValue(root(), key(), L"SCANNED_COMPLETE_TIME"));
  ASSERT_TRUE(WriteString(root(), key(), L"SCANNED_COMPLETE_TIME", L"July 22, 2010 06:56 AM"));
  EXPECT_TRUE(DeleteValue(root(), key(), L"SCANNED_COMPLETE_TIME"));
  EXPECT_FALSE(ValueExists(root(), key(), L"SCANNED_COMPLETE_TIME"));
  const std::wstring missingKey = scratch.SubKey() + L"\\Absent";
  EXPECT_FALSE(DeleteValue(root(), missingKey.c_str(), L"X"));
}

}  // namespace
