#include "ChildProcess.h"

#include <vector>

namespace twktest {

std::optional<ChildProcess> ChildProcess::Start(const std::wstring& commandLine,
                                                const std::wstring& workingFolder) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingFolder.empty() ? nullptr : workingFolder.c_str(), &si, &pi)) {
    return std::nullopt;
  }
  CloseHandle(pi.hThread);
  ChildProcess child;
  child.process_.reset(pi.hProcess);
  child.id_ = pi.dwProcessId;
  return child;
}

std::optional<DWORD> ChildProcess::Wait(DWORD timeoutMs) {
  if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

void ChildProcess::Terminate() {
  if (process_) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

std::optional<DWORD> RunAndWait(const std::wstring& commandLine, DWORD timeoutMs,
                                const std::wstring& workingFolder) {
  auto child = ChildProcess::Start(commandLine, workingFolder);
  if (!child) return std::nullopt;
  auto code = child->Wait(timeoutMs);
  if (!code) child->Terminate();
  return code;
}

namespace {
std::wstring UnixToWindowsPath(const std::wstring& unixPath) {
  // Wine maps the Unix root to drive Z:.
  if (!unixPath.empty() && unixPath[0] == L'/') {
    std::wstring out = L"Z:" + unixPath;
    for (auto& c : out) {
      if (c == L'/') c = L'\\';
    }
    return out;
  }
  return unixPath;
}
}  // namespace

std::wstring DistFolder() {
  wchar_t value[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableW(L"TWK_DIST_DIR", value, MAX_PATH * 2);
  if (n > 0 && n < MAX_PATH * 2) return UnixToWindowsPath(value);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder = self;
  folder = folder.substr(0, folder.find_last_of(L'\\'));        // build\tests
  folder = folder.substr(0, folder.find_last_of(L'\\'));        // build
  return folder + L"\\dist";
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

}  // namespace twktest
