#include "EngineStandIn.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "ScratchRegKey.h"
#include "TestWindow.h"

namespace twktest {

namespace {
constexpr wchar_t kStandInKey[] = L"Software\\ZADEZud\\StandIn";
const wchar_t* const kValues[] = {L"ExtraScanRoot", L"UpdateAddress", L"ScanItemDelayMs",
                                  L"ProgramFolder", L"QuarantineFolder"};
}  // namespace

std::wstring EngineStandIn::Folder() {
  std::wstring dist = DistFolder();
  return dist.substr(0, dist.find_last_of(L'\\')) + L"\\engine-dist";
}

std::wstring EngineStandIn::ServiceExe() { return Folder() + L"\\ROROService.exe"; }

bool EngineStandIn::Running() {
  HANDLE h = OpenEventW(READ_CONTROL, FALSE, L"Global\\ROROServiceExistsEvent");
  if (!h) return false;
  CloseHandle(h);
  return true;
}

DWORD EngineStandIn::Run(const std::wstring& arguments, DWORD timeoutMs) {
  return RunProgram(Quoted(ServiceExe()) + L" " + arguments, timeoutMs);
}

DWORD EngineStandIn::RunProgram(const std::wstring& commandLine, DWORD timeoutMs) {
  auto child = ChildProcess::Start(commandLine);
  if (!child) return DWORD(-1);
  HANDLE process = child->Handle();
  PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs);
  auto code = child->Wait(0);
  if (!code) {
    child->Terminate();
    return DWORD(-2);
  }
  return *code;
}

bool EngineStandIn::Start() { return Run(L"/start") == 0 && Running(); }
bool EngineStandIn::Stop() { return Run(L"/stop") == 0 && !Running(); }
bool EngineStandIn::Kill() { return Run(L"/kill") == 0 && !Running(); }
bool EngineStandIn::Plant(const std::wstring& folder) { return Run(L"/plant " + Quoted(folder)) == 0; }

void EngineStandIn::SetValue(const wchar_t* name, const std::wstring& value) {
  if (value.empty()) DeleteRegValue(HKEY_LOCAL_MACHINE, kStandInKey, name);
  else SetRegString(HKEY_LOCAL_MACHINE, kStandInKey, name, value);
}

void EngineStandIn::SetNumber(const wchar_t* name, DWORD value) {
  SetRegDword(HKEY_LOCAL_MACHINE, kStandInKey, name, value);
}

static std::wstring EngineData() {
  wchar_t base[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
  return std::wstring(base) + L"\\ZADEZud";
}

std::wstring EngineStandIn::InstalledDefinitionsPath() { return EngineData() + L"\\Definitions\\Definitions.xml"; }
std::wstring EngineStandIn::ResultsFolder() { return EngineData() + L"\\Results"; }

EngineValuesGuard::EngineValuesGuard() {
  for (auto* name : kValues) DeleteRegValue(HKEY_LOCAL_MACHINE, kStandInKey, name);
}

EngineValuesGuard::~EngineValuesGuard() {
  for (auto* name : kValues) DeleteRegValue(HKEY_LOCAL_MACHINE, kStandInKey, name);
}

namespace {
class StopServiceAtEnd : public testing::Environment {
 public:
  void TearDown() override {
    if (EngineStandIn::Running()) EngineStandIn::Stop();
  }
};

// Every test executable that controls the service stops it after its last test.
const auto* const kStopServiceAtEnd = testing::AddGlobalTestEnvironment(new StopServiceAtEnd);
}  // namespace

bool EngineStandIn::EnsureRunning() { return Running() || Start(); }

}  // namespace twktest
