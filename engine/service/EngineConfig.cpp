#include "EngineConfig.h"

#include <shlobj.h>

#include <cwctype>

namespace engine {

std::wstring ReadMachineString(const wchar_t* key, const wchar_t* name) {
  wchar_t buf[2048];
  DWORD size = sizeof(buf);
  DWORD type = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, &type, buf, &size) != ERROR_SUCCESS)
    return L"";
  return buf;
}

DWORD ReadMachineDword(const wchar_t* key, const wchar_t* name, DWORD fallback) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return fallback;
  return value;
}

bool WriteMachineString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, value.c_str(),
                         DWORD((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteMachineDword(const wchar_t* key, const wchar_t* name, DWORD value) {
  return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_DWORD, &value, sizeof(value)) ==
         ERROR_SUCCESS;
}

void DeleteMachineValue(const wchar_t* key, const wchar_t* name) {
  RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, name);
}

std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\'));
}

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureFolder(const std::wstring& path) {
  if (path.empty()) return false;
  if (FolderExists(path)) return true;
  auto slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos && slash > 2) EnsureFolder(path.substr(0, slash));
  return CreateDirectoryW(path.c_str(), nullptr) || FolderExists(path);
}

std::wstring DataFolder() {
  wchar_t base[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
  std::wstring folder = std::wstring(base) + L"\\ZADEZud";
  EnsureFolder(folder);
  return folder;
}

std::wstring InstalledDefinitionsPath() { return DataFolder() + L"\\Definitions\\Definitions.xml"; }

std::wstring ResultsFolder() { return DataFolder() + L"\\Results"; }

std::wstring QuarantineFolder() {
  std::wstring custom = ReadMachineString(kStandInKey, L"QuarantineFolder");
  return custom.empty() ? DataFolder() + L"\\Quarantine" : custom;
}

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = wchar_t(std::towlower(c));
  return text;
}

std::wstring NowText() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t buf[64];
  wsprintfW(buf, L"%02u/%02u/%04u %02u:%02u:%02u", t.wMonth, t.wDay, t.wYear, t.wHour, t.wMinute,
            t.wSecond);
  return buf;
}

}  // namespace engine
