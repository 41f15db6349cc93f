// The real Tarnwick.exe, installed into a temporary folder and started as a user or
// the system would start it, with the engine stand-in running.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ClientLoggerInit.h"
#include "ScratchRegKey.h"
#include "TempFolder.h"
#include "TestWindow.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Corvanta\\Tarnwick Pro";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring EngineExe() {
  std::wstring dist = twktest::DistFolder();
  return dist.substr(0, dist.find_last_of(L'\\')) + L"\\engine-dist\\ROROService.exe";
}

bool EngineRunning() {
  HANDLE h = OpenEventW(READ_CONTROL, FALSE, L"Global\\ROROServiceExistsEvent");
  if (!h) return false;
  CloseHandle(h);
  return true;
}

bool Engine(const wchar_t* verb) {
  auto code = twktest::RunAndWait(twktest::Quoted(EngineExe()) + L" " + verb, 30000);
  return code && *code == 0;
}

struct WindowSearch {
  DWORD process;
  std::vector<HWND> frames;
  HWND box = nullptr;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<WindowSearch*>(lp);
  wchar_t title[128] = {};
  wchar_t cls[64] = {};
  GetWindowTextW(hwnd, title, 128);
  GetClassNameW(hwnd, cls, 64);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (wcsncmp(title, L"Tarnwick Pro ", 13) == 0 && wcscmp(cls, L"TwkFrameWindow") == 0) search->frames.push_back(hwnd);
  if ((!search->process || process == search->process) && wcscmp(cls, L"#32770") == 0 &&
      wcscmp(title, L"Tarnwick Pro") == 0 && IsWindowVisible(hwnd) && GetDlgItem(hwnd, 1011)) {
    search->box = hwnd;
  }
  return TRUE;
}

WindowSearch Windows(DWORD process = 0) {
  WindowSearch search{process};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
  return search;
}

// The service that these tests start (directly or through the program's COM activation)
// holds the output of whoever ran the tests: it is stopped after the last test unless it
// was running before the first.
class EngineLifetime : public ::testing::Environment {
 public:
  void SetUp() override { wasRunning_ = EngineRunning(); }
  void TearDown() override {
    if (!wasRunning_ && EngineRunning()) Engine(L"/stop");
  }

 private:
  bool wasRunning_ = false;
};
const auto* const engineLifetime = ::testing::AddGlobalTestEnvironment(new EngineLifetime);

// The main program installed in a temporary folder, its settings key saved and
// cleared for the test and put back afterwards.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring dist = twktest::DistFolder();
    for (const wchar_t* file : {L"Tarnwick.exe", L"TWKLang.dll", L"TWKDefsUpdaterLang.dll", L"TWKDD.dll",
                                L"CookiesDatabase.xml"}) {
      ASSERT_TRUE(CopyFileW((dist + L"\\" + file).c_str(), (folder / file).c_str(), FALSE)) << file;
    }
    RegCopyTreeW(HKEY_CURRENT_USER, kSettingsKey, backup.Key());
    SHDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    // No updater started by the defaults, no download dialog at start.
    Set(L"AutoDefinitionsDownload", L"FALSE");
    Set(L"DefinitionsDate", L"12/01/2099 10:00:00 AM");
    if (!EngineRunning()) {
      ASSERT_TRUE(Engine(L"/start"));
    }
  }
  void TearDown() override {
    for (auto& child : children) child.Terminate();
    twktest::PumpUntil([&] { return Windows().frames.empty(); }, 5000);
    SHDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    HKEY key = nullptr;
    if (RegCreateKeyW(HKEY_CURRENT_USER, kSettingsKey, &key) == ERROR_SUCCESS) {
      RegCopyTreeW(backup.Key(), nullptr, key);
      RegCloseKey(key);
    }
    if (!EngineRunning()) Engine(L"/start");
  }
  void Set(const wchar_t* name, const std::wstring& value) {
    twktest::SetRegString(HKEY_CURRENT_USER, kSettingsKey, name, value);
  }
  std::wstring Get(const wchar_t* name) {
    return twktest::GetRegString(HKEY_CURRENT_USER, kSettingsKey, name).value_or(L"<missing>");
  }
  twktest::ChildProcess& Start(const std::wstring& arguments = L"") {
    auto child = twktest::ChildProcess::Start(twktest::Quoted(folder / L"Tarnwick.exe") + arguments, folder.Path());
    EXPECT_TRUE(child);
    children.push_back(std::move(*child));
    return children.back();
  }
  // The shown main window of the last started program.
  HWND WaitForMainWindow() {
    HWND frame = nullptr;
    twktest::PumpUntil(
        [&] {
          auto found = Windows().frames;
          frame = found.empty() ? nullptr : found.front();
          return frame && IsWindowVisible(frame);
        },
        30000);
    return frame;
  }
  static int ActivePage(HWND frame) {
    HWND view = GetDlgItem(frame, 0xE900);
    HWND sheet = FindWindowExW(view, nullptr, L"#32770", nullptr);
    auto page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return static_cast<int>(SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
  }

  twktest::TempFolder folder;
  twktest::ScratchRegKey backup;
  twktest::RegValueRestorer mainRun{HKEY_CURRENT_USER, kRunKey, L"Tarnwick Pro"};
  twktest::RegValueRestorer updaterRun{HKEY_CURRENT_USER, kRunKey, L"Tarnwick Pro - Definitions Updater"};
  twktest::RegValueRestorer machineRun{HKEY_LOCAL_MACHINE, kRunKey, L"Tarnwick Pro"};
  std::vector<twktest::ChildProcess> children;
};

TEST_F(AppTest, FirstStartShowsTheWelcomePageOnceAndWritesTheDefaults) {
  Set(L"InstallTime", L"12/11/2026 09:00:00 AM");
  Start();
  HWND frame = WaitForMainWindow();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(ActivePage(frame), 0);
  HWND view = GetDlgItem(frame, 0xE900);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(view, 1572))) << "Scan is marked";
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(view, 1576)));
  EXPECT_EQ(Get(L"InstallTime"), L"");
  EXPECT_EQ(Get(L"SHOW_WELCOME"), L"TRUE");
  EXPECT_EQ(Get(L"DefaultScan"), L"Deep");
  EXPECT_EQ(Get(L"StatusType"), L"Needs Action");
  // The machine's run key on the systems that use it (Wine reports one of them).
  auto run = twktest::GetRegString(HKEY_CURRENT_USER, kRunKey, L"Tarnwick Pro");
  if (!run) run = twktest::GetRegString(HKEY_LOCAL_MACHINE, kRunKey, L"Tarnwick Pro");
  ASSERT_TRUE(run);
  EXPECT_EQ(*run, L"\"" + folder.Path() + L"\\Tarnwick.exe\" -m");
  RECT window{};
  GetWindowRect(frame, &window);
  EXPECT_EQ(window.right - window.left, 771);

  children.back().Terminate();
  ASSERT_TRUE(twktest::PumpUntil([&] { return Windows().frames.empty(); }, 5000));
  Start();
  frame = WaitForMainWindow();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(ActivePage(frame), 1);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(GetDlgItem(frame, 0xE900), 1576))) << "Status is marked";
}

TEST_F(AppTest, SecondInstanceBringsTheFirstForwardAndEnds) {
  Start();
  HWND frame = WaitForMainWindow();
  ASSERT_NE(frame, nullptr);
  ShowWindow(frame, SW_MINIMIZE);
  auto& second = Start(L" -start");
  auto code = second.Wait(20000);
  ASSERT_TRUE(code) << "the second instance did not end";
  EXPECT_EQ(Windows().frames.size(), 1u);
  EXPECT_FALSE(IsIconic(frame)) << "the first window is restored";
  EXPECT_EQ(ActivePage(frame), 1) << "the second command line has no effect";
}

TEST_F(AppTest, EngineStoppedWhileIdleIsReportedOnceAndTheProgramReconnects) {
  auto& app = Start();
  ASSERT_NE(WaitForMainWindow(), nullptr);
  twktest::PumpFor(1500);  // the program has connected
  ASSERT_TRUE(Engine(L"/stop"));
  EXPECT_TRUE(twktest::PumpUntil([] { return !EngineRunning(); }, 5000)) << "the service did not stop";
  HWND box = nullptr;
  ASSERT_TRUE(twktest::PumpUntil([&] { return (box = Windows(app.Id()).box) != nullptr; }, 20000));
  wchar_t text[256] = {};
  GetDlgItemTextW(box, 1011, text, 256);
  EXPECT_NE(std::wstring(text).find(L"scanning service"), std::wstring::npos) << text;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(1013, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, 1013)));
  ASSERT_TRUE(twktest::PumpUntil([&] { return Windows(app.Id()).box == nullptr; }, 5000));
  ASSERT_TRUE(Engine(L"/start"));
  twktest::PumpFor(2000);
  EXPECT_EQ(Windows(app.Id()).box, nullptr) << "no second message once the service is back";

  // The diagnostic log names the event.
  CClientLoggerInit logger(L"Tarnwick Pro", L"logs");
  std::wstring logFolder;
  ASSERT_TRUE(logger.DetermineCsidlFilePath(logFolder));
  bool logged = false;
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((logFolder + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string bytes;
      HANDLE file = CreateFileW((logFolder + L"\\" + found.cFileName).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        char chunk[65536];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read) bytes.append(chunk, read);
        CloseHandle(file);
      }
      // The log may be UTF-16 or 8-bit text: look for either form.
      std::string wide;
      for (char c : std::string("ServiceStopEventCaptured")) wide += c, wide += '\0';
      logged = logged || bytes.find("ServiceStopEventCaptured") != std::string::npos ||
               bytes.find(wide) != std::string::npos;
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  EXPECT_TRUE(logged) << "in " << std::string(logFolder.begin(), logFolder.end());
}

TEST_F(AppTest, SwitchesOfTheCommandLine) {
  struct Row {
    const wchar_t* arguments;
    int page;
  };
  // "-start": an automatic scan shows the scan page; "-alert": the options page; a
  // start switch with only a capital S is no switch.
  for (Row row : {Row{L" -start", 2}, Row{L" -alert", 5}, Row{L" -Start", 1}, Row{L" -m", 1}}) {
    SCOPED_TRACE(row.arguments);
    auto& app = Start(row.arguments);
    HWND frame = WaitForMainWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(twktest::PumpUntil([&] { return ActivePage(frame) == row.page; }, 3000)) << ActivePage(frame);
    app.Terminate();
    ASSERT_TRUE(twktest::PumpUntil([&] { return Windows().frames.empty(); }, 5000));
  }
}

TEST_F(AppTest, ThreatsLeftFromTheLastScanShowTheWarningBeforeTheMainWindow) {
  Set(L"SHOW_WARNING", L"true");
  Set(L"ERRORSFOUND", L"3");
  struct Row {
    const wchar_t* arguments;
    bool warning;
    // "-START" posts its scan request before the warning opens; the warning's loop hands
    // it to the frame, whose guard shows the window and drops the request.
    bool frameShownByScanRequest;
  };
  for (Row row : {Row{L"", true, false}, Row{L" -START", true, true}, Row{L" -start", false, false}}) {
    SCOPED_TRACE(row.arguments);
    auto& app = Start(row.arguments);
    HWND warning = nullptr;
    auto findWarning = [&] {
      WindowSearch search{app.Id()};
      EnumWindows(
          [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* found = reinterpret_cast<WindowSearch*>(lp);
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (process == found->process && IsWindowVisible(hwnd) && GetDlgItem(hwnd, 1302)) found->box = hwnd;
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&search));
      warning = search.box;
      return warning != nullptr;
    };
    if (row.warning) {
      ASSERT_TRUE(twktest::PumpUntil(findWarning, 20000));
      auto frames = Windows().frames;
      ASSERT_EQ(frames.size(), 1u);
      if (row.frameShownByScanRequest) {
        const HWND frame = frames.front();
        EXPECT_TRUE(twktest::PumpUntil([frame] { return IsWindowVisible(frame) != FALSE; }, 5000));
      } else {
        EXPECT_FALSE(IsWindowVisible(frames.front())) << "the main window waits for the warning";
      }
      // Its close button shows the main window.
      PostMessageW(warning, WM_COMMAND, MAKEWPARAM(1248, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(warning, 1248)));
      EXPECT_NE(WaitForMainWindow(), nullptr);
    } else {
      EXPECT_NE(WaitForMainWindow(), nullptr);
      EXPECT_FALSE(findWarning());
    }
    app.Terminate();
    ASSERT_TRUE(twktest::PumpUntil([&] { return Windows().frames.empty(); }, 5000));
  }
}

TEST_F(AppTest, MissingLanguageModuleIsReportedInTheUsersLanguage) {
  ASSERT_TRUE(DeleteFileW((folder / L"TWKLang.dll").c_str()));
  Set(L"Language", L"3");
  auto& french = Start();
  HWND box = nullptr;
  ASSERT_TRUE(twktest::PumpUntil([&] { return (box = Windows(french.Id()).box) != nullptr; }, 20000));
  wchar_t text[256] = {};
  GetDlgItemTextW(box, 1011, text, 256);
  EXPECT_STREQ(text, L"Certains fichiers sont manquants, veuillez r\u00e9installer le logiciel.");
  RECT window{};
  GetWindowRect(box, &window);
  EXPECT_EQ(window.right - window.left, 403) << "size variant 1";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(1013, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, 1013)));
  EXPECT_TRUE(french.Wait(10000)) << "the program ends after the message";
  EXPECT_TRUE(Windows().frames.empty());

  Set(L"Language", L"13");
  auto& unknown = Start();
  EXPECT_TRUE(unknown.Wait(10000)) << "no message, the program just ends";
  EXPECT_TRUE(Windows().frames.empty());
}

}  // namespace
