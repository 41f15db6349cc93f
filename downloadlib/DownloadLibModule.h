#pragma once
// The library's module-wide objects, constructed when the library is loaded.
#include "ActivityLog.h"
#include "ClientLoggerInit.h"

inline constexpr wchar_t kDownloadLibSystemName[] = L"TWKDD";

struct CDownloadLibModule {
  CDownloadLibModule();
  CClientLoggerInit loggerInit;
  CActivityLog activityLog;
};

extern CDownloadLibModule theDownloadLib;
