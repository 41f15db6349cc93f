#include "TarnwickApp.h"

#include <commctrl.h>
#include <objbase.h>

#include <cmath>

#include "AppStatusRule.h"
#include "ClientLog.h"
#include "FileVersionInfo.h"
#include "MainFrame.h"
#include "MessageStep.h"
#include "PrivateMessages.h"
#include "RegistryAccess.h"
#include "Resource.h"
#include "ScanWrapper.h"
#include "ServiceWrapper.h"
#include "SettingValues.h"
#include "SettingsStore.h"
#include "StringsDocument.h"
#include "StartAtBoot.h"
#include "TWKConfig.h"
#include "TarnwickTexts.h"
#include "TarnwickView.h"
#include "WideFormat.h"
#include "WindowShape.h"
#include "dialogs/TWKMessageBox.h"
#include "dialogs/TWKWarningDlg.h"

namespace {

CTarnwickApp* theInstance = nullptr;

// The modules the program ships beside itself; loading them proves they are there.
constexpr const wchar_t* kRequiredModules[] = {L"TWKDefsUpdaterLang.dll", L"TWKDD.dll"};

std::wstring CommandLineText() {
  const wchar_t* line = ::GetCommandLineW();
  return line ? line : L"";
}

std::wstring ReplacedNumber(std::wstring text, const std::wstring& number) {
  const auto at = text.find(L"%d");
  if (at != std::wstring::npos) text.replace(at, 2, number);
  return text;
}

// Seconds from a settings date to now; empty when it does not parse.
std::optional<double> SecondsSince(const std::wstring& text) {
  const auto when = twk::ParseSettingsDate(text);
  if (!when) return std::nullopt;
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  DATE now = 0;
  ::SystemTimeToVariantTime(&local, &now);
  return (now - *when) * 86400.0;
}

class CTarnwickDoc : public wl::CDocument {};

}  // namespace

CTarnwickApp& App() { return *CTarnwickApp::Instance(); }

CTarnwickApp* CTarnwickApp::Instance() noexcept { return theInstance; }

CTarnwickApp::CTarnwickApp(bool connectToService) : loggerInit(kTarnwickSystemName, L"logs") {
  theInstance = this;
  if (connectToService) {
    connection = std::make_unique<CServerConnectionInstance>(kTarnwickSystemName);
    CServiceWrapper::SetCompanyProduct();
  }
  SetMessageBoxHandler([](const std::wstring& text, UINT style) {
    return TWKMessage(text, static_cast<int>(style & 0x0F), static_cast<int>(style & 0xF0));
  });
  SetErrorReportHandler([](const wchar_t* module, const wchar_t* function, int line, DWORD lastError) {
    if (theInstance) theInstance->ShowErrorReport(module, function, line, lastError);
  });
}

CTarnwickApp::~CTarnwickApp() {
  docTemplate_.reset();
  twk::skin::SetDefaultSkinSource(nullptr);
  if (theInstance == this) theInstance = nullptr;
}

std::wstring CTarnwickApp::Text(int number) const {
  try {
    return GetStringById(strings, number);
  } catch (...) {
    return {};
  }
}

std::wstring CTarnwickApp::MainWindowTitle(const std::wstring& productName) const {
  CFileVersionInfo version;
  std::wstring text;
  try {
    if (version.Create(appFolder + L"\\Tarnwick.exe")) text = version.GetFileVersion();
  } catch (const std::exception&) {
  }
  return twk::Format(L"%s %s", productName.c_str(), text.c_str());
}

CMainFrame* CTarnwickApp::MainFrame() const noexcept {
  return docTemplate_ ? static_cast<CMainFrame*>(docTemplate_->Frame()) : nullptr;
}

CTarnwickView* CTarnwickApp::MainView() const noexcept {
  return docTemplate_ ? static_cast<CTarnwickView*>(docTemplate_->View()) : nullptr;
}

int CTarnwickApp::GetOSVersionCode() {
  OSVERSIONINFOW info{sizeof info};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&info)) return 0;
#pragma GCC diagnostic pop
  return startup::OsVersionCode(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

void CTarnwickApp::ShowMissingFilesMessage() {
  const startup::MissingFilesMessage message = startup::MissingFilesMessageFor(languageCode);
  switch (message.kind) {
    case startup::MissingFilesMessage::Kind::Skinned: {
      CTWKMessageBox box(message.sizeVariant, nullptr);
      box.Show(message.text, MB_OK, MB_ICONERROR);
      break;
    }
    case startup::MissingFilesMessage::Kind::System:
      ::MessageBoxW(nullptr, message.text.c_str(), kTarnwickSystemName, MB_OK | MB_ICONERROR);
      break;
    case startup::MissingFilesMessage::Kind::None:
      break;
  }
}

bool CTarnwickApp::ModulesPresent() {
  // By full path from the program folder: a bare name would be searched along the DLL
  // path, where a planted library could stand in for ours.
  const std::wstring language = appFolder + L"\\TWKLang.dll";
  languageModule = ::LoadLibraryExW(language.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  bool present = languageModule != nullptr;
  for (const wchar_t* name : kRequiredModules) {
    const std::wstring path = appFolder + L"\\" + name;
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module) {
      ::FreeLibrary(module);
    } else {
      present = false;
    }
  }
  return present;
}

bool CTarnwickApp::LoadXMLResource() { return TarnwickLoadXMLResource(languageModule, strings) == 1; }

bool CTarnwickApp::CheckIfCustomINIExist() {
  const std::wstring path = appFolder + L"\\CustomScanSettings.ini";
  if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  CreateCustomINI();
  return false;
}

void CTarnwickApp::CreateCustomINI() {
  const std::wstring path = appFolder + L"\\CustomScanSettings.ini";
  ::WritePrivateProfileStringW(L"Settings", nullptr, nullptr, path.c_str());
  for (const wchar_t* key : {L"Processes", L"Registry", L"Cookies", L"Exclusions", L"FileTypeCount", L"FolderCount"}) {
    ::WritePrivateProfileStringW(L"Settings", key, L"0", path.c_str());
  }
  for (const wchar_t* section : {L"FileTypes", L"Folders"}) {
    ::WritePrivateProfileStringW(section, nullptr, nullptr, path.c_str());
    ::WritePrivateProfileStringW(section, L"", L"", path.c_str());
  }
}

void CTarnwickApp::GetCompulsaryCustomScanSettings() {
  // The custom scan settings file is read for a scan by the scan settings screens.
  CheckIfCustomINIExist();
}

bool CTarnwickApp::EnforceSingleInstance() {
  ::SetLastError(0);
  instanceMutex = ::CreateMutexW(nullptr, TRUE, kInstanceMutexName);
  if (::GetLastError() != ERROR_ALREADY_EXISTS) return true;
  const std::wstring title = MainWindowTitle(Text(101));
  if (HWND first = ::FindWindowW(nullptr, title.c_str())) {
    ::SetForegroundWindow(first);
    ::ShowWindow(first, SW_RESTORE);
    return false;
  }
  ::CloseHandle(instanceMutex);
  instanceMutex = ::CreateMutexW(nullptr, TRUE, kInstanceMutexName);
  ::OutputDebugStringW(
      twk::Format(L"CTarnwickApp::InitInstance - FindWindow Failed with Error=%d", ::GetLastError()).c_str());
  return false;
}

void CTarnwickApp::InstallSkinSource() {
  // Forms from the language module first, then the program's own (the message box);
  // pictures from the language module.
  skinSource_ = std::make_unique<twk::skin::CModuleSkinSource>(
      std::vector<HMODULE>{languageModule, ::GetModuleHandleW(nullptr)}, languageModule, kTarnwickSystemName);
  twk::skin::SetDefaultSkinSource(skinSource_.get());
}

bool CTarnwickApp::CreateMainWindow() {
  const std::wstring title = MainWindowTitle(kTarnwickSystemName);
  docTemplate_ = std::make_unique<wl::CSingleDocTemplate>(
      IDR_MAINFRAME, [] { return std::make_unique<CTarnwickDoc>(); },
      [title] {
        auto frame = std::make_unique<CMainFrame>();
        frame->title = title;
        return frame;
      },
      [] { return std::make_unique<CTarnwickView>(); });
  if (!docTemplate_->OpenNewDocument(title.c_str(), WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, false)) {
    docTemplate_.reset();
    return false;
  }
  CMainFrame* frame = MainFrame();
  SetMainWindow(frame);
  frame->FitToView();
  ::SetWindowPos(*frame, nullptr, 0, 0, CMainFrame::kWidth, CMainFrame::kHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  frame->SetText(title);
  wl::CenterOnScreen(*frame);
  ::ShowWindow(*frame, SW_HIDE);
  return true;
}

bool CTarnwickApp::InitInstance() {
  try {
    // 1.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::CoInitialize(nullptr);
    // 2.
    const std::wstring commandLine = CommandLineText();
    appFolder = startup::AppFolderFromCommandLine(commandLine);
    if (appFolder.empty()) {
      // Started without a path (a bare name from the current folder): the module's own folder.
      wchar_t path[MAX_PATH] = {};
      ::GetModuleFileNameW(nullptr, path, MAX_PATH);
      appFolder = startup::AppFolderFromCommandLine(path);
    }
    commandSwitch = startup::ParseCommandSwitch(commandLine);
    languageCode = startup::LanguageCodeFromText(twk::ReadSetting(twk::setting::kLanguage));
    // 3.
    if (!ModulesPresent()) {
      ShowMissingFilesMessage();
      return false;
    }
    // 4.
    osVersion = GetOSVersionCode();
    // 5.
    if (!LoadXMLResource()) {
      ShowMissingFilesMessage();
      return false;
    }
    InstallSkinSource();
    // 6.
    CheckIfCustomINIExist();
    // 7.
    if (!EnforceSingleInstance()) return false;
    // 8.
    if (FAILED(::OleInitialize(nullptr))) {
      wchar_t text[256] = {};
      ::LoadStringW(::GetModuleHandleW(nullptr), IDP_OLE_INIT_FAILED, text, 256);
      ::MessageBoxW(nullptr, text, kTarnwickSystemName, MB_OK | MB_ICONERROR);
      return false;
    }
    cookieManagement = std::make_unique<CCookieManagement>(appFolder);
    // 9.
    if (!CreateMainWindow()) return false;
    // 10., 11.
    CheckDefaultRegSettings();
    APCStatus();
    // 12.
    CMainFrame* frame = MainFrame();
    if (startup::IsStartSwitch(commandSwitch)) {
      GetCompulsaryScantype();
      ::ShowWindow(*frame, SW_SHOWNORMAL);
      frame->PostMessage(WM_TWK_COMPULSORYSCAN);
    } else if (commandSwitch == startup::CommandSwitch::Alert) {
      ::ShowWindow(*frame, SW_SHOWNORMAL);
      frame->PostMessage(WM_TWK_ALERTSETTINGS);
    }
    // 13.
    ::ShowWindow(*frame, SW_HIDE);
    // 14.
    ShowStartUpScreens();
    // 15.
    if (!startupDialogShown) InitTrayAndBalloon();
    // 16.
    cookieManagement->PopulateIgnoreList();
    ClientLog(LOG_TRACE, kTarnwickSystemName, L"CTarnwickApp::InitInstance", L"Tarnwick Pro started.");
    return true;
  } catch (...) {
    ShowErrorReport(kAppModuleName, L"CTarnwickApp::InitInstance", 455, ::GetLastError());
    return false;
  }
}

int CTarnwickApp::ExitInstance() {
  docTemplate_.reset();
  twk::skin::SetDefaultSkinSource(nullptr);
  skinSource_.reset();
  if (languageModule) {
    ::FreeLibrary(languageModule);
    languageModule = nullptr;
  }
  if (instanceMutex) {
    ::CloseHandle(instanceMutex);
    instanceMutex = nullptr;
  }
  ::OleUninitialize();
  ::CoUninitialize();
  return ExitCode();
}

void CTarnwickApp::CheckDefaultRegSettings() {
  try {
    using namespace twk::setting;
    if (twk::SettingIsEmpty(kShowWelcome)) twk::WriteSetting(kShowWelcome, L"TRUE");
    if (twk::SettingIsEmpty(kShowScanResult)) twk::WriteSetting(kShowScanResult, L"TRUE");
    const RunKeyLocation runKey = CStartAtBoot::LocationFor(osVersion);
    CSettingsStore store(appFolder, runKey, Text(20049), updaterControl);
    if (twk::SettingIsEmpty(kStartAtBoot)) {
      twk::WriteSetting(kStartAtBoot, L"TRUE");
      store.SetMainLaunchEntry(true);
    }
    const std::wstring next = twk::ReadSetting(kNextScanning);
    if (next.empty()) {
      twk::WriteSetting(kDays, L"7");
      twk::WriteSetting(kHours, L"0");
      twk::WriteSetting(kNextScanning, twk::FormatScheduleDate(twk::LocalTimeAfterSeconds(604800)));
    } else if (next == L"0") {
      twk::WriteSetting(kDays, L"0");
      twk::WriteSetting(kHours, L"0");
      twk::WriteSetting(kNextScanning, L"0");
    }
    if (twk::SettingIsEmpty(kDefaultScan)) twk::WriteSetting(kDefaultScan, L"Deep");
    if (twk::SettingIsEmpty(kAutoDefinitionsDownload)) {
      twk::WriteSetting(kAutoDefinitionsDownload, L"TRUE");
      store.SetUpdaterLaunchSettings(1);
      store.SetAutoDefDownloadRegSettings(1);
    }
    if (twk::SettingIsEmpty(kShowAutoDefinitionAlerts)) twk::WriteSetting(kShowAutoDefinitionAlerts, L"TRUE");
  } catch (...) {
    ShowErrorReport(kAppModuleName, L"CTarnwickApp::CheckDefaultRegSettings", 640, ::GetLastError());
  }
}

void CTarnwickApp::APCStatus() {
  try {
    using namespace twk::setting;
    AppStatusInputs in;
    in.lastScanStopped = lastScanStopped != 0;
    in.scannedTime = twk::ReadSetting(kScannedCompleteTime);
    in.fixedTime = twk::ReadSetting(kFixedCompleteTime);
    in.errorsFound = twk::ReadSetting(kErrorsFound);
    if (auto seconds = SecondsSince(in.scannedTime)) in.daysSinceScan = *seconds / 86400.0;
    const AppStatusDecision decision = DecideAppStatus(in);
    if (decision.stringNumber == 0) return;
    std::wstring text = Text(decision.stringNumber);
    if (!decision.replacement.empty()) text = ReplacedNumber(text, decision.replacement);
    twk::WriteSetting(kAppStatus, text);
    twk::WriteSetting(kStatusType, decision.statusType);
  } catch (...) {
    ShowErrorReport(kAppModuleName, L"CTarnwickApp::APCStatus", 1043, ::GetLastError());
  }
}

void CTarnwickApp::ShowMainWindow() {
  if (CMainFrame* frame = MainFrame()) {
    ::ShowWindow(*frame, SW_SHOWNORMAL);
    ::UpdateWindow(*frame);
  }
}

void CTarnwickApp::ShowStartUpScreens() {
  try {
    using namespace twk::setting;
    const std::wstring showWarning = twk::ReadSetting(kShowWarning);
    const int errorsFound = twk::CountFromText(twk::ReadSetting(kErrorsFound));
    twk::WriteSetting(kCurrentlyScanning, L"0");
    twk::WriteSetting(kCreatingRestorePoint, L"0");
    const std::wstring definitionsDate = twk::ReadSetting(kDefinitionsDate);
    const int age = startup::DefinitionsAgeCheck(definitionsDate, SecondsSince(definitionsDate));
    if (age == 1) {
      startupDialogShown = 1;
      HandleDownloadDialogResult(RunDownloadDialog(0, 0));
    } else if (age == 2) {
      HandleDownloadDialogResult(RunDownloadDialog(1, 0));
    } else if (commandSwitch == startup::CommandSwitch::Alert) {
      ShowMainWindow();
      StartScheduleTimer();
    }
    if (commandSwitch == startup::CommandSwitch::StartLower) {
      ShowMainWindow();
      StartScheduleTimer();
      return;
    }
    if (twk::IsTrueText(showWarning) && errorsFound > 0) {
      startupDialogShown = 1;
      CTWKWarningDlg warning;
      warning.DoModal(nullptr);
    } else {
      ShowMainWindow();
      StartScheduleTimer();
    }
  } catch (...) {
    ShowErrorReport(kAppModuleName, L"CTarnwickApp::ShowStartUpScreens", 780, ::GetLastError());
  }
}

void CTarnwickApp::HandleDownloadDialogResult(int code) {
  switch (startup::DownloadDialogResultAction(code)) {
    case startup::DownloadResultAction::Quit:
      QuitApplication();
      break;
    case startup::DownloadResultAction::ShowMainWindow:
      downloadDialogBusy = 0;
      startupDialogShown = 0;
      ShowMainWindow();
      StartScheduleTimer();
      break;
    case startup::DownloadResultAction::Nothing:
      break;
  }
}

int CTarnwickApp::RunDownloadDialog(int startLocation, int flags) {
  // The definitions download dialog of the download library plugs in here. Until then
  // the start-up goes on as if the dialog had been closed with its close button.
  ClientLog(LOG_TRACE, kTarnwickSystemName, L"CTarnwickApp::RunDownloadDialog",
            L"Download dialog requested at location %d with flags %d.", startLocation, flags);
  return startLocation == 1 ? 6 : 3;
}

void CTarnwickApp::CancelDownloads() {
  // The download library's CancelUpdates plugs in here.
}

void CTarnwickApp::GetCompulsaryScantype() {
  try {
    compulsoryScan = 1;
    std::wstring kind;
    const twk::SettingsLocation& where = twk::CurrentSettingsLocation();
    if (!twk::ReadString(where.root, where.subKey.c_str(), twk::setting::kDefaultScan, kind)) {
      scanType = 1;
      return;
    }
    for (auto& c : kind) c = static_cast<wchar_t>(::towupper(c));
    if (kind == L"QUICK") {
      scanType = 0;
    } else if (kind == L"DEEP") {
      scanType = 1;
    } else if (kind == L"CUSTOM") {
      scanType = 2;
      GetCompulsaryCustomScanSettings();
    }
  } catch (...) {
    ShowErrorReport(kAppModuleName, L"CTarnwickApp::GetCompulsaryScantype", 1290, ::GetLastError());
  }
}

void CTarnwickApp::SetStatusPageAsActive() {
  if (CTarnwickView* view = MainView()) {
    view->SelectNavButton(IDC_NAV_STATUS);
    view->ShowPage(kStatusPage);
  }
}

void CTarnwickApp::ShowOptionsScreen() {
  if (CTarnwickView* view = MainView()) {
    ShowMainWindow();
    view->SelectNavButton(IDC_NAV_SETTINGS);
    view->ShowPage(kOptionsPage);
  }
}

void CTarnwickApp::StartScheduleTimer() {
  if (CMainFrame* frame = MainFrame()) {
    frame->scheduleTimerEnabled = 1;
    frame->SetTimer(SCHEDULE_TIMER_ID, kScheduleTimerPeriodMs);
  }
}

int CTarnwickApp::ActivateDDDialog(HANDLE mutex) {
  int found = 0;
  if (HWND dialog = ::FindWindowW(nullptr, kDownloadDialogTitle)) {
    ::SetForegroundWindow(dialog);
    ::ShowWindow(dialog, SW_SHOWNORMAL);
    found = 1;
  } else {
    ::OutputDebugStringW(
        twk::Format(L"ActivateDDDialog - Cound Not find existing window. Error =%d", ::GetLastError()).c_str());
  }
  if (mutex) ::CloseHandle(mutex);
  return found;
}

void CTarnwickApp::InitTrayAndBalloon() {
  // The tray icon with its menu and start-up balloon plugs in here; nothing to do while
  // the tray exists already.
  if (trayWindow) return;
}

void CTarnwickApp::QuitApplication() {
  if (scanInProgress) {
    CScanWrapper::AbortScan();
    twk::WriteSetting(twk::setting::kCurrentlyScanning, L"0");
  }
  if (trayWindow) {
    ::DestroyWindow(trayWindow);
    trayWindow = nullptr;
  }
  ::PostQuitMessage(0);
}

void CTarnwickApp::ShowErrorReport(const wchar_t* module, const wchar_t* function, int line, DWORD lastError) {
  // The error report dialog plugs in here; until then the plain facts in a system box.
  const wchar_t* name = wcsrchr(function, L':');
  name = name ? name + 1 : function;
  ClientLog(LOG_ERROR, kTarnwickSystemName, function, L"Unexpected error in %s line %d. Error = %lu", module, line,
            lastError);
  const std::wstring text = twk::Format(L"%s ...Line No %d\r\nError %lu", name, line, lastError);
  ::MessageBoxW(nullptr, text.c_str(), kTarnwickSystemName, MB_OK | MB_ICONERROR);
  ::PostQuitMessage(0);
}
