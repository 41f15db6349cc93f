#include "ClientLoggerInit.h"

#include <shlobj.h>

#include "ClientLog.h"
#include "WinHandle.h"

namespace {
constexpr wchar_t kServiceKey[] = L"Software\\ZADEZud";
constexpr wchar_t kFallbackCompany[] = L"Dizavev";
constexpr DWORD kMaxCompanyChars = 127;
}  // namespace

CClientLoggerInit::CClientLoggerInit(const wchar_t* systemName, const wchar_t* logFolderName)
    : systemName_(systemName), logFolderName_(logFolderName) {
  std::wstring folder;
  if (DetermineCsidlFilePath(folder)) {
    ClientLogConfigure(folder, systemName_);
    ClientLogSetLevel(LOG_TRACE);
  }
  const std::wstring logPath = folder + L"\\" + systemName_;
  ClientLog(LOG_TRACE, systemName_.c_str(), L"CClientLoggerInit::CClientLoggerInit",
            L"Logging dir <%s>", logPath.c_str());
}

std::wstring CClientLoggerInit::ReadCompanyFolderName(HKEY root, const wchar_t* subKey,
                                                      const wchar_t* systemName) {
  twk::CRegKey key;
  if (RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS) {
    wchar_t value[kMaxCompanyChars + 1] = {};
    DWORD type = 0;
    DWORD bytes = sizeof(wchar_t) * kMaxCompanyChars;  // leaves room for a terminator
    if (RegQueryValueExW(key.get(), L"Company", nullptr, &type, reinterpret_cast<BYTE*>(value),
                         &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
      value[bytes / sizeof(wchar_t)] = L'\0';
      if (value[0] != L'\0') return value;
    }
  }
  ClientLog(LOG_ERROR, systemName, L"CClientLoggerInit::DetermineCsidlFilePath",
            L"Could not retrieve company name from the registry.  Hardwiring the path to "
            L"Dizavev and VuruDazadud.");
  return kFallbackCompany;
}

void CClientLoggerInit::CreateFolderWithParents(const std::wstring& path) {
  for (std::size_t i = 1; i < path.size(); ++i) {
    if (path[i] == L'\\' && path[i - 1] != L':') {
      CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
  }
  CreateDirectoryW(path.c_str(), nullptr);
}

bool CClientLoggerInit::DetermineCsidlFilePath(std::wstring& folder) const {
  const std::wstring company =
      ReadCompanyFolderName(HKEY_LOCAL_MACHINE, kServiceKey, systemName_.c_str());
  wchar_t appData[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, appData))) {
    return false;
  }
  const std::wstring root = std::wstring(appData) + L"\\" + company + L"\\VuruDazadud\\";
  const std::wstring logFolder = root + logFolderName_;
  CreateFolderWithParents(logFolder);
  CreateFolderWithParents(root + L"History");
  folder = logFolder;
  return true;
}
