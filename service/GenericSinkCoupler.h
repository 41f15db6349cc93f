#pragma once
// Keeps one sink of the program advised to one of the service's event interfaces
// across losses and returns of the connection.
#include <windows.h>
#include <ocidl.h>

#include <string>

#include "ClientLog.h"
#include "ComPtr.h"
#include "ServerConnection.h"
#include "SinkDelegates.h"

// The source interface of a coupler, by the connection's static accessor.
template <typename TSource>
twk::CComPtr<TSource> SinkSourceInterface();
template <>
inline twk::CComPtr<ISBService> SinkSourceInterface<ISBService>() {
  return CServerConnection::ISBServiceInterface();
}
template <>
inline twk::CComPtr<ISBScanControl> SinkSourceInterface<ISBScanControl>() {
  return CServerConnection::ISBScanControlInterface();
}
template <>
inline twk::CComPtr<ISBThreatDefinitions> SinkSourceInterface<ISBThreatDefinitions>() {
  return CServerConnection::ISBThreatDefinitionsInterface();
}

template <typename TSource, const CLSID& SourceClsid, const IID& EventIid, typename TDelegate, typename TImpl>
class TGenericSinkCoupler : public IServerConnectionStateChange {
 public:
  TGenericSinkCoupler() = default;
  TGenericSinkCoupler(const TGenericSinkCoupler&) = delete;
  TGenericSinkCoupler& operator=(const TGenericSinkCoupler&) = delete;

  ~TGenericSinkCoupler() override {
    Unadvise();
    bool hadInstance = CServerConnection::Instance() != nullptr;
    bool ok = CServerConnection::UnsubscribeStateChanges(this);
    if (!hadInstance) return;  // UnsubscribeStateChanges logged it
    if (ok)
      Log(LOG_TRACE, L"::~TGenericSinkCoupler", L"Successfully unsubscribed from ServerConnection state changes.");
    else
      Log(LOG_ERROR, L"::~TGenericSinkCoupler", L"Failed to unsubscribe from ServerConnection state changes.");
  }

  // Advises a new delegate for impl (or the stored implementation when impl is null).
  bool Advise(TImpl* impl = nullptr) {
    if (impl) {
      if (!impl_) {
        if (CServerConnection::SubscribeStateChanges(this))
          Log(LOG_VERBOSE, L"::Advise", L"Successfully subscribed to ServerConnection state changes.");
        else
          Log(LOG_ERROR, L"::Advise", L"Failed to subscribe to ServerConnection state changes.");
      }
      impl_ = impl;
    }
    if (!impl_) return false;
    if (source_) Unadvise();  // never two delegates for one coupler

    twk::CComPtr<TSource> source;
    try {
      source = SinkSourceInterface<TSource>();
    } catch (...) {
      Log(LOG_ERROR, L"::Advise", L"Caught an exception while trying to advise the source of our sink.");
      return false;
    }
    if (!source) {
      Log(LOG_ERROR, L"::Advise", L"There is no connection to the RORO service.  Not advising.");
      return false;
    }

    twk::CComPtr<TDelegate> delegate;
    try {
      delegate = twk::CComPtr<TDelegate>(new TDelegate());
    } catch (...) {
      Log(LOG_ERROR, L"::Advise", L"CreateInstance(IUnknown sink delegate class) failed and returned 0x%08X",
          E_OUTOFMEMORY);
      return false;
    }
    twk::CComPtr<IUnknown> unknown;
    HRESULT hr = delegate.QueryInterface(unknown);
    if (FAILED(hr)) {
      Log(LOG_ERROR, L"::Advise", L"QueryInterface(IUnknown sink delegate class) failed and returned 0x%08X", hr);
      return false;
    }
    DWORD cookie = 0;
    try {
      hr = ConnectSink(source.get(), unknown.get(), &cookie);
    } catch (...) {
      hr = E_UNEXPECTED;
    }
    if (FAILED(hr)) {
      Log(LOG_ERROR, L"::Advise", L"AtlAdvise() failed and returned 0x%08X", hr);
      return false;
    }
    delegate_ = delegate;
    source_ = source;
    cookie_ = cookie;
    delegate_->SetImpl(impl_);
    return true;
  }

  // Disconnects the delegate; true when the source accepted the disconnection.
  bool Unadvise() {
    if (delegate_) delegate_->SetImpl(nullptr);  // late callbacks are dropped from here on
    bool accepted = false;
    if (source_) {
      try {
        HRESULT hr = DisconnectSink(source_.get(), cookie_);
        if (FAILED(hr))
          Log(LOG_ERROR, L"::Unadvise", L"AtlUnadvise(sink delegate class) failed and returned 0x%08X", hr);
        else
          accepted = true;
      } catch (...) {
        Log(LOG_ERROR, L"::Unadvise", L"Caught an exception while trying to unadvise our sink from the source.");
      }
      try {
        source_.Release();
      } catch (...) {
        Log(LOG_ERROR, L"::Unadvise", L"Caught an exception while trying to release the source.");
      }
    }
    cookie_ = 0;
    try {
      delegate_.Release();
    } catch (...) {
      Log(LOG_ERROR, L"::Unadvise", L"Caught an exception while trying to release our sink.");
    }
    return accepted;
  }

  void OnNotifyStateChange(bool connected) override {
    if (connected) {
      if (impl_) Advise();
    } else {
      source_.Release();  // the service is gone: nothing to tell it
      Unadvise();
    }
  }

  TImpl* Impl() const { return impl_; }
  TDelegate* Delegate() const { return delegate_.get(); }
  DWORD Cookie() const { return cookie_; }

  static std::wstring Context(const wchar_t* operation) { return std::wstring(TDelegate::kCouplerName) + operation; }

 private:
  template <typename... Args>
  static void Log(int level, const wchar_t* operation, const wchar_t* format, Args... args) {
    ClientLog(level, CServerConnection::SystemName(), Context(operation).c_str(), format, args...);
  }
  static HRESULT ConnectSink(TSource* source, IUnknown* sink, DWORD* cookie) {
    twk::CComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.put_void());
    if (FAILED(hr)) return hr;
    twk::CComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(EventIid, point.put());
    if (FAILED(hr)) return hr;
    return point->Advise(sink, cookie);
  }
  static HRESULT DisconnectSink(TSource* source, DWORD cookie) {
    twk::CComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.put_void());
    if (FAILED(hr)) return hr;
    twk::CComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(EventIid, point.put());
    if (FAILED(hr)) return hr;
    return point->Unadvise(cookie);
  }

  twk::CComPtr<TDelegate> delegate_;
  twk::CComPtr<TSource> source_;
  TImpl* impl_ = nullptr;
  DWORD cookie_ = 0;
};

using CSBServiceEventsSinkCoupler =
    TGenericSinkCoupler<ISBService, CLSID_SBService, IID__ISBServiceEvents, CSBServiceEventsSinkDelegate,
                        ISBServiceEventsSinkImpl>;
using CSBScanControlEventsSinkCoupler =
    TGenericSinkCoupler<ISBScanControl, CLSID_SBScanControl, IID__ISBScanControlEvents,
                        CSBScanControlEventsSinkDelegate, ISBScanControlEventsSinkImpl>;
using CSBThreatDefinitionsEventsSinkCoupler =
    TGenericSinkCoupler<ISBThreatDefinitions, CLSID_SBThreatDefinitions, IID__ISBThreatDefinitionsEvents,
                        CSBThreatDefinitionsEventsSinkDelegate, ISBThreatDefinitionsEventsSinkImpl>;
