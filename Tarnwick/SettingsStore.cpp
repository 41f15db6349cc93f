#include "SettingsStore.h"

#include <shellapi.h>

#include "RegistryAccess.h"
#include "SettingValues.h"

CSettingsStore::UpdaterControl CSettingsStore::SystemUpdaterControl() {
  UpdaterControl control;
  control.findWindow = [](const std::wstring& title) { return FindWindowW(nullptr, title.c_str()); };
  control.start = [](const std::wstring& program) {
    ShellExecuteW(nullptr, L"open", program.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  control.quit = [](HWND window) { PostMessageW(window, WM_QUIT, 0, 0); };
  return control;
}

CSettingsStore::CSettingsStore(std::wstring programFolder, RunKeyLocation runKey,
                               std::wstring updaterTitle, UpdaterControl control)
    : programFolder_(std::move(programFolder)),
      runEntries_(std::move(runKey)),
      updaterTitle_(std::move(updaterTitle)),
      control_(std::move(control)) {}

void CSettingsStore::SetUpdaterLaunchSettings(int enable) const {
  HWND updater = control_.findWindow ? control_.findWindow(updaterTitle_) : nullptr;
  if (enable == 1) {
    runEntries_.Write(kUpdaterRunEntry, programFolder_, kUpdaterExe);
    if (!updater && control_.start) {
      control_.start(CStartAtBoot::ProgramOfEntry(CStartAtBoot::EntryData(programFolder_, kUpdaterExe)));
    }
  } else if (enable == 0) {
    runEntries_.Remove(kUpdaterRunEntry);
    if (updater && control_.quit) control_.quit(updater);
  }
}

void CSettingsStore::SetAutoDefDownloadRegSettings(int enable) const {
  const auto& where = twk::CurrentSettingsLocation();
  if (enable == 1) {
    DWORD interval = 0;
    if (!twk::ReadDword(where.root, where.subKey.c_str(), twk::setting::kDefinitionsDownloadInterval,
                        interval) ||
        interval == 0) {
      twk::WriteDword(where.root, where.subKey.c_str(), twk::setting::kDefinitionsDownloadInterval,
                      kDefaultDownloadInterval);
      SetNextDownloadDate(kDefaultDownloadInterval);
    }
  } else if (enable == 0) {
    twk::WriteDword(where.root, where.subKey.c_str(), twk::setting::kDefinitionsDownloadInterval, 0);
    SetNextDownloadDate(0);
  }
}

void CSettingsStore::SetNextDownloadDate(long long seconds) const {
  const std::wstring date =
      seconds > 0 ? twk::FormatScheduleDate(twk::LocalTimeAfterSeconds(seconds)) : std::wstring(L"0");
  twk::WriteSetting(twk::setting::kNextAutoDownloadDate, date);
}

void CSettingsStore::SetMainLaunchEntry(bool enable) const {
  if (enable) {
    runEntries_.Write(kMainRunEntry, programFolder_, kMainExe);
  } else {
    runEntries_.Remove(kMainRunEntry);
  }
}
