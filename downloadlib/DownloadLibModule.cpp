#include "DownloadLibModule.h"

CDownloadLibModule::CDownloadLibModule()
    : loggerInit(kDownloadLibSystemName, L"AutoUpdater"), activityLog(L"TWKDDActivity.log") {}

void CDownloadLibModule::OpenConnection() {
  if (!connection) connection = std::make_unique<CServerConnectionInstance>(kDownloadLibSystemName);
}

void CDownloadLibModule::CloseConnection() { connection.reset(); }

CDownloadLibModule theDownloadLib;
