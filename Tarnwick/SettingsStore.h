#pragma once
// The main program's settings operations on the automatic definitions download and
// the updater's start at log-on.
#include <windows.h>

#include <functional>
#include <string>

#include "StartAtBoot.h"

inline constexpr DWORD kDefaultDownloadInterval = 172800;  // two days, in seconds
inline constexpr wchar_t kUpdaterExe[] = L"TWKDefsUpdater.exe";
inline constexpr wchar_t kMainExe[] = L"Tarnwick.exe";

class CSettingsStore {
 public:
  // How the store reaches the updater; the defaults are the real window and shell calls.
  struct UpdaterControl {
    std::function<HWND(const std::wstring& title)> findWindow;
    std::function<void(const std::wstring& program)> start;  // shell verb "open", normal window
    std::function<void(HWND window)> quit;                   // posts the quit message
  };
  static UpdaterControl SystemUpdaterControl();

  // programFolder: the main program's folder; runKey: where start-at-boot entries go;
  // updaterTitle: the updater window's title (text 20049).
  CSettingsStore(std::wstring programFolder, RunKeyLocation runKey, std::wstring updaterTitle,
                 UpdaterControl control = SystemUpdaterControl());

  void SetUpdaterLaunchSettings(int enable) const;
  void SetAutoDefDownloadRegSettings(int enable) const;
  void SetNextDownloadDate(long long seconds) const;
  // The main program's own entry, written at first start and by the options page.
  void SetMainLaunchEntry(bool enable) const;

  const CStartAtBoot& RunEntries() const { return runEntries_; }

 private:
  std::wstring programFolder_;
  CStartAtBoot runEntries_;
  std::wstring updaterTitle_;
  UpdaterControl control_;
};
