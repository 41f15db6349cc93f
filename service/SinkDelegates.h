#pragma once
// The COM sink objects advised to the service. Each forwards every callback to its
// implementation object, keeps exceptions away from the service and always answers
// S_OK. A delegate without implementation drops callbacks.
#include <windows.h>

#include <atomic>

#include "SBEngine.h"
#include "SinkImplInterfaces.h"

template <typename TEvents, typename TImpl>
class TSinkDelegateBase : public TEvents {
 public:
  using Impl = TImpl;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  void SetImpl(TImpl* impl) { impl_ = impl; }
  TImpl* GetImpl() const { return impl_; }

 protected:
  TSinkDelegateBase();
  virtual ~TSinkDelegateBase();
  // Runs call on the implementation, if any, logging what it throws under context.
  template <typename F>
  HRESULT Forward(const wchar_t* context, F call);

 private:
  std::atomic<ULONG> refs_{0};
  TImpl* impl_ = nullptr;
};

class CSBServiceEventsSinkDelegate : public TSinkDelegateBase<_ISBServiceEvents, ISBServiceEventsSinkImpl> {
 public:
  static constexpr const wchar_t* kName = L"CSBServiceEventsSinkDelegate";
  // The context of its coupler's log lines, before the operation name.
  static constexpr const wchar_t* kCouplerName =
      L"TGenericSinkCoupler<ISBService, CLSID_SBService, IID__ISBServiceEvents, CSBServiceEventsSinkDelegate, ISBServiceEventsSinkImpl>";
  HRESULT STDMETHODCALLTYPE PrivateConfigChangeCB(long value) override;
  HRESULT STDMETHODCALLTYPE ServiceStateCB(long state) override;
  HRESULT STDMETHODCALLTYPE ServiceConfigChangeCB() override;
  HRESULT STDMETHODCALLTYPE SystemErrorStateChangeCB(long flag) override;
  HRESULT STDMETHODCALLTYPE SystemEventNotifyCB(long value) override;
};

class CSBScanControlEventsSinkDelegate
    : public TSinkDelegateBase<_ISBScanControlEvents, ISBScanControlEventsSinkImpl> {
 public:
  static constexpr const wchar_t* kName = L"CSBScanControlEventsSinkDelegate";
  // The context of its coupler's log lines, before the operation name.
  static constexpr const wchar_t* kCouplerName =
      L"TGenericSinkCoupler<ISBScanControl, CLSID_SBScanControl, IID__ISBScanControlEvents, CSBScanControlEventsSinkDelegate, ISBScanControlEventsSinkImpl>";
  HRESULT STDMETHODCALLTYPE ScanProgressStateCB(long state, long value) override;
  HRESULT STDMETHODCALLTYPE ScanProgressDetailsCB(long state, BSTR item, long scanned, long found, long registry,
                                                  long cookies, long files, long processes) override;
  HRESULT STDMETHODCALLTYPE CleanerProgressCB(long done, long total, long failed, BSTR text,
                                              long position) override;
  HRESULT STDMETHODCALLTYPE ScanControlConfigChangeCB() override;
};

class CSBThreatDefinitionsEventsSinkDelegate
    : public TSinkDelegateBase<_ISBThreatDefinitionsEvents, ISBThreatDefinitionsEventsSinkImpl> {
 public:
  static constexpr const wchar_t* kName = L"CSBThreatDefinitionsEventsSinkDelegate";
  // The context of its coupler's log lines, before the operation name.
  static constexpr const wchar_t* kCouplerName =
      L"TGenericSinkCoupler<ISBThreatDefinitions, CLSID_SBThreatDefinitions, IID__ISBThreatDefinitionsEvents, CSBThreatDefinitionsEventsSinkDelegate, ISBThreatDefinitionsEventsSinkImpl>";
  HRESULT STDMETHODCALLTYPE ThreatDefMergeCB(unsigned long version, long state, long total,
                                             long received) override;
  HRESULT STDMETHODCALLTYPE ThreatDefinitionsConfigChangeCB() override;
  HRESULT STDMETHODCALLTYPE ThreatDefinitionsPreUpdateCB(long value) override;
};
