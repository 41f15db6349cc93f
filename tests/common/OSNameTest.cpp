#include "OSName.h"

#include <gtest/gtest.h>

namespace {

struct OSCase {
  DWORD platform, major, minor;
  const wchar_t* csd;
  const wchar_t* main;     // MainProgram spelling
  const wchar_t* updater;  // DownloadComponents spelling
};

class OSNames : public ::testing::TestWithParam<OSCase> {};

TEST_P(OSNames, FollowTheTable) {
  const auto& c = GetParam();
  std::wstring main = L"(as it was)";
  MakeOSName(c.platform, c.major, c.minor, c.csd, OSNameSpelling::MainProgram, main);
  EXPECT_EQ(c.main, main);
  std::wstring updater = L"(as it was)";
  MakeOSName(c.platform, c.major, c.minor, c.csd, OSNameSpelling::DownloadComponents, updater);
  EXPECT_EQ(c.updater, updater);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OSNames,
    ::testing::Values(
        OSCase{0, 3, 11, L"", L"Windows 3.11", L"Windows 3.11"},
        OSCase{1, 4, 0, L"", L"Windows 95", L"Windows 95"},
        OSCase{1, 4, 10, L"A", L"Windows 98", L"Windows 98"},
        OSCase{1, 4, 90, L"", L"Windows ME", L"Windows Me"},
        OSCase{1, 4, 3, L"", L"(as it was)", L"(as it was)"},
        OSCase{2, 5, 0, L"Service Pack 4", L"Windows 2000 With Service Pack 4", L"Windows 2000 With Service Pack 4"},
        OSCase{2, 5, 1, L"Service Pack 3", L"Windows XP Service Pack 3", L"Windows XP Service Pack 3"},
        OSCase{2, 5, 1, L"", L"Windows XP ", L"Windows XP "},
        OSCase{2, 5, 2, L"Service Pack 2", L"Windows 2003", L"Windows 2003"},
        OSCase{2, 6, 0, L"Service Pack 1", L"Windows Vista", L"Windows Vista"},
        OSCase{2, 6, 1, L"Service Pack 1", L"Windows 7", L"Windows 7"},
        OSCase{2, 4, 0, L"Service Pack 6", L"Windows NT 4.0 with Service Pack 6", L"Windows NT 4.0 with Service Pack 6"},
        OSCase{2, 3, 51, L"", L"Windows NT 3.51 with ", L"Windows NT 3.51 with "},
        OSCase{2, 5, 3, L"x", L"Windows 5.3 ", L"Windows 5.3 "},
        OSCase{2, 6, 2, L"", L"Windows 6.2 ", L"Windows 6.2 "},
        OSCase{2, 10, 0, L"", L"Windows 10.0 ", L"Windows 10.0 "},
        OSCase{3, 6, 1, L"", L"(as it was)", L"(as it was)"}));

TEST(OSName, TheRunningSystemHasAName) {
  // Wine reports an NT version, which always has a name.
  EXPECT_EQ(0u, GetOSName(OSNameSpelling::MainProgram).find(L"Windows "));
}

}  // namespace
