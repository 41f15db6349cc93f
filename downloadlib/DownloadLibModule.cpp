#include "DownloadLibModule.h"

CDownloadLibModule::CDownloadLibModule()
    : loggerInit(kDownloadLibSystemName, L"AutoUpdater"), activityLog(L"TWKDDActivity.log") {}

CDownloadLibModule theDownloadLib;
