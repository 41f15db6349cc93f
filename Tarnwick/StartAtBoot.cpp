#include "StartAtBoot.h"

#include "RegistryAccess.h"

RunKeyLocation CStartAtBoot::LocationFor(int osCode) {
  const bool machineWide = osCode == 6 || osCode == 61;
  return {machineWide ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kRunKey};
}

std::wstring CStartAtBoot::EntryData(const std::wstring& folder, const std::wstring& exeName) {
  return L"\"" + folder + L"\\" + exeName + L"\"" + kStartedAtBootSwitch;
}

std::wstring CStartAtBoot::ProgramOfEntry(const std::wstring& data) {
  if (!data.empty() && data.front() == L'"') {
    const auto close = data.find(L'"', 1);
    return close == std::wstring::npos ? data.substr(1) : data.substr(1, close - 1);
  }
  const std::wstring suffix = kStartedAtBootSwitch;
  if (data.size() >= suffix.size() && data.compare(data.size() - suffix.size(), suffix.size(), suffix) == 0) {
    return data.substr(0, data.size() - suffix.size());
  }
  return data;
}

bool CStartAtBoot::Write(const wchar_t* entry, const std::wstring& folder, const std::wstring& exeName) const {
  return twk::WriteString(location_.root, location_.subKey.c_str(), entry, EntryData(folder, exeName));
}

bool CStartAtBoot::Remove(const wchar_t* entry) const {
  return twk::DeleteValue(location_.root, location_.subKey.c_str(), entry);
}

std::wstring CStartAtBoot::Program(const wchar_t* entry) const {
  std::wstring data;
  if (!twk::ReadString(location_.root, location_.subKey.c_str(), entry, data)) return {};
  return ProgramOfEntry(data);
}
