#pragma once
// The sinks that clients advised, by event interface, for all clients of the service.
// A sink whose call fails because its client is gone is dropped.
#include <windows.h>

#include <functional>
#include <vector>

#include "EnginePtr.h"

namespace engine {

class CSinkHub {
 public:
  DWORD Add(REFIID iid, const void* owner, IUnknown* typedSink);
  bool Remove(DWORD cookie, const void* owner);
  void RemoveOwner(const void* owner);
  void Clear();
  std::size_t Count(REFIID iid) const;

  template <typename I>
  void Fire(const std::function<HRESULT(I*)>& call) {
    FireRaw(__uuidof(I), [&](IUnknown* p) { return call(static_cast<I*>(p)); });
  }

 private:
  struct Entry {
    DWORD cookie;
    IID iid;
    const void* owner;
    Ptr<IUnknown> sink;
  };
  void FireRaw(REFIID iid, const std::function<HRESULT(IUnknown*)>& call);
  std::vector<Entry> entries_;
  DWORD nextCookie_ = 1;
};

}  // namespace engine
