#pragma once
// The main program's one application object.
#include "ClientLoggerInit.h"
#include "ServerConnection.h"

inline constexpr wchar_t kTarnwickSystemName[] = L"Tarnwick Pro";

class CTarnwickApp {
 public:
  CTarnwickApp();
  int Run();

  // Made first: COM for the user-interface thread and the connection to the service.
  CServerConnectionInstance connection;
  CClientLoggerInit loggerInit;
};

extern CTarnwickApp theApp;
