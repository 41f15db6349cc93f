#pragma once
// The one connection of a program module to the RORO service: its interface pointers,
// whether it is alive, re-connection when the service comes back, and the observers
// told of each transition. Everything runs on the thread that made the instance.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "SBEngine.h"
#include "ServerConnectionStateChange.h"

inline constexpr wchar_t kServiceExistsEventName[] = L"Global\\ROROServiceExistsEvent";
inline constexpr UINT_PTR kPresencePollTimerId = 8000;
inline constexpr UINT kPresencePollPeriodMs = 333;

class CServerConnection {
 public:
  CServerConnection();
  virtual ~CServerConnection();
  CServerConnection(const CServerConnection&) = delete;
  CServerConnection& operator=(const CServerConnection&) = delete;

  // ---- static operations on the module's current instance ----
  static void SynchronizeConnectionState(bool force);
  static bool SubscribeStateChanges(IServerConnectionStateChange* observer);
  static bool UnsubscribeStateChanges(IServerConnectionStateChange* observer);
  // Throw CServerConnectionException when the module has no instance.
  static twk::CComPtr<ISBService> ISBServiceInterface();
  static twk::CComPtr<ISBScanControl> ISBScanControlInterface();
  static twk::CComPtr<ISBThreatDefinitions> ISBThreatDefinitionsInterface();
  static twk::CComPtr<ISBSoftwareUpdates> ISBSoftwareUpdatesInterface();

  // The module's current instance, or nullptr.
  static CServerConnection* Instance();
  // The log's system name of this module's program ("Tarnwick Pro", "TWKDD", ...).
  static const wchar_t* SystemName();
  static void SetSystemName(const wchar_t* systemName);
  // Whether "Global\ROROServiceExistsEvent" can be opened now.
  static bool ServiceEventExists();

  // Handler of the presence poll for a window's timer: true when id is the poll's
  // timer (8000) and the tick was handled; false for other ids, which the window
  // passes on to its default handling.
  static bool OnPresencePollTimer(UINT_PTR id);
  // Forgets the remembered presence, so that the next handler call takes it anew.
  static void ResetRememberedPresence();

  // The module's count of live sink objects.
  static long LiveSinkObjects();
  static void SinkObjectCreated();
  static void SinkObjectDestroyed();

  // ---- instance operations ----
  void SynchronizeOurConnectionState(bool force);
  bool Connect();
  void Disconnect();
  bool IsConnectionAlive();
  void NotifyObservers();
  bool IsConnected() const { return connected_; }

 protected:
  static void RegisterInstance(CServerConnection* instance);
  static void UnregisterInstance(CServerConnection* instance);

 private:
  bool Subscribe(IServerConnectionStateChange* observer);
  bool Unsubscribe(IServerConnectionStateChange* observer);

  bool connected_ = false;
  std::vector<IServerConnectionStateChange*> observers_;
  twk::CComPtr<ISBService> service_;
  twk::CComPtr<ISBScanControl> scanControl_;
  twk::CComPtr<ISBSoftwareUpdates> softwareUpdates_;
  twk::CComPtr<ISBThreatDefinitions> threatDefinitions_;
};

// The owner of the module's connection: initialises COM for the thread as a
// single-threaded apartment, registers itself as the current instance and connects.
class CServerConnectionInstance : public CServerConnection {
 public:
  explicit CServerConnectionInstance(const wchar_t* systemName);
  ~CServerConnectionInstance() override;

  bool ComInitialised() const { return comInitialised_; }

 private:
  bool comInitialised_ = false;
};
