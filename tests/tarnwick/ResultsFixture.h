#pragma once
// Small results files for the tests, and the engine's library that opens them.
#include <string>

#include "ChildProcess.h"
#include "DodadozaLibrary.h"
#include "FileBytes.h"
#include "TempFolder.h"

namespace twktest {

inline std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// Writes a results document (UTF-8) into folder and returns its path.
inline std::wstring WriteResults(const TempFolder& folder, const std::wstring& xml,
                                 const std::wstring& name = L"ScanResults.xml") {
  const std::wstring path = folder / name;
  WriteFileBytes(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + Utf8(xml));
  return path;
}

// DODADOZA.dll of the engine stand-in, straight from the build.
inline twk::CComPtr<IDDZScanResultsFactory> BuiltResultsFactory() {
  static HMODULE library = LoadLibraryW((DistFolder() + L"\\..\\engine-dist\\DODADOZA.dll").c_str());
  if (!library) return {};
  auto get = reinterpret_cast<PFN_GetNVScanResultsFactory>(GetProcAddress(library, "GetNVScanResultsFactory"));
  return get ? twk::CComPtr<IDDZScanResultsFactory>::Attach(get()) : twk::CComPtr<IDDZScanResultsFactory>();
}

}  // namespace twktest
