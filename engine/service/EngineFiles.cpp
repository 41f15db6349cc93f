#include <shlobj.h>

#include "EngineConfig.h"
#include "EngineInternal.h"

namespace engine {

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || folder.back() == L'\\') return folder + name;
  return folder + L"\\" + name;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
  return path;
}

std::string ReadHead(const std::wstring& path, std::size_t limit) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string data(limit, '\0');
  DWORD read = 0;
  if (!ReadFile(h, data.data(), DWORD(limit), &read, nullptr)) read = 0;
  CloseHandle(h);
  data.resize(read);
  return data;
}

HKEY ParseRoot(const std::wstring& path, std::wstring& subKey) {
  auto slash = path.find(L'\\');
  std::wstring root = path.substr(0, slash);
  subKey = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
  if (root == L"HKCU" || root == L"HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
  if (root == L"HKLM" || root == L"HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
  return nullptr;
}

bool RegistryItemExists(const std::wstring& key, const std::wstring& value) {
  std::wstring sub;
  HKEY root = ParseRoot(key, sub);
  if (!root) return false;
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  bool exists = value.empty() ||
                RegQueryValueExW(h, value.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(h);
  return exists;
}

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring XmlEscape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      case L'\'': out += L"&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

bool WriteUtf8File(const std::wstring& path, const std::string& data) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, data.data(), DWORD(data.size()), &written, nullptr) && written == data.size();
  CloseHandle(h);
  return ok;
}

void AppendLine(const std::wstring& path, const std::wstring& line) {
  HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  std::string data = Utf8(line + L"\r\n");
  DWORD written = 0;
  WriteFile(h, data.data(), DWORD(data.size()), &written, nullptr);
  CloseHandle(h);
}

bool IsHostRootMapping(const std::wstring& root) {
  return FileExists(root + L"etc\\passwd") && FolderExists(root + L"proc");
}

}  // namespace engine
