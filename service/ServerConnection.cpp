#include "ServerConnection.h"

#include <algorithm>
#include <optional>

#include "ClientLog.h"

namespace {

// One of each per program module: this library is linked into every module.
CServerConnection* g_instance = nullptr;
std::wstring g_systemName;
std::atomic<long> g_liveSinkObjects{0};
std::optional<bool> g_rememberedPresence;

constexpr wchar_t kNoInstance[] = L"Failed to get the ServerConnection instance.";

void LogNoInstance(const wchar_t* context) {
  ClientLog(LOG_ERROR, CServerConnection::SystemName(), context, kNoInstance);
}

template <typename T>
twk::CComPtr<T> Accessor(const wchar_t* context, twk::CComPtr<T> CServerConnection::*member,
                         CServerConnection* instance) {
  if (!instance) {
    LogNoInstance(context);
    throw CServerConnectionException();
  }
  return instance->*member;
}

}  // namespace

CServerConnection::CServerConnection() = default;
CServerConnection::~CServerConnection() = default;

CServerConnection* CServerConnection::Instance() { return g_instance; }

const wchar_t* CServerConnection::SystemName() { return g_systemName.c_str(); }

void CServerConnection::SetSystemName(const wchar_t* systemName) {
  g_systemName = systemName ? systemName : L"";
}

void CServerConnection::RegisterInstance(CServerConnection* instance) { g_instance = instance; }

void CServerConnection::UnregisterInstance(CServerConnection* instance) {
  if (g_instance == instance) g_instance = nullptr;
}

bool CServerConnection::ServiceEventExists() {
  HANDLE event = OpenEventW(READ_CONTROL, FALSE, kServiceExistsEventName);
  if (!event) return false;
  CloseHandle(event);
  return true;
}

long CServerConnection::LiveSinkObjects() { return g_liveSinkObjects.load(); }
void CServerConnection::SinkObjectCreated() { ++g_liveSinkObjects; }
void CServerConnection::SinkObjectDestroyed() { --g_liveSinkObjects; }

// ---- static operations ----------------------------------------------------------

void CServerConnection::SynchronizeConnectionState(bool force) {
  if (!g_instance) {
    LogNoInstance(L"CServerConnection::SynchronizeConnectionState");
    return;
  }
  g_instance->SynchronizeOurConnectionState(force);
}

bool CServerConnection::SubscribeStateChanges(IServerConnectionStateChange* observer) {
  if (!g_instance) {
    LogNoInstance(L"CServerConnection::SubscribeStateChanges");
    return false;
  }
  return g_instance->Subscribe(observer);
}

bool CServerConnection::UnsubscribeStateChanges(IServerConnectionStateChange* observer) {
  if (!g_instance) {
    LogNoInstance(L"CServerConnection::UnsubscribeStateChanges");
    return false;
  }
  return g_instance->Unsubscribe(observer);
}

twk::CComPtr<ISBService> CServerConnection::ISBServiceInterface() {
  return Accessor(L"CServerConnection::ISBServiceInterface", &CServerConnection::service_, g_instance);
}

twk::CComPtr<ISBScanControl> CServerConnection::ISBScanControlInterface() {
  return Accessor(L"CServerConnection::ISBScanControlInterface", &CServerConnection::scanControl_,
                  g_instance);
}

twk::CComPtr<ISBThreatDefinitions> CServerConnection::ISBThreatDefinitionsInterface() {
  return Accessor(L"CServerConnection::ISBThreatDefinitionsInterface",
                  &CServerConnection::threatDefinitions_, g_instance);
}

twk::CComPtr<ISBSoftwareUpdates> CServerConnection::ISBSoftwareUpdatesInterface() {
  return Accessor(L"CServerConnection::ISBSoftwareUpdatesInterface",
                  &CServerConnection::softwareUpdates_, g_instance);
}

bool CServerConnection::OnPresencePollTimer(UINT_PTR id) {
  if (!g_rememberedPresence) g_rememberedPresence = ServiceEventExists();
  if (id != kPresencePollTimerId) return false;
  bool present = ServiceEventExists();
  if (present != *g_rememberedPresence) {
    g_rememberedPresence = present;
    SynchronizeConnectionState(false);
  }
  return true;
}

void CServerConnection::ResetRememberedPresence() { g_rememberedPresence.reset(); }

// ---- observers ------------------------------------------------------------------

bool CServerConnection::Subscribe(IServerConnectionStateChange* observer) {
  if (!observer) return false;
  try {
    observers_.push_back(observer);
  } catch (...) {
    return false;
  }
  return true;
}

bool CServerConnection::Unsubscribe(IServerConnectionStateChange* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
  return true;
}

void CServerConnection::NotifyObservers() {
  // An observer may unsubscribe itself while being told: work on a copy.
  std::vector<IServerConnectionStateChange*> observers = observers_;
  for (auto* observer : observers) observer->OnNotifyStateChange(connected_);
}

// ---- the connection -------------------------------------------------------------

bool CServerConnection::IsConnectionAlive() {
  if (!service_) return false;
  try {
    long state = 2;
    return service_->GetServiceState(&state) == S_OK;
  } catch (...) {
    return false;
  }
}

void CServerConnection::SynchronizeOurConnectionState(bool force) {
  constexpr wchar_t kContext[] = L"CServerConnection::SynchronizeOurConnectionState";
  bool changed = false;
  if (connected_ && (!ServiceEventExists() || !IsConnectionAlive())) {
    ClientLog(LOG_TRACE, SystemName(), kContext,
              L"The connection to the RORO service has failed.  Disconnect the smart pointers and "
              L"tell observers about the transition.");
    Disconnect();
    connected_ = false;
    changed = true;
  }
  if (!IsConnectionAlive()) {
    if (force || ServiceEventExists()) {
      ClientLog(LOG_TRACE, SystemName(), kContext,
                L"The connection to the RORO service is NOT alive, but the service is alive.  Try to "
                L"connect.");
      Connect();
      if (IsConnectionAlive()) {
        ClientLog(LOG_TRACE, SystemName(), kContext,
                  L"Our connection to the RORO service is now alive.  Tell observers about the "
                  L"transition.");
        connected_ = true;
        NotifyObservers();
        return;
      }
    }
  }
  if (changed) NotifyObservers();
}

bool CServerConnection::Connect() {
  constexpr wchar_t kContext[] = L"CServerConnection::Connect";
  Disconnect();
  try {
    HRESULT hr = service_.CreateInstance(CLSID_SBService, CLSCTX_ALL);
    ClientLog(LOG_TRACE, SystemName(), kContext, L"CreateInstance(CLSID_SBService) returned 0x%08X", hr);
    if (SUCCEEDED(hr)) {
      hr = scanControl_.CreateInstance(CLSID_SBScanControl, CLSCTX_ALL);
      ClientLog(LOG_TRACE, SystemName(), kContext, L"CreateInstance(CLSID_SBScanControl) returned 0x%08X", hr);
    }
    if (SUCCEEDED(hr)) {
      hr = softwareUpdates_.CreateInstance(CLSID_SBSoftwareUpdates, CLSCTX_ALL);
      ClientLog(LOG_TRACE, SystemName(), kContext, L"CreateInstance(CLSID_SBSoftwareUpdates) returned 0x%08X",
                hr);
    }
    if (SUCCEEDED(hr)) {
      hr = threatDefinitions_.CreateInstance(CLSID_SBThreatDefinitions, CLSCTX_ALL);
      ClientLog(LOG_TRACE, SystemName(), kContext,
                L"CreateInstance(CLSID_SBThreatDefinitions) returned 0x%08X", hr);
    }
    if (FAILED(hr)) {
      Disconnect();
      return false;
    }
    return true;
  } catch (...) {
    Disconnect();
    return false;
  }
}

void CServerConnection::Disconnect() {
  constexpr wchar_t kContext[] = L"CServerConnection::Disconnect";
  auto release = [&](auto& pointer, const wchar_t* line) {
    if (!pointer) return;
    try {
      pointer.Release();
      ClientLog(LOG_TRACE, SystemName(), kContext, line);
    } catch (...) {
    }
  };
  release(service_, L"Released ISBService");
  release(scanControl_, L"Released ISBScanControl");
  release(softwareUpdates_, L"Released ISBSoftwareUpdates");
  release(threatDefinitions_, L"Released ISBThreatDefinitions");
}

// ---- the instance ---------------------------------------------------------------

CServerConnectionInstance::CServerConnectionInstance(const wchar_t* systemName) {
  SetSystemName(systemName);
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ClientLog(LOG_TRACE, SystemName(), L"CServerConnectionInstance::CServerConnectionInstance",
            L"CoInitializeEx(0, COINIT_APARTMENTTHREADED) returned hr=0x%08X.", hr);
  comInitialised_ = SUCCEEDED(hr);
  RegisterInstance(this);
  SynchronizeOurConnectionState(true);
}

CServerConnectionInstance::~CServerConnectionInstance() {
  UnregisterInstance(this);
  Disconnect();
  if (comInitialised_) CoUninitialize();
}
