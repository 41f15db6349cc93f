#include "RecordingSink.h"

#include <algorithm>

namespace twktest {

bool RecordingSink::HasScanState(long state) const {
  return std::any_of(scanStates.begin(), scanStates.end(), [&](auto& s) { return s.first == state; });
}

bool RecordingSink::HasMerge(long state) const {
  return std::any_of(merges.begin(), merges.end(), [&](auto& m) { return m.state == state; });
}

std::vector<long> RecordingSink::States() const {
  std::vector<long> out;
  for (auto& s : scanStates) out.push_back(s.first);
  return out;
}

HRESULT RecordingSink::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID__ISBServiceEvents))
    *out = static_cast<_ISBServiceEvents*>(this);
  else if (IsEqualIID(riid, IID__ISBScanControlEvents))
    *out = static_cast<_ISBScanControlEvents*>(this);
  else if (IsEqualIID(riid, IID__ISBThreatDefinitionsEvents))
    *out = static_cast<_ISBThreatDefinitionsEvents*>(this);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

HRESULT RecordingSink::ServiceStateCB(long state) {
  serviceStates.push_back(state);
  return S_OK;
}

HRESULT RecordingSink::ScanProgressStateCB(long state, long value) {
  scanStates.emplace_back(state, value);
  if (onScanState) onScanState(state);
  return S_OK;
}

HRESULT RecordingSink::ScanProgressDetailsCB(long, BSTR item, long, long, long, long, long, long) {
  ++details;
  lastItem = item ? item : L"";
  return S_OK;
}

HRESULT RecordingSink::CleanerProgressCB(long done, long total, long failed, BSTR text, long position) {
  cleaner.push_back({done, total, failed, text ? text : L"", position});
  return S_OK;
}

HRESULT RecordingSink::ThreatDefMergeCB(unsigned long version, long state, long total, long received) {
  merges.push_back({version, state, total, received});
  if (onMerge) onMerge(merges.back());
  return S_OK;
}

Advised::Advised(IUnknown* source, REFIID iid, IUnknown* sink) {
  IConnectionPointContainer* container = nullptr;
  hr_ = source ? source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))
               : E_POINTER;
  if (FAILED(hr_)) return;
  hr_ = container->FindConnectionPoint(iid, &point_);
  container->Release();
  if (FAILED(hr_)) return;
  hr_ = point_->Advise(sink, &cookie_);
}

Advised::~Advised() {
  if (point_) {
    if (cookie_) point_->Unadvise(cookie_);
    point_->Release();
  }
}

}  // namespace twktest
