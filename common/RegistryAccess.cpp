#include "RegistryAccess.h"

#include "WinHandle.h"

namespace twk {

namespace {

bool OpenForReading(HKEY root, const wchar_t* subKey, CRegKey& key) {
  return RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

bool OpenForWriting(HKEY root, const wchar_t* subKey, CRegKey& key) {
  return RegCreateKeyExW(root, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
         ERROR_SUCCESS;
}

}  // namespace

bool ReadString(HKEY root, const wchar_t* subKey, const wchar_t* name, std::wstring& text) {
  CRegKey key;
  if (!OpenForReading(root, subKey, key)) return false;
  // One character more than accepted plus the terminator, so that a value stored
  // without its terminator cannot slip past the limit.
  wchar_t buffer[kMaxSettingChars + 2] = {};
  DWORD type = 0;
  DWORD bytes = sizeof(buffer);
  if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::size_t length = bytes / sizeof(wchar_t);
  if (length > 0 && buffer[length - 1] == L'\0') --length;
  if (length > kMaxSettingChars) return false;
  text.assign(buffer, length);
  // Anything after an embedded terminator is not part of the text.
  text.resize(wcsnlen(text.c_str(), text.size()));
  return true;
}

bool ValueExists(HKEY root, const wchar_t* subKey, const wchar_t* name) {
  std::wstring ignored;
  return ReadString(root, subKey, name, ignored);
}

bool ReadDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD& value) {
  value = 0xFFFFFFFFu;
  CRegKey key;
  if (!OpenForReading(root, subKey, key)) return false;
  DWORD type = 0;
  DWORD data = 0;
  DWORD bytes = sizeof(data);
  if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || bytes != sizeof(data)) {
    return false;
  }
  value = data;
  return true;
}

bool WriteString(HKEY root, const wchar_t* subKey, const wchar_t* name, const std::wstring& text) {
  CRegKey key;
  if (!OpenForWriting(root, subKey, key)) return false;
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        bytes) == ERROR_SUCCESS;
}

bool WriteDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value) {
  CRegKey key;
  if (!OpenForWriting(root, subKey, key)) return false;
  return RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value)) == ERROR_SUCCESS;
}

bool DeleteValue(HKEY root, const wchar_t* subKey, const wchar_t* name) {
  CRegKey key;
  if (RegOpenKeyExW(root, subKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return false;
  return RegDeleteValueW(key.get(), name) == ERROR_SUCCESS;
}

}  // namespace twk
