#include "DefsUpdaterApp.h"

#include <windows.h>

#include "ClientLog.h"
#include "ServiceWrapper.h"
#include "WideFormat.h"

namespace {

// What the platform reports of itself; the product's own naming of systems replaces it.
std::wstring PlatformVersionText() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return L"";
#pragma GCC diagnostic pop
  return twk::Format(L"Windows %lu.%lu Build %lu %s", info.dwMajorVersion, info.dwMinorVersion,
                     info.dwBuildNumber, info.szCSDVersion);
}

}  // namespace

CDefsUpdaterApp::CDefsUpdaterApp()
    : connection(kUpdaterSystemName),
      loggerInit(kUpdaterSystemName, L"AutoUpdater"),
      activityLog(L"TWKDefsUpdaterActivity.Log") {
  CServiceWrapper::SetCompanyProduct();
  activityLog.Write(L"OSInformation: " + PlatformVersionText());
}

int CDefsUpdaterApp::Run() {
  ClientLog(LOG_TRACE, kUpdaterSystemName, L"CDefsUpdaterApp::Run", L"TWKDefsUpdater started.");
  return 0;
}
