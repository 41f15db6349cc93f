#include "TarnwickApp.h"

#include "ClientLog.h"
#include "ServiceWrapper.h"

CTarnwickApp::CTarnwickApp() : connection(kTarnwickSystemName), loggerInit(kTarnwickSystemName, L"logs") {
  CServiceWrapper::SetCompanyProduct();
}

int CTarnwickApp::Run() {
  ClientLog(LOG_TRACE, kTarnwickSystemName, L"CTarnwickApp::Run", L"Tarnwick Pro started.");
  return 0;
}
