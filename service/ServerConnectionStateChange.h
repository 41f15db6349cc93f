#pragma once
// Observer of the connection to the RORO service.

class IServerConnectionStateChange {
 public:
  virtual ~IServerConnectionStateChange() = default;
  // connected: true when the connection has just been established.
  virtual void OnNotifyStateChange(bool connected) = 0;
};

// Thrown by the static interface accessors when the module has no connection instance.
class CServerConnectionException {};
