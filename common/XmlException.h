#pragma once
// The error the XML wrappers raise: the failing parser call's result code.
#include <windows.h>

#include <exception>

class CXmlException : public std::exception {
 public:
  explicit CXmlException(HRESULT result) : result_(result) {}
  HRESULT Result() const noexcept { return result_; }
  const char* what() const noexcept override { return "XML parser call failed"; }

 private:
  HRESULT result_;
};

// Throws unless the call succeeded (S_FALSE, "nothing found", counts as success).
inline void ThrowIfXmlFailed(HRESULT result) {
  if (FAILED(result)) throw CXmlException(result);
}
