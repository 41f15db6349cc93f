#include "ClientLog.h"
#include "ServerConnection.h"
#include "SinkImplInterfaces.h"

void LogServiceStateChange(const wchar_t* context, long state) {
  if (state == 3) return;
  const wchar_t* name = L"(unknown state)";
  switch (state) {
    case 0: name = L"Stopping"; break;
    case 1: name = L"Suspended"; break;
    case 2: name = L"Resumed"; break;
    case 4: name = L"Restart"; break;
  }
  ClientLog(LOG_TRACE, CServerConnection::SystemName(), context, L"The service state has changed to %s.", name);
}
