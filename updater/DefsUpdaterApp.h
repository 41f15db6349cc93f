#pragma once
// The updater's one application object.
#include "ActivityLog.h"
#include "ClientLoggerInit.h"

inline constexpr wchar_t kUpdaterSystemName[] = L"TWKDefsUpdater";

class CDefsUpdaterApp {
 public:
  CDefsUpdaterApp();
  int Run();

  CClientLoggerInit loggerInit;
  CActivityLog activityLog;
};

extern CDefsUpdaterApp theUpdaterApp;
