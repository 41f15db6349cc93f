#include "ActivityLog.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "ClientLoggerInit.h"
#include "WideFormat.h"

namespace {

std::string ToNarrow(const std::wstring& text) {
  if (text.empty()) return {};
  int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                  0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) {
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), bytes,
                        nullptr, nullptr);
  }
  return out;
}

}  // namespace

CActivityLog::CActivityLog(const wchar_t* fileName) {
  wchar_t appData[MAX_PATH] = {};
  HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData);
  if (FAILED(hr)) {
    OutputDebugStringW(twk::Format(L"SHGetFolderPath failed %d", static_cast<int>(GetLastError())).c_str());
    appData[0] = L'\0';
  }
  const std::wstring folder = std::wstring(appData) + L"\\Corvanta\\VuruDazadud\\AutoUpdater";
  CClientLoggerInit::CreateFolderWithParents(folder);
  path_ = folder + L"\\" + fileName;
}

CActivityLog::CActivityLog(const std::wstring& folder, const std::wstring& fileName) {
  CClientLoggerInit::CreateFolderWithParents(folder);
  path_ = folder + L"\\" + fileName;
}

void CActivityLog::Write(const std::wstring& text) const {
  FILE* file = _wfopen(path_.c_str(), L"a");
  if (file == nullptr) return;
  char stamp[64] = "";
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_s(&local, &now) != 0 || std::strftime(stamp, sizeof stamp, "%m/%d/%Y %I:%M:%S %p", &local) == 0) {
    stamp[0] = '\0';
  }
  std::string line = stamp;
  line += " -- ";
  line += ToNarrow(text);
  line += '\n';
  std::fputs(line.c_str(), file);
  std::fflush(file);
  std::fclose(file);
}

void CActivityLog::WriteFormat(const wchar_t* format, ...) const {
  va_list args;
  va_start(args, format);
  std::wstring text = twk::FormatV(format, args);
  va_end(args);
  Write(text);
}
