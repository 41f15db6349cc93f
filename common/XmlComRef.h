#pragma once
// Small owners used by the XML wrappers: a counted interface reference (copying adds
// a reference) and a BSTR.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

template <typename T>
class CXmlComRef {
 public:
  CXmlComRef() noexcept = default;
  // Takes a reference of its own.
  explicit CXmlComRef(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  ~CXmlComRef() { reset(); }
  CXmlComRef(const CXmlComRef& other) noexcept : CXmlComRef(other.p_) {}
  CXmlComRef(CXmlComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  CXmlComRef& operator=(CXmlComRef other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  void reset() noexcept {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // For out-parameters that hand over a reference.
  T** put() noexcept {
    reset();
    return &p_;
  }
  template <typename U>
  CXmlComRef<U> As(REFIID iid) const {
    CXmlComRef<U> other;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(other.put()));
    return other;
  }

 private:
  T* p_ = nullptr;
};

class CXmlBstr {
 public:
  CXmlBstr() noexcept = default;
  explicit CXmlBstr(const std::wstring& text)
      : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~CXmlBstr() { SysFreeString(b_); }
  CXmlBstr(const CXmlBstr&) = delete;
  CXmlBstr& operator=(const CXmlBstr&) = delete;

  BSTR get() const noexcept { return b_; }
  BSTR* put() noexcept {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }
  std::wstring str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_ = nullptr;
};
