#pragma once
// The main program's one application object: start-up, the single-instance rule, the
// settings written at every start, the start-up screens, the status summary for an
// outside reader, the process-wide flags every screen reads and the orderly exit.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "ClientLoggerInit.h"
#include "CookieManagement.h"
#include "DocTemplate.h"
#include "ScanResultsState.h"
#include "ServerConnection.h"
#include "SettingsStore.h"
#include "SkinSource.h"
#include "StartupRules.h"
#include "WinHandle.h"
#include "XmlDocumentWrapper.h"

inline constexpr wchar_t kTarnwickSystemName[] = L"Tarnwick Pro";
inline constexpr wchar_t kInstanceMutexName[] = L"CRVTWKTDE-4:50-11/5/2008";
inline constexpr wchar_t kDownloadDialogMutexName[] = L"CRVTWKTDE-DEFSDIALOG-4:50-11/5/2008";
inline constexpr wchar_t kDownloadDialogTitle[] = L"Tarnwick Pro - Download Definitions";
inline constexpr wchar_t kAppModuleName[] = L"TarnwickApp.Mod";

class CMainFrame;
class CTarnwickView;

class CTarnwickApp : public wl::CApplication {
 public:
  // connectToService false: no service connection (tests of the windows alone).
  explicit CTarnwickApp(bool connectToService = true);
  ~CTarnwickApp() override;

  // The process's application object, or nullptr before one is made.
  static CTarnwickApp* Instance() noexcept;

  // Text number of the strings document; empty when it has none.
  std::wstring Text(int number) const;
  // "Tarnwick Pro <file version of Tarnwick.exe>": the main window's exact title.
  std::wstring MainWindowTitle(const std::wstring& productName) const;
  CMainFrame* MainFrame() const noexcept;
  CTarnwickView* MainView() const noexcept;

  // ---- operations other screens call ----
  void GetCompulsaryScantype();
  void GetCompulsaryCustomScanSettings();
  bool CheckIfCustomINIExist();
  void CreateCustomINI();
  void APCStatus();
  void SetStatusPageAsActive();
  void StartScheduleTimer();
  void ShowOptionsScreen();
  int ActivateDDDialog(HANDLE mutex);
  void QuitApplication();
  void InitTrayAndBalloon();
  // The single entry for unexpected failures: shows what failed, then ends the program.
  void ShowErrorReport(const wchar_t* module, const wchar_t* function, int line, DWORD lastError);
  // Opens the definitions download dialog modally and returns its end code.
  int RunDownloadDialog(int startLocation, int flags);
  // Cancels running definition downloads (system shutdown).
  void CancelDownloads();
  // Shows and repaints the main window (start-up screens, pop-up buttons).
  void ShowMainWindow();

  // ---- steps of the start-up, each callable alone ----
  static int GetOSVersionCode();
  void ShowMissingFilesMessage();
  bool LoadXMLResource();
  void CheckDefaultRegSettings();
  void ShowStartUpScreens();
  void HandleDownloadDialogResult(int code);
  // The skin source of the language module and the program, for every renderer.
  void InstallSkinSource();
  // Creates document, frame and view; the frame stays hidden.
  bool CreateMainWindow();

  // ---- what the application owns ----
  std::wstring appFolder;
  int osVersion = 0;
  int languageCode = 0;
  HMODULE languageModule = nullptr;
  HANDLE instanceMutex = nullptr;
  startup::CommandSwitch commandSwitch = startup::CommandSwitch::None;
  CXmlDocumentWrapper strings;
  ScanResultsState results;
  std::unique_ptr<CServerConnectionInstance> connection;
  CClientLoggerInit loggerInit;
  std::unique_ptr<CCookieManagement> cookieManagement;
  std::vector<std::wstring> customScanLocations;
  std::vector<std::wstring> customScanExclusions;
  HWND trayWindow = nullptr;  // the tray icon's window once it exists
  // How the settings reach the definitions updater (tests replace it).
  CSettingsStore::UpdaterControl updaterControl = CSettingsStore::SystemUpdaterControl();

  // ---- process-wide flags (0 or 1) ----
  int startupDialogShown = 0;
  int scanInProgress = 0;
  int scanCompleted = 0;
  int lastScanStopped = 0;
  int exiting = 0;
  int compulsoryScan = 0;
  int scanType = 0;
  int downloadDialogBusy = 0;
  int alertSettingsPending = 0;
  int autoScanStarting = 0;
  int messageBoxShown = 0;
  int overlayShown = 0;
  int closeSummaryOnFocus = 1;
  int fixInProgress = 0;
  int cleaningEnded = 0;
  int customScanDialogOpen = 0;
  int balloonCloseAll = 0;

 protected:
  bool InitInstance() override;
  int ExitInstance() override;

 private:
  bool ModulesPresent();
  bool EnforceSingleInstance();

  std::unique_ptr<twk::skin::CModuleSkinSource> skinSource_;
  std::unique_ptr<wl::CSingleDocTemplate> docTemplate_;
};

// The application object: every screen's way to the flags and texts.
CTarnwickApp& App();
