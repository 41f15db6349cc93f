#include "AppTestSupport.h"

#include <commctrl.h>

#include "ChildProcess.h"
#include "MainFrame.h"

namespace apptest {

CTarnwickApp& TheApp() {
  static CTarnwickApp* app = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    auto* made = new CTarnwickApp(false);
    made->appFolder = twktest::DistFolder();
    for (auto& c : made->appFolder) {
      if (c == L'/') c = L'\\';
    }
    made->languageModule =
        LoadLibraryExW((made->appFolder + L"\\TWKLang.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    made->LoadXMLResource();
    made->InstallSkinSource();
    made->updaterControl = CSettingsStore::UpdaterControl{[](const std::wstring&) -> HWND { return nullptr; },
                                                          [](const std::wstring&) {}, [](HWND) {}};
    return made;
  }();
  return *app;
}

CTarnwickApp& AppWithMainWindow() {
  CTarnwickApp& app = TheApp();
  if (!app.MainFrame()) {
    ScratchSettings settings;
    app.CreateMainWindow();
  }
  return app;
}

ScratchSettings::ScratchSettings() : previous_(twk::CurrentSettingsLocation()) {
  twk::SetSettingsLocation({HKEY_CURRENT_USER, key_.SubKey()});
}

ScratchSettings::~ScratchSettings() { twk::SetSettingsLocation(previous_); }

namespace {
int pressId = 0;
std::function<void(HWND)> pressInspect;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
  wchar_t title[64] = {};
  wchar_t cls[16] = {};
  GetWindowTextW(hwnd, title, 64);
  GetClassNameW(hwnd, cls, 16);
  if (IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0 && lstrcmpW(title, L"Tarnwick Pro") == 0 &&
      !(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED)) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK PressTick(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, timer);
  if (pressInspect) pressInspect(box);
  pressInspect = nullptr;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(pressId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, pressId)));
}
}  // namespace

void PressWhenOpen(int id, std::function<void(HWND)> inspect) {
  pressId = id;
  pressInspect = std::move(inspect);
  SetTimer(nullptr, 0, 20, PressTick);
}

void ResetFlags(CTarnwickApp& app) {
  app.startupDialogShown = app.scanInProgress = app.scanCompleted = app.lastScanStopped = 0;
  app.exiting = app.messageBoxShown = app.overlayShown = app.downloadDialogBusy = 0;
  app.alertSettingsPending = app.fixInProgress = app.cleaningEnded = app.customScanDialogOpen = 0;
  app.results = ScanResultsState{};
}

}  // namespace apptest
