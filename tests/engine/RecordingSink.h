#pragma once
// A client-side sink for the three event interfaces of the service that records
// every callback.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "SBEngine.h"

namespace twktest {

struct MergeReport {
  unsigned long version;
  long state, total, received;
};

struct CleanerReport {
  long done, total, failed;
  std::wstring text;
  long position;
};

class RecordingSink : public _ISBServiceEvents, public _ISBScanControlEvents, public _ISBThreatDefinitionsEvents {
 public:
  std::vector<std::pair<long, long>> scanStates;
  int details = 0;
  std::wstring lastItem;
  std::vector<CleanerReport> cleaner;
  std::vector<MergeReport> merges;
  std::vector<long> serviceStates;
  std::function<void(long state)> onScanState;
  std::function<void(const MergeReport&)> onMerge;

  bool HasScanState(long state) const;
  bool HasMerge(long state) const;
  std::vector<long> States() const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // owned by the test

  HRESULT STDMETHODCALLTYPE PrivateConfigChangeCB(long) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ServiceStateCB(long state) override;
  HRESULT STDMETHODCALLTYPE ServiceConfigChangeCB() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SystemErrorStateChangeCB(long) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SystemEventNotifyCB(long) override { return S_OK; }

  HRESULT STDMETHODCALLTYPE ScanProgressStateCB(long state, long value) override;
  HRESULT STDMETHODCALLTYPE ScanProgressDetailsCB(long, BSTR item, long, long, long, long, long, long) override;
  HRESULT STDMETHODCALLTYPE CleanerProgressCB(long done, long total, long failed, BSTR text, long position) override;
  HRESULT STDMETHODCALLTYPE ScanControlConfigChangeCB() override { return S_OK; }

  HRESULT STDMETHODCALLTYPE ThreatDefMergeCB(unsigned long version, long state, long total, long received) override;
  HRESULT STDMETHODCALLTYPE ThreatDefinitionsConfigChangeCB() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ThreatDefinitionsPreUpdateCB(long) override { return S_OK; }

 private:
  ULONG refs_ = 1;
};

// Advises a sink to the connection point iid of source for a scope.
class Advised {
 public:
  Advised(IUnknown* source, REFIID iid, IUnknown* sink);
  ~Advised();
  HRESULT Result() const { return hr_; }

 private:
  IConnectionPoint* point_ = nullptr;
  DWORD cookie_ = 0;
  HRESULT hr_ = E_FAIL;
};

}  // namespace twktest
