#pragma once
// The library's module-wide objects, constructed when the library is loaded.
#include "ActivityLog.h"
#include "ClientLoggerInit.h"
#include "ServerConnection.h"

#include <memory>

inline constexpr wchar_t kDownloadLibSystemName[] = L"TWKDD";

struct CDownloadLibModule {
  CDownloadLibModule();
  CClientLoggerInit loggerInit;
  CActivityLog activityLog;

  // The library's own connection to the service, owned by the download dialog for its
  // life: made when the dialog starts (never while the library is being loaded, when
  // no COM activation may run), released when it ends.
  void OpenConnection();
  void CloseConnection();
  std::unique_ptr<CServerConnectionInstance> connection;
};

extern CDownloadLibModule theDownloadLib;
