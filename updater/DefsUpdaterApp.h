#pragma once
// The updater's one application object.
#include "ActivityLog.h"
#include "ClientLoggerInit.h"
#include "ServerConnection.h"

inline constexpr wchar_t kUpdaterSystemName[] = L"TWKDefsUpdater";

class CDefsUpdaterApp {
 public:
  CDefsUpdaterApp();
  int Run();

  // Made first: COM for the user-interface thread and the connection to the service.
  CServerConnectionInstance connection;
  CClientLoggerInit loggerInit;
  CActivityLog activityLog;
};

extern CDefsUpdaterApp theUpdaterApp;
