#include "ServiceObjects.h"

#include <olectl.h>

#include <atomic>
#include <string>

#include "Engine.h"
#include "SBEngine.h"

namespace engine {

namespace {

std::wstring Text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

// One connection point of an object; its reference count is the owner's.
class CConnectionPoint final : public IConnectionPoint {
 public:
  CConnectionPoint(IConnectionPointContainer* owner, REFIID iid) : owner_(owner), iid_(iid) {}
  ~CConnectionPoint() { CEngine::Instance().Sinks().RemoveOwner(this); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
      *out = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override {
    if (!out) return E_POINTER;
    *out = owner_;
    owner_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    IUnknown* typed = nullptr;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&typed))) || !typed)
      return CONNECT_E_CANNOTCONNECT;
    *cookie = CEngine::Instance().Sinks().Add(iid_, this, typed);
    typed->Release();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    return CEngine::Instance().Sinks().Remove(cookie, this) ? S_OK : CONNECT_E_NOCONNECTION;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }

 private:
  IConnectionPointContainer* owner_;
  IID iid_;
};

// A service object: the service interface I and, when it raises events, a
// connection point container with one point for the event interface.
template <typename I>
class CServiceObject : public I, public IConnectionPointContainer {
 public:
  explicit CServiceObject(const IID* eventIid) {
    if (eventIid) point_ = new CConnectionPoint(this, *eventIid);
    if (eventIid) eventIid_ = *eventIid;
  }
  virtual ~CServiceObject() { delete point_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(I)))
      *out = static_cast<I*>(this);
    else if (point_ && IsEqualIID(riid, IID_IConnectionPointContainer))
      *out = static_cast<IConnectionPointContainer*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!point_ || !IsEqualIID(riid, eventIid_)) return CONNECT_E_NOCONNECTION;
    *out = point_;
    point_->AddRef();
    return S_OK;
  }

 protected:
  CEngine& Engine() { return CEngine::Instance(); }

 private:
  std::atomic<ULONG> refs_{0};
  CConnectionPoint* point_ = nullptr;
  IID eventIid_{};
};

class CSBService : public CServiceObject<ISBService> {
 public:
  CSBService() : CServiceObject(&IID__ISBServiceEvents) {}
  HRESULT STDMETHODCALLTYPE SetCompanyProduct(BSTR company, BSTR product) override {
    return Engine().SetCompanyProduct(Text(company), Text(product));
  }
  HRESULT STDMETHODCALLTYPE GetServiceState(long* state) override { return Engine().GetServiceState(state); }
  HRESULT STDMETHODCALLTYPE GetServiceProperties(BSTR* xml) override { return Engine().GetSettings(L"service", xml); }
  HRESULT STDMETHODCALLTYPE SetServiceProperties(BSTR xml) override {
    return Engine().SetSettings(L"service", Text(xml).c_str());
  }
};

class CSBScanControl : public CServiceObject<ISBScanControl> {
 public:
  CSBScanControl() : CServiceObject(&IID__ISBScanControlEvents) {}
  HRESULT STDMETHODCALLTYPE Scan(long kind) override { return Engine().Scan(kind); }
  HRESULT STDMETHODCALLTYPE Pause() override { return Engine().Pause(); }
  HRESULT STDMETHODCALLTYPE Resume() override { return Engine().Resume(); }
  HRESULT STDMETHODCALLTYPE Abort() override { return Engine().Abort(); }
  HRESULT STDMETHODCALLTYPE GetLastScanResultsPath(BSTR* path) override {
    return Engine().GetLastScanResultsPath(path);
  }
  HRESULT STDMETHODCALLTYPE GetScanCounts(long* a, long* b, long* c, long* d, long* e, long* f, long* g,
                                          long* h, long* i, long* j, long* k) override {
    long* out[11] = {a, b, c, d, e, f, g, h, i, j, k};
    return Engine().GetScanCounts(out);
  }
  HRESULT STDMETHODCALLTYPE GetScanState(long* state, long* reboot) override {
    return Engine().GetScanState(state, reboot);
  }
  HRESULT STDMETHODCALLTYPE Clean(BSTR path) override { return Engine().Clean(Text(path)); }
  HRESULT STDMETHODCALLTYPE GetScanProperties(BSTR* xml) override { return Engine().GetSettings(L"scan", xml); }
  HRESULT STDMETHODCALLTYPE SetScanProperties(BSTR xml) override {
    return Engine().SetSettings(L"scan", Text(xml).c_str());
  }
  HRESULT STDMETHODCALLTYPE PurgeHistory(long keep) override { return Engine().PurgeHistory(keep); }
};

class CSBThreatDefinitions : public CServiceObject<ISBThreatDefinitions> {
 public:
  CSBThreatDefinitions() : CServiceObject(&IID__ISBThreatDefinitionsEvents) {}
  HRESULT STDMETHODCALLTYPE GetLocalDefVersion(unsigned long* version, BSTR* date) override {
    return Engine().GetLocalDefVersion(version, date);
  }
  HRESULT STDMETHODCALLTYPE GetThreatDefUpdates() override { return Engine().RequestUpdate(false); }
  HRESULT STDMETHODCALLTYPE GetFullThreatDefUpdates() override { return Engine().RequestUpdate(true); }
  HRESULT STDMETHODCALLTYPE CancelThreatDefUpdates() override { return Engine().CancelUpdates(); }
  HRESULT STDMETHODCALLTYPE GetDefsProperties(BSTR* xml) override { return Engine().GetSettings(L"defs", xml); }
  HRESULT STDMETHODCALLTYPE SetDefsProperties(BSTR xml) override {
    return Engine().SetSettings(L"defs", Text(xml).c_str());
  }
};

class CSBSoftwareUpdates : public CServiceObject<ISBSoftwareUpdates> {
 public:
  CSBSoftwareUpdates() : CServiceObject(nullptr) {}
  HRESULT STDMETHODCALLTYPE GetSoftwareUpdateProperties(BSTR* xml) override {
    return Engine().GetSettings(L"software", xml);
  }
  HRESULT STDMETHODCALLTYPE SetSoftwareUpdateProperties(BSTR xml) override {
    return Engine().SetSettings(L"software", Text(xml).c_str());
  }
};

template <typename T>
class CClassFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Static objects that live as long as the process.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    T* object = new T();
    object->AddRef();
    HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

CClassFactory<CSBService> g_serviceFactory;
CClassFactory<CSBScanControl> g_scanFactory;
CClassFactory<CSBThreatDefinitions> g_defsFactory;
CClassFactory<CSBSoftwareUpdates> g_updatesFactory;
DWORD g_cookies[4] = {};

}  // namespace

bool RegisterClassObjects() {
  struct { const CLSID* clsid; IClassFactory* factory; } classes[] = {
      {&CLSID_SBService, &g_serviceFactory},
      {&CLSID_SBScanControl, &g_scanFactory},
      {&CLSID_SBThreatDefinitions, &g_defsFactory},
      {&CLSID_SBSoftwareUpdates, &g_updatesFactory},
  };
  for (int i = 0; i < 4; ++i) {
    if (FAILED(CoRegisterClassObject(*classes[i].clsid, classes[i].factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE, &g_cookies[i])))
      return false;
  }
  return true;
}

void RevokeClassObjects() {
  for (auto& cookie : g_cookies) {
    if (cookie) CoRevokeClassObject(cookie);
    cookie = 0;
  }
}

}  // namespace engine
