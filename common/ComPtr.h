#pragma once
// An owning smart pointer for COM interfaces: one reference per holder, released when
// the holder ends or is reset.
#include <windows.h>
#include <objbase.h>

#include <utility>

#include "ComError.h"

namespace twk {

template <typename T>
class CComPtr {
 public:
  CComPtr() noexcept = default;
  CComPtr(std::nullptr_t) noexcept {}
  // Takes a new reference to p.
  explicit CComPtr(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  CComPtr(const CComPtr& other) noexcept : CComPtr(other.p_) {}
  CComPtr(CComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~CComPtr() { Release(); }
  CComPtr& operator=(const CComPtr& other) noexcept {
    CComPtr copy(other);
    std::swap(p_, copy.p_);
    return *this;
  }
  CComPtr& operator=(CComPtr&& other) noexcept {
    if (this != &other) {
      Release();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  CComPtr& operator=(std::nullptr_t) noexcept {
    Release();
    return *this;
  }

  // Adopts a reference the caller already owns.
  static CComPtr Attach(T* p) noexcept {
    CComPtr r;
    r.p_ = p;
    return r;
  }
  T* Detach() noexcept { return std::exchange(p_, nullptr); }
  void Release() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  bool operator==(std::nullptr_t) const noexcept { return p_ == nullptr; }

  // For out-parameters: releases what is held first.
  T** put() noexcept {
    Release();
    return &p_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  HRESULT CreateInstance(REFCLSID clsid, DWORD context = CLSCTX_ALL) noexcept {
    return CoCreateInstance(clsid, nullptr, context, __uuidof(T), put_void());
  }
  template <typename U>
  HRESULT QueryInterface(CComPtr<U>& out) const noexcept {
    if (!p_) {
      out.Release();
      return E_POINTER;
    }
    return p_->QueryInterface(__uuidof(U), out.put_void());
  }
  template <typename U>
  CComPtr<U> As() const noexcept {
    CComPtr<U> out;
    QueryInterface(out);
    return out;
  }

  // The pointer for a call on the throwing path: an empty pointer raises E_POINTER.
  T* Checked() const {
    if (!p_) throw CComError(E_POINTER);
    return p_;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace twk
