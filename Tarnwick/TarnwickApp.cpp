#include "TarnwickApp.h"

#include "ClientLog.h"

CTarnwickApp::CTarnwickApp() : loggerInit(kTarnwickSystemName, L"logs") {}

int CTarnwickApp::Run() {
  ClientLog(LOG_TRACE, kTarnwickSystemName, L"CTarnwickApp::Run", L"Tarnwick Pro started.");
  return 0;
}
