#pragma once
// Starting Windows child processes from a test and waiting for them.
#include <windows.h>

#include <optional>
#include <string>

#include "WinHandle.h"

namespace twktest {

class ChildProcess {
 public:
  // commandLine is passed as is; workingFolder may be empty.
  static std::optional<ChildProcess> Start(const std::wstring& commandLine,
                                           const std::wstring& workingFolder = L"");
  // Exit code, or nullopt on timeout (the process keeps running).
  std::optional<DWORD> Wait(DWORD timeoutMs);
  void Terminate();
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.get(); }

 private:
  twk::CHandle process_;
  DWORD id_ = 0;
};

// Starts, waits and returns the exit code; nullopt when it did not start or timed out
// (then it is terminated).
std::optional<DWORD> RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 30000,
                                const std::wstring& workingFolder = L"");

// The folder holding the shipped programs (build/dist), from TWK_DIST_DIR or next to
// the test executable.
std::wstring DistFolder();
std::wstring Quoted(const std::wstring& path);

}  // namespace twktest
