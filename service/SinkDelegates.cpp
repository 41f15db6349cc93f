#include "SinkDelegates.h"

#include "ClientLog.h"
#include "ServerConnection.h"

template <typename TEvents, typename TImpl>
TSinkDelegateBase<TEvents, TImpl>::TSinkDelegateBase() {
  CServerConnection::SinkObjectCreated();
}

template <typename TEvents, typename TImpl>
TSinkDelegateBase<TEvents, TImpl>::~TSinkDelegateBase() {
  CServerConnection::SinkObjectDestroyed();
}

template <typename TEvents, typename TImpl>
HRESULT TSinkDelegateBase<TEvents, TImpl>::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(TEvents))) {
    *out = static_cast<TEvents*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

template <typename TEvents, typename TImpl>
template <typename F>
HRESULT TSinkDelegateBase<TEvents, TImpl>::Forward(const wchar_t* context, F call) {
  TImpl* impl = impl_;
  if (!impl) return S_OK;
  try {
    call(impl);
  } catch (...) {
    ClientLog(LOG_ERROR, CServerConnection::SystemName(), context, L"Caught an exception in the sink.");
  }
  return S_OK;
}

template class TSinkDelegateBase<_ISBServiceEvents, ISBServiceEventsSinkImpl>;
template class TSinkDelegateBase<_ISBScanControlEvents, ISBScanControlEventsSinkImpl>;
template class TSinkDelegateBase<_ISBThreatDefinitionsEvents, ISBThreatDefinitionsEventsSinkImpl>;

// ---- service events ----

HRESULT CSBServiceEventsSinkDelegate::PrivateConfigChangeCB(long value) {
  return Forward(L"CSBServiceEventsSinkDelegate::raw_PrivateConfigChangeCB",
                 [&](Impl* i) { i->PrivateConfigChangeCBImpl(value); });
}
HRESULT CSBServiceEventsSinkDelegate::ServiceStateCB(long state) {
  return Forward(L"CSBServiceEventsSinkDelegate::raw_ServiceStateCB",
                 [&](Impl* i) { i->ServiceStateCBImpl(state); });
}
HRESULT CSBServiceEventsSinkDelegate::ServiceConfigChangeCB() {
  return Forward(L"CSBServiceEventsSinkDelegate::raw_ServiceConfigChangeCB",
                 [&](Impl* i) { i->ServiceConfigChangeCBImpl(); });
}
HRESULT CSBServiceEventsSinkDelegate::SystemErrorStateChangeCB(long flag) {
  return Forward(L"CSBServiceEventsSinkDelegate::raw_SystemErrorStateChangeCB",
                 [&](Impl* i) { i->SystemErrorStateChangeCBImpl(flag != 0); });
}
HRESULT CSBServiceEventsSinkDelegate::SystemEventNotifyCB(long value) {
  return Forward(L"CSBServiceEventsSinkDelegate::raw_SystemEventNotifyCB",
                 [&](Impl* i) { i->SystemEventNotifyCBImpl(value); });
}

// ---- scan-control events ----

HRESULT CSBScanControlEventsSinkDelegate::ScanProgressStateCB(long state, long value) {
  return Forward(L"CSBScanControlEventsSinkDelegate::raw_ScanProgressStateCB",
                 [&](Impl* i) { i->ScanProgressStateCBImpl(state, value); });
}
HRESULT CSBScanControlEventsSinkDelegate::ScanProgressDetailsCB(long state, BSTR item, long scanned, long found,
                                                                long registry, long cookies, long files,
                                                                long processes) {
  return Forward(L"CSBScanControlEventsSinkDelegate::raw_ScanProgressDetailsCB", [&](Impl* i) {
    i->ScanProgressDetailsCBImpl(state, item, scanned, found, registry, cookies, files, processes);
  });
}
HRESULT CSBScanControlEventsSinkDelegate::CleanerProgressCB(long done, long total, long failed, BSTR text,
                                                            long position) {
  return Forward(L"CSBScanControlEventsSinkDelegate::raw_CleanerProgressCB",
                 [&](Impl* i) { i->CleanerProgressCBImpl(done, total, failed, text, position); });
}
HRESULT CSBScanControlEventsSinkDelegate::ScanControlConfigChangeCB() {
  return Forward(L"CSBScanControlEventsSinkDelegate::raw_ScanControlConfigChangeCB",
                 [&](Impl* i) { i->ScanControlConfigChangeCBImpl(); });
}

// ---- threat-definition events ----

HRESULT CSBThreatDefinitionsEventsSinkDelegate::ThreatDefMergeCB(unsigned long version, long state, long total,
                                                                 long received) {
  return Forward(L"CSBThreatDefinitionsEventsSinkDelegate::raw_ThreatDefMergeCB",
                 [&](Impl* i) { i->ThreatDefMergeCBImpl(version, state, total, received); });
}
HRESULT CSBThreatDefinitionsEventsSinkDelegate::ThreatDefinitionsConfigChangeCB() {
  return Forward(L"CSBThreatDefinitionsEventsSinkDelegate::raw_ThreatDefinitionsConfigChangeCB",
                 [&](Impl* i) { i->ThreatDefinitionsConfigChangeCBImpl(); });
}
HRESULT CSBThreatDefinitionsEventsSinkDelegate::ThreatDefinitionsPreUpdateCB(long value) {
  return Forward(L"CSBThreatDefinitionsEventsSinkDelegate::raw_ThreatDefinitionsPreUpdateCB",
                 [&](Impl* i) { i->ThreatDefinitionsPreUpdateCBImpl(value); });
}
