#pragma once
// Move-only owners for plain Win32 handles. One template, a close policy per kind.
#include <windows.h>

#include <utility>

namespace twk {

template <typename T, typename Traits>
class CSmartHandle {
 public:
  CSmartHandle() noexcept = default;
  explicit CSmartHandle(T value) noexcept : value_(value) {}
  ~CSmartHandle() { reset(); }
  CSmartHandle(const CSmartHandle&) = delete;
  CSmartHandle& operator=(const CSmartHandle&) = delete;
  CSmartHandle(CSmartHandle&& other) noexcept : value_(other.release()) {}
  CSmartHandle& operator=(CSmartHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }
  T release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void reset(T value = Traits::Invalid()) noexcept {
    if (value_ != Traits::Invalid()) Traits::Close(value_);
    value_ = value;
  }
  // For out-parameters of creating calls: releases what is held first.
  T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  T value_ = Traits::Invalid();
};

struct KernelHandleTraits {
  static HANDLE Invalid() noexcept { return nullptr; }
  static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
struct FileHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
struct RegKeyTraits {
  static HKEY Invalid() noexcept { return nullptr; }
  static void Close(HKEY h) noexcept { RegCloseKey(h); }
};
struct FindHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { FindClose(h); }
};
struct ModuleTraits {
  static HMODULE Invalid() noexcept { return nullptr; }
  static void Close(HMODULE h) noexcept { FreeLibrary(h); }
};

using CHandle = CSmartHandle<HANDLE, KernelHandleTraits>;       // events, mutexes, processes
using CFileHandle = CSmartHandle<HANDLE, FileHandleTraits>;     // CreateFile results
using CRegKey = CSmartHandle<HKEY, RegKeyTraits>;
using CFindHandle = CSmartHandle<HANDLE, FindHandleTraits>;
using CModule = CSmartHandle<HMODULE, ModuleTraits>;

}  // namespace twk
