#pragma once
// Control of the engine stand-in for tests: the RORO service process, its engine
// values, the sample threats. Waits pump messages, so that callbacks into the test's
// apartment are served meanwhile.
#include <windows.h>

#include <string>

namespace twktest {

class EngineStandIn {
 public:
  static std::wstring Folder();   // build\engine-dist
  static std::wstring ServiceExe();
  static bool Running();          // the ready event exists
  // Starts the service when it is not running. A test executable that links this stops
  // the service after its last test.
  static bool EnsureRunning();
  static bool Start();            // waits for the ready event
  static bool Stop();             // orderly end, waits until gone
  static bool Kill();             // abrupt end, then Wine's rpcss restart
  static bool Plant(const std::wstring& folder);
  // Engine values (Software\ZADEZud\StandIn); an empty value deletes it.
  static void SetValue(const wchar_t* name, const std::wstring& value);
  static void SetNumber(const wchar_t* name, DWORD value);
  static std::wstring InstalledDefinitionsPath();
  static std::wstring ResultsFolder();
  // Runs the service executable with arguments, pumping messages while it runs.
  static DWORD Run(const std::wstring& arguments, DWORD timeoutMs = 20000);
  // Runs any command line the same way.
  static DWORD RunProgram(const std::wstring& commandLine, DWORD timeoutMs = 20000);
};

// Restores the engine values a test changes and leaves the service running.
class EngineValuesGuard {
 public:
  EngineValuesGuard();
  ~EngineValuesGuard();
};

}  // namespace twktest
