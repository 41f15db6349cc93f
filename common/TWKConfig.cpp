#include "TWKConfig.h"

#include <windows.h>

namespace {

constexpr DWORD kReadStep = 512;
constexpr std::size_t kSettingsValueLimit = 64;
constexpr wchar_t kTrimmed[] = L" \t\r\n";

std::wstring Trim(const std::wstring& text) {
  const auto first = text.find_first_not_of(kTrimmed);
  if (first == std::wstring::npos) return {};
  const auto last = text.find_last_not_of(kTrimmed);
  return text.substr(first, last - first + 1);
}

}  // namespace

std::wstring CTWKConfig::ReadValue(const std::wstring& section, const std::wstring& key) const {
  // The empty key name is a real name here: the list sections keep their one entry there.
  std::wstring buffer;
  for (DWORD size = kReadStep;; size += kReadStep) {
    buffer.assign(size, L'\0');
    DWORD got = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(), size,
                                         path_.c_str());
    // A full buffer shows as size - 1 characters: the value may have been cut.
    if (got < size - 1) {
      buffer.resize(got);
      return buffer;
    }
  }
}

int CTWKConfig::ReadSettingsValue(const std::wstring& key, std::wstring& value) const {
  std::wstring whole = ReadValue(L"Settings", key);
  if (whole.size() > kSettingsValueLimit) whole.resize(kSettingsValueLimit);
  value = whole;
  return static_cast<int>(value.size());
}

void CTWKConfig::ReadList(const std::wstring& section, const std::wstring& key,
                          std::vector<std::wstring>& items, const std::wstring& separator) const {
  items.clear();
  const std::wstring value = ReadValue(section, key);
  if (value.empty()) return;
  auto add = [&items](const std::wstring& piece) {
    std::wstring trimmed = Trim(piece);
    if (!trimmed.empty()) items.push_back(std::move(trimmed));
  };
  if (separator.empty()) {
    add(value);
    return;
  }
  std::size_t start = 0;
  for (;;) {
    const auto at = value.find(separator, start);
    if (at == std::wstring::npos) {
      add(value.substr(start));
      return;
    }
    add(value.substr(start, at - start));
    start = at + separator.size();
  }
}

bool CTWKConfig::WriteList(const std::wstring& section, const std::vector<std::wstring>& items,
                           const std::wstring& separator) const {
  const std::wstring& joint = separator.empty() ? std::wstring(L",") : separator;
  std::wstring joined;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += joint;
    joined += items[i];
  }
  return WritePrivateProfileStringW(section.c_str(), L"", joined.c_str(), path_.c_str()) != FALSE;
}
