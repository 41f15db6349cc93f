#pragma once
// An owning holder for a VARIANT.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "ComError.h"

namespace twk {

class CVariant {
 public:
  CVariant() noexcept { VariantInit(&v_); }
  explicit CVariant(const std::wstring& text) : CVariant() {
    v_.vt = VT_BSTR;
    v_.bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    if (!v_.bstrVal) {
      v_.vt = VT_EMPTY;
      throw CComError(E_OUTOFMEMORY);
    }
  }
  explicit CVariant(long value) noexcept : CVariant() {
    v_.vt = VT_I4;
    v_.lVal = value;
  }
  explicit CVariant(int value) noexcept : CVariant(static_cast<long>(value)) {}
  explicit CVariant(bool value) noexcept : CVariant() {
    v_.vt = VT_BOOL;
    v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  CVariant(const CVariant& other) : CVariant() { CheckHr(VariantCopy(&v_, const_cast<VARIANT*>(&other.v_))); }
  CVariant& operator=(const CVariant& other) {
    if (this != &other) CheckHr(VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)));
    return *this;
  }
  ~CVariant() { VariantClear(&v_); }

  // For [out] VARIANT* parameters: clears what is held first.
  VARIANT* put() noexcept {
    VariantClear(&v_);
    return &v_;
  }
  const VARIANT& get() const noexcept { return v_; }
  VARTYPE Type() const noexcept { return v_.vt; }
  // The value as text (converted when it is not text); empty when it cannot be.
  std::wstring Text() const {
    if (v_.vt == VT_BSTR) return v_.bstrVal ? std::wstring(v_.bstrVal, SysStringLen(v_.bstrVal)) : L"";
    VARIANT copy;
    VariantInit(&copy);
    std::wstring out;
    if (SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(&v_), 0, VT_BSTR)) && copy.bstrVal)
      out.assign(copy.bstrVal, SysStringLen(copy.bstrVal));
    VariantClear(&copy);
    return out;
  }

 private:
  VARIANT v_;
};

}  // namespace twk
