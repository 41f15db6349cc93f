#include "DefsUpdaterApp.h"

#include <windows.h>

#include "ClientLog.h"
#include "OSName.h"
#include "ServiceWrapper.h"

CDefsUpdaterApp::CDefsUpdaterApp()
    : connection(kUpdaterSystemName),
      loggerInit(kUpdaterSystemName, L"AutoUpdater"),
      activityLog(L"TWKDefsUpdaterActivity.Log") {
  CServiceWrapper::SetCompanyProduct();
  activityLog.Write(L"OSInformation: " + GetOSName(OSNameSpelling::DownloadComponents));
}

int CDefsUpdaterApp::Run() {
  ClientLog(LOG_TRACE, kUpdaterSystemName, L"CDefsUpdaterApp::Run", L"TWKDefsUpdater started.");
  return 0;
}
