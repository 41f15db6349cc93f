#pragma once
// The engine's own owners for COM references and BSTRs.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace engine {

template <typename T>
class Ptr {
 public:
  Ptr() = default;
  Ptr(T* p) : p_(p) { if (p_) p_->AddRef(); }  // NOLINT: takes a new reference
  Ptr(const Ptr& o) : Ptr(o.p_) {}
  Ptr(Ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ~Ptr() { reset(); }
  Ptr& operator=(Ptr o) noexcept { std::swap(p_, o.p_); return *this; }
  static Ptr Attach(T* p) { Ptr r; r.p_ = p; return r; }
  T* Detach() { return std::exchange(p_, nullptr); }
  void reset() { if (T* p = std::exchange(p_, nullptr)) p->Release(); }
  T** put() { reset(); return &p_; }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  template <typename U>
  Ptr<U> As() const {
    Ptr<U> r;
    if (p_) p_->QueryInterface(__uuidof(U), r.put_void());
    return r;
  }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const wchar_t* s) : b_(s ? SysAllocString(s) : nullptr) {}
  explicit Bstr(const std::wstring& s) : b_(SysAllocStringLen(s.data(), UINT(s.size()))) {}
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
  static Bstr Attach(BSTR b) { Bstr r; r.b_ = b; return r; }
  BSTR Detach() { return std::exchange(b_, nullptr); }
  BSTR* put() { SysFreeString(b_); b_ = nullptr; return &b_; }
  BSTR get() const { return b_; }
  std::wstring str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_ = nullptr;
};

inline BSTR AllocBstr(const std::wstring& s) { return SysAllocStringLen(s.data(), UINT(s.size())); }

}  // namespace engine
