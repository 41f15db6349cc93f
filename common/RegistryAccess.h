#pragma once
// The settings access operations shared by every program. Each call opens and closes
// the key itself; failures are plain false results that callers treat as empty.
#include <windows.h>

#include <string>

namespace twk {

// Longest text value a reader accepts; a longer one reads as missing.
inline constexpr std::size_t kMaxSettingChars = 259;

// True and the text when a string value exists and fits; otherwise false and text
// untouched. A value of another type reads as missing.
bool ReadString(HKEY root, const wchar_t* subKey, const wchar_t* name, std::wstring& text);
bool ValueExists(HKEY root, const wchar_t* subKey, const wchar_t* name);
// True and the number; false and 0xFFFFFFFF when missing or not a DWORD.
bool ReadDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD& value);
// Create the key when missing.
bool WriteString(HKEY root, const wchar_t* subKey, const wchar_t* name, const std::wstring& text);
bool WriteDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value);
// True when the value existed and was removed.
bool DeleteValue(HKEY root, const wchar_t* subKey, const wchar_t* name);

}  // namespace twk
