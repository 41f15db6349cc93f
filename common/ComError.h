#pragma once
// The error raised when a COM call made through the throwing path fails.
#include <windows.h>

#include <exception>

namespace twk {

class CComError : public std::exception {
 public:
  explicit CComError(HRESULT hr) noexcept : hr_(hr) {}
  HRESULT Error() const noexcept { return hr_; }
  const char* what() const noexcept override { return "COM call failed"; }

 private:
  HRESULT hr_;
};

// The throwing path: a failing result raises CComError with it; others pass through.
inline HRESULT CheckHr(HRESULT hr) {
  if (FAILED(hr)) throw CComError(hr);
  return hr;
}

}  // namespace twk
