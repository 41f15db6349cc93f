#include "ScratchRegKey.h"

#include <atomic>
#include <stdexcept>

#include "WideFormat.h"

namespace twktest {

namespace {
std::atomic<unsigned> g_counter{0};
constexpr wchar_t kScratchRoot[] = L"Software\\TarnwickTests";
}  // namespace

ScratchRegKey::ScratchRegKey() {
  subKey_ = twk::Format(L"%s\\%lu-%lu-%u", kScratchRoot, GetCurrentProcessId(), GetTickCount(),
                        g_counter.fetch_add(1));
  if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key_, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create the scratch registry key");
  }
}

ScratchRegKey::~ScratchRegKey() {
  if (key_) RegCloseKey(key_);
  RegDeleteTreeW(HKEY_CURRENT_USER, subKey_.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, subKey_.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, kScratchRoot);  // only succeeds once empty
}

RegValueRestorer::RegValueRestorer(HKEY root, std::wstring subKey, std::wstring valueName)
    : root_(root), subKey_(std::move(subKey)), valueName_(std::move(valueName)) {
  DWORD bytes = 0;
  if (RegGetValueW(root_, subKey_.c_str(), valueName_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type_,
                   nullptr, &bytes) == ERROR_SUCCESS) {
    data_.resize(bytes);
    existed_ = RegGetValueW(root_, subKey_.c_str(), valueName_.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                            &type_, data_.data(), &bytes) == ERROR_SUCCESS;
    data_.resize(bytes);
  }
}

RegValueRestorer::~RegValueRestorer() {
  if (existed_) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root_, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
      RegSetValueExW(key, valueName_.c_str(), 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
      RegCloseKey(key);
    }
  } else {
    DeleteRegValue(root_, subKey_, valueName_);
  }
}

bool SetRegString(HKEY root, const std::wstring& subKey, const std::wstring& name,
                  const std::wstring& value, DWORD type) {
  return RegSetKeyValueW(root, subKey.c_str(), name.c_str(), type, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetRegDword(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD value) {
  return RegSetKeyValueW(root, subKey.c_str(), name.c_str(), REG_DWORD, &value, sizeof value) ==
         ERROR_SUCCESS;
}

bool DeleteRegValue(HKEY root, const std::wstring& subKey, const std::wstring& name) {
  return RegDeleteKeyValueW(root, subKey.c_str(), name.c_str()) == ERROR_SUCCESS;
}

std::optional<std::wstring> GetRegString(HKEY root, const std::wstring& subKey, const std::wstring& name) {
  wchar_t buf[1024];
  DWORD bytes = sizeof buf;
  if (RegGetValueW(root, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                   nullptr, buf, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buf);
}

}  // namespace twktest
