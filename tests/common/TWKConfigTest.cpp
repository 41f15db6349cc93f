#include "TWKConfig.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "FileBytes.h"
#include "TempFolder.h"

namespace {

class TWKConfigTest : public ::testing::Test {
 protected:
  twktest::TempFolder folder;
  std::wstring path = folder / L"CustomScanSettings.ini";
  CTWKConfig config{path};

  void Put(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    ASSERT_TRUE(WritePrivateProfileStringW(section, key, value.c_str(), path.c_str()));
  }
};

class LongValues : public TWKConfigTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(LongValues, ReadWhole) {
  std::wstring value;
  for (std::size_t i = 0; i < GetParam(); ++i) value += static_cast<wchar_t>(L'a' + i % 26);
  Put(L"Folders", L"Long", value);
  EXPECT_EQ(value, config.ReadValue(L"Folders", L"Long"));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongValues, ::testing::Values(1, 510, 511, 512, 513, 1023, 1024, 1025, 5000));

TEST_F(TWKConfigTest, MissingSectionOrKeyGivesEmpty) {
  Put(L"Settings", L"Registry", L"1");
  EXPECT_EQ(L"", config.ReadValue(L"Nothing", L"Registry"));
  EXPECT_EQ(L"", config.ReadValue(L"Settings", L"Nothing"));
  EXPECT_EQ(L"1", config.ReadValue(L"Settings", L"Registry"));
  CTWKConfig absent(folder / L"absent.ini");
  EXPECT_EQ(L"", absent.ReadValue(L"Settings", L"Registry"));
}

TEST_F(TWKConfigTest, SettingsValueIsCutAt64) {
  Put(L"Settings", L"Processes", std::wstring(100, L'9'));
  std::wstring value;
  EXPECT_EQ(64, config.ReadSettingsValue(L"Processes", value));
  EXPECT_EQ(std::wstring(64, L'9'), value);
  Put(L"Settings", L"Cookies", L"yes");
  EXPECT_EQ(3, config.ReadSettingsValue(L"Cookies", value));
  EXPECT_EQ(L"yes", value);
}

struct ListCase {
  const wchar_t* stored;
  std::vector<std::wstring> items;
};

class ListReading : public TWKConfigTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListReading, SplitTrimDropEmpty) {
  Put(L"FileTypes", L"", GetParam().stored);
  std::vector<std::wstring> items{L"left over"};
  config.ReadList(L"FileTypes", L"", items, L";");
  EXPECT_EQ(GetParam().items, items);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListReading,
    ::testing::Values(ListCase{L".tmp;.log", {L".tmp", L".log"}},
                      ListCase{L" .tmp ;\t.log\t;;  ; .bak", {L".tmp", L".log", L".bak"}},
                      ListCase{L";;;", {}}, ListCase{L"", {}},
                      ListCase{L"C:\\My Files\\a b.txt;C:\\x", {L"C:\\My Files\\a b.txt", L"C:\\x"}}));

TEST_F(TWKConfigTest, WriteListStoresUnderTheEmptyKeyName) {
  ASSERT_TRUE(config.WriteList(L"FileTypes", {L".tmp", L".log"}, L";"));
  std::vector<std::wstring> items;
  config.ReadList(L"FileTypes", L"", items, L";");
  EXPECT_EQ((std::vector<std::wstring>{L".tmp", L".log"}), items);
  const std::string file = twktest::ReadFileBytes(path);
  EXPECT_NE(std::string::npos, file.find("[FileTypes]\r\n=.tmp;.log")) << file;
}

TEST_F(TWKConfigTest, WriteListDefaultSeparatorAndEmptyArray) {
  ASSERT_TRUE(config.WriteList(L"Folders", {L"a", L"b"}));
  EXPECT_EQ(L"a,b", config.ReadValue(L"Folders", L""));
  ASSERT_TRUE(config.WriteList(L"Folders", {}, L";"));
  EXPECT_EQ(L"", config.ReadValue(L"Folders", L""));
  const std::string file = twktest::ReadFileBytes(path);
  EXPECT_NE(std::string::npos, file.find("[Folders]\r\n=")) << file;
}

}  // namespace
