#pragma once
// Registry helpers for tests: a scratch key under HKCU deleted afterwards, and a value
// that is put back as it was at the end of a test.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace twktest {

class ScratchRegKey {
 public:
  ScratchRegKey();  // HKCU\Software\TarnwickTests\<unique>
  ~ScratchRegKey();
  ScratchRegKey(const ScratchRegKey&) = delete;
  ScratchRegKey& operator=(const ScratchRegKey&) = delete;

  HKEY Root() const { return HKEY_CURRENT_USER; }
  const std::wstring& SubKey() const { return subKey_; }
  HKEY Key() const { return key_; }

 private:
  std::wstring subKey_;
  HKEY key_ = nullptr;
};

// Saves a value (or its absence) and restores it on destruction.
class RegValueRestorer {
 public:
  RegValueRestorer(HKEY root, std::wstring subKey, std::wstring valueName);
  ~RegValueRestorer();
  RegValueRestorer(const RegValueRestorer&) = delete;
  RegValueRestorer& operator=(const RegValueRestorer&) = delete;

 private:
  HKEY root_;
  std::wstring subKey_;
  std::wstring valueName_;
  bool existed_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
};

bool SetRegString(HKEY root, const std::wstring& subKey, const std::wstring& name,
                  const std::wstring& value, DWORD type = REG_SZ);
bool SetRegDword(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD value);
bool DeleteRegValue(HKEY root, const std::wstring& subKey, const std::wstring& name);
std::optional<std::wstring> GetRegString(HKEY root, const std::wstring& subKey, const std::wstring& name);

}  // namespace twktest
