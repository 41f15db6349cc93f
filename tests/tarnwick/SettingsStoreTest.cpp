#include "SettingsStore.h"

#include <gtest/gtest.h>

#include "RegistryAccess.h"
#include "ScratchRegKey.h"
#include "SettingValues.h"
#include "TestWindow.h"

namespace {

using namespace twk;

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsLocation({settingsKey.Root(), settingsKey.SubKey()}); }
  void TearDown() override { SetSettingsLocation({}); }

  CSettingsStore Store(HWND updaterWindow = nullptr) {
    CSettingsStore::UpdaterControl control;
    control.findWindow = [this, updaterWindow](const std::wstring& title) {
      searchedTitle = title;
      return updaterWindow;
    };
    control.start = [this](const std::wstring& program) { started.push_back(program); };
    control.quit = [this](HWND window) { quitWindows.push_back(window); };
    return CSettingsStore(kFolder, {runKey.Root(), runKey.SubKey()}, kTitle, control);
  }

  DWORD Interval() {
    DWORD value = 0;
    ReadDword(settingsKey.Root(), settingsKey.SubKey().c_str(), setting::kDefinitionsDownloadInterval, value);
    return value;
  }

  static constexpr wchar_t kFolder[] = L"C:\\Program Files\\Corvanta\\Tarnwick Pro";
  static constexpr wchar_t kTitle[] = L"Tarnwick Pro - Definitions Updater";
  twktest::ScratchRegKey settingsKey;
  twktest::ScratchRegKey runKey;
  std::wstring searchedTitle;
  std::vector<std::wstring> started;
  std::vector<HWND> quitWindows;
};

double DaysFromNow(const std::wstring& scheduleDate) {
  auto parsed = ParseSettingsDate(scheduleDate);
  EXPECT_TRUE(parsed.has_value()) << std::string(scheduleDate.begin(), scheduleDate.end());
  SYSTEMTIME now{};
  GetLocalTime(&now);
  DATE today = 0;
  SystemTimeToVariantTime(&now, &today);
  return parsed.value_or(0) - today;
}

TEST_F(SettingsStoreTest, EnablingWithoutIntervalWritesTwoDays) {
  DWORD value = 0;
  EXPECT_FALSE(ReadDword(settingsKey.Root(), settingsKey.SubKey().c_str(), setting::kDefinitionsDownloadInterval, value));
  EXPECT_EQ(0xFFFFFFFFu, value);
  Store().SetAutoDefDownloadRegSettings(1);
  EXPECT_EQ(172800u, Interval());
  EXPECT_NEAR(2.0, DaysFromNow(ReadSetting(setting::kNextAutoDownloadDate)), 2.0 / 1440);
}

TEST_F(SettingsStoreTest, EnablingWithZeroIntervalWritesTwoDays) {
  WriteDword(settingsKey.Root(), settingsKey.SubKey().c_str(), setting::kDefinitionsDownloadInterval, 0);
  Store().SetAutoDefDownloadRegSettings(1);
  EXPECT_EQ(172800u, Interval());
}

TEST_F(SettingsStoreTest, EnablingKeepsAnExistingInterval) {
  WriteDword(settingsKey.Root(), settingsKey.SubKey().c_str(), setting::kDefinitionsDownloadInterval, 3600);
  WriteSetting(setting::kNextAutoDownloadDate, L"07/22/2010 06:56:17 AM");
  Store().SetAutoDefDownloadRegSettings(1);
  EXPECT_EQ(3600u, Interval());
  EXPECT_EQ(L"07/22/2010 06:56:17 AM", ReadSetting(setting::kNextAutoDownloadDate));
}

TEST_F(SettingsStoreTest, DisablingWritesZeroAndNoDate) {
  WriteDword(settingsKey.Root(), settingsKey.SubKey().c_str(), setting::kDefinitionsDownloadInterval, 3600);
  Store().SetAutoDefDownloadRegSettings(0);
  EXPECT_EQ(0u, Interval());
  EXPECT_EQ(L"0", ReadSetting(setting::kNextAutoDownloadDate));
}

TEST_F(SettingsStoreTest, NextDownloadDate) {
  auto store = Store();
  store.SetNextDownloadDate(3600);
  EXPECT_NEAR(1.0 / 24, DaysFromNow(ReadSetting(setting::kNextAutoDownloadDate)), 2.0 / 1440);
  store.SetNextDownloadDate(-5);
  EXPECT_EQ(L"0", ReadSetting(setting::kNextAutoDownloadDate));
  store.SetNextDownloadDate(0);
  EXPECT_EQ(L"0", ReadSetting(setting::kNextAutoDownloadDate));
}

TEST_F(SettingsStoreTest, EnablingTheUpdaterWritesItsEntryAndStartsIt) {
  Store().SetUpdaterLaunchSettings(1);
  EXPECT_EQ(kTitle, searchedTitle);
  EXPECT_EQ(L"\"C:\\Program Files\\Corvanta\\Tarnwick Pro\\TWKDefsUpdater.exe\" -m",
            twktest::GetRegString(runKey.Root(), runKey.SubKey(), kUpdaterRunEntry).value_or(L""));
  ASSERT_EQ(1u, started.size());
  EXPECT_EQ(L"C:\\Program Files\\Corvanta\\Tarnwick Pro\\TWKDefsUpdater.exe", started[0]);
  EXPECT_FALSE(twktest::GetRegString(runKey.Root(), runKey.SubKey(), kMainRunEntry).has_value());
}

TEST_F(SettingsStoreTest, EnablingDoesNotStartARunningUpdater) {
  twktest::TestWindow updater(kTitle);
  Store(updater.Handle()).SetUpdaterLaunchSettings(1);
  EXPECT_TRUE(started.empty());
  EXPECT_TRUE(quitWindows.empty());
}

TEST_F(SettingsStoreTest, DisablingRemovesTheEntryAndEndsTheUpdater) {
  twktest::TestWindow updater(kTitle);
  Store().SetUpdaterLaunchSettings(1);
  Store(updater.Handle()).SetUpdaterLaunchSettings(0);
  EXPECT_FALSE(twktest::GetRegString(runKey.Root(), runKey.SubKey(), kUpdaterRunEntry).has_value());
  ASSERT_EQ(1u, quitWindows.size());
  EXPECT_EQ(updater.Handle(), quitWindows[0]);
  quitWindows.clear();
  Store().SetUpdaterLaunchSettings(0);  // no updater window: nothing to end
  EXPECT_TRUE(quitWindows.empty());
}

TEST_F(SettingsStoreTest, SystemControlFindsTheWindowByTitleAndPostsQuit) {
  const std::wstring title = L"Tarnwick Pro - Definitions Updater (settings test)";
  twktest::TestWindow updater(title);
  auto control = CSettingsStore::SystemUpdaterControl();
  ASSERT_EQ(updater.Handle(), control.findWindow(title));
  EXPECT_EQ(nullptr, control.findWindow(title + L" absent"));
  control.quit(updater.Handle());
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(updater.Handle(), msg.hwnd);
}

TEST_F(SettingsStoreTest, MainEntry) {
  auto store = Store();
  store.SetMainLaunchEntry(true);
  EXPECT_EQ(L"\"C:\\Program Files\\Corvanta\\Tarnwick Pro\\Tarnwick.exe\" -m",
            twktest::GetRegString(runKey.Root(), runKey.SubKey(), kMainRunEntry).value_or(L""));
  store.SetMainLaunchEntry(false);
  EXPECT_FALSE(twktest::GetRegString(runKey.Root(), runKey.SubKey(), kMainRunEntry).has_value());
}

}  // namespace
