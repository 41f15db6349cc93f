#include "SinkHub.h"

#include <algorithm>

namespace engine {

namespace {

bool ClientGone(HRESULT hr) {
  return hr == HRESULT(0x800706BA) || hr == HRESULT(0x800706BE) || hr == RPC_E_DISCONNECTED ||
         hr == CO_E_OBJNOTCONNECTED || hr == RPC_E_SERVER_DIED || hr == RPC_E_SERVER_DIED_DNE;
}

}  // namespace

DWORD CSinkHub::Add(REFIID iid, const void* owner, IUnknown* typedSink) {
  DWORD cookie = nextCookie_++;
  entries_.push_back(Entry{cookie, iid, owner, Ptr<IUnknown>(typedSink)});
  return cookie;
}

bool CSinkHub::Remove(DWORD cookie, const void* owner) {
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&](const Entry& e) { return e.cookie == cookie && e.owner == owner; });
  if (it == entries_.end()) return false;
  Ptr<IUnknown> keep = it->sink;  // released after the list is consistent again
  entries_.erase(it);
  return true;
}

void CSinkHub::RemoveOwner(const void* owner) {
  std::vector<Ptr<IUnknown>> released;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->owner == owner) {
      released.push_back(it->sink);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

void CSinkHub::Clear() {
  std::vector<Entry> old;
  old.swap(entries_);
}

std::size_t CSinkHub::Count(REFIID iid) const {
  return std::count_if(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return IsEqualIID(e.iid, iid); });
}

void CSinkHub::FireRaw(REFIID iid, const std::function<HRESULT(IUnknown*)>& call) {
  // Calls may re-enter (a client calls back while we call it): work on a copy.
  std::vector<Entry> targets;
  for (auto& e : entries_)
    if (IsEqualIID(e.iid, iid)) targets.push_back(e);
  for (auto& t : targets) {
    HRESULT hr = call(t.sink.get());
    if (ClientGone(hr)) Remove(t.cookie, t.owner);
  }
}

}  // namespace engine
