#include "DodadozaLibrary.h"

#include "RegistryAccess.h"

namespace {

HMODULE LoadDodadoza() {
  std::wstring folder;
  if (twk::ReadString(HKEY_LOCAL_MACHINE, DODADOZA_INSTALL_KEY, DODADOZA_INSTALL_VALUE, folder) && !folder.empty()) {
    if (folder.back() != L'\\') folder += L'\\';
    if (HMODULE module = LoadLibraryExW((folder + DODADOZA_LIBRARY_NAME).c_str(), nullptr,
                                        LOAD_WITH_ALTERED_SEARCH_PATH)) {
      return module;
    }
  }
  return LoadLibraryExW(DODADOZA_LIBRARY_NAME, nullptr,
                        LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

twk::CComPtr<IDDZScanResultsFactory> GetScanResultsFactory() {
  // Kept loaded: objects of the library may outlive any one caller.
  static HMODULE library = LoadDodadoza();
  if (!library) return {};
  auto get = reinterpret_cast<PFN_GetNVScanResultsFactory>(GetProcAddress(library, "GetNVScanResultsFactory"));
  if (!get) return {};
  return twk::CComPtr<IDDZScanResultsFactory>::Attach(get());
}
