#pragma once
// An owning holder for a BSTR.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "ComError.h"

namespace twk {

class CBStr {
 public:
  CBStr() noexcept = default;
  explicit CBStr(const wchar_t* text) : b_(text ? Alloc(text, UINT(wcslen(text))) : nullptr) {}
  explicit CBStr(const std::wstring& text) : b_(Alloc(text.data(), UINT(text.size()))) {}
  CBStr(const CBStr& other) : b_(other.b_ ? Alloc(other.b_, other.Length()) : nullptr) {}
  CBStr(CBStr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  ~CBStr() { SysFreeString(b_); }
  CBStr& operator=(CBStr other) noexcept {
    std::swap(b_, other.b_);
    return *this;
  }

  static CBStr Attach(BSTR b) noexcept {
    CBStr r;
    r.b_ = b;
    return r;
  }
  BSTR Detach() noexcept { return std::exchange(b_, nullptr); }
  // For [out] BSTR* parameters: frees what is held first.
  BSTR* put() noexcept {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }

  BSTR get() const noexcept { return b_; }
  UINT Length() const noexcept { return SysStringLen(b_); }
  bool Empty() const noexcept { return Length() == 0; }
  std::wstring str() const { return b_ ? std::wstring(b_, Length()) : std::wstring(); }
  // Never null, for APIs that want a C string.
  const wchar_t* c_str() const noexcept { return b_ ? b_ : L""; }

 private:
  static BSTR Alloc(const wchar_t* text, UINT length) {
    BSTR b = SysAllocStringLen(text, length);
    if (!b) throw CComError(E_OUTOFMEMORY);
    return b;
  }
  BSTR b_ = nullptr;
};

}  // namespace twk
