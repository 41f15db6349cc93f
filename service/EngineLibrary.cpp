#include "EngineLibrary.h"

#include <windows.h>

#include <string>

namespace {

std::wstring ModuleFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleFolder), &self);
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\'));
}

std::wstring EngineFolder() {
  wchar_t buf[MAX_PATH];
  DWORD size = sizeof(buf);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, DODADOZA_INSTALL_KEY, DODADOZA_INSTALL_VALUE, RRF_RT_REG_SZ, nullptr,
                   buf, &size) != ERROR_SUCCESS)
    return L"";
  return buf;
}

HMODULE Library() {
  static HMODULE library = [] {
    for (const std::wstring& folder : {ModuleFolder(), EngineFolder()}) {
      if (folder.empty()) continue;
      std::wstring path = folder + L"\\" DODADOZA_LIBRARY_NAME;
      if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
      if (HMODULE m = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) return m;
    }
    return HMODULE(nullptr);
  }();
  return library;
}

template <typename T, typename Getter>
twk::CComPtr<T> Factory(const char* name) {
  HMODULE library = Library();
  if (!library) return {};
  auto get = reinterpret_cast<Getter>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  if (!get) return {};
  return twk::CComPtr<T>::Attach(get());
}

}  // namespace

bool CEngineLibrary::Loaded() { return Library() != nullptr; }

twk::CComPtr<IDDZScanResultsFactory> CEngineLibrary::ScanResultsFactory() {
  return Factory<IDDZScanResultsFactory, PFN_GetNVScanResultsFactory>("GetNVScanResultsFactory");
}
twk::CComPtr<IDDZThreatEngineSettingsFactory> CEngineLibrary::ThreatEngineSettingsFactory() {
  return Factory<IDDZThreatEngineSettingsFactory, PFN_GetThreatEngineSettingsFactory>(
      "GetThreatEngineSettingsFactory");
}
twk::CComPtr<IDDZServiceSettingsFactory> CEngineLibrary::ServiceSettingsFactory() {
  return Factory<IDDZServiceSettingsFactory, PFN_GetServiceSettingsFactory>("GetServiceSettingsFactory");
}
twk::CComPtr<IDDZDefinitionUpdateSettingsFactory> CEngineLibrary::DefinitionUpdateSettingsFactory() {
  return Factory<IDDZDefinitionUpdateSettingsFactory, PFN_GetDefinitionUpdateSettingsFactory>(
      "GetDefinitionUpdateSettingsFactory");
}
twk::CComPtr<IDDZSoftwareUpdateSettingsFactory> CEngineLibrary::SoftwareUpdateSettingsFactory() {
  return Factory<IDDZSoftwareUpdateSettingsFactory, PFN_GetSoftwareUpdateSettingsFactory>(
      "GetSoftwareUpdateSettingsFactory");
}
