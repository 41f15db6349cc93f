// ROROService.exe: the stand-in RORO service and its control switches.
//   /register            type library and interfaces (HKLM), engine key, definitions
//   /run                 the service itself (normally started by /start)
//   /start               starts the service detached and waits for its ready event
//   /stop                asks a running service to end and waits until it has
//   /kill                ends the service abruptly, then restarts Wine's rpcss
//   /set NAME VALUE      sets an engine value (see EngineConfig.h); /clear NAME
//   /plant FOLDER        writes the harmless sample threats into FOLDER
#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "DemoUpdateServer.h"
#include "Engine.h"
#include "EngineConfig.h"
#include "SBEngine.h"
#include "ServiceObjects.h"

using namespace engine;

namespace {

constexpr int kWaitMs = 15000;

bool EventExists(const wchar_t* name) {
  HANDLE h = OpenEventW(READ_CONTROL, FALSE, name);
  if (!h) return false;
  CloseHandle(h);
  return true;
}

bool WaitFor(bool wantExists, int ms) {
  for (int waited = 0; waited <= ms; waited += 10) {
    if (EventExists(kReadyEventName) == wantExists) return true;
    Sleep(10);
  }
  return false;
}

int Register() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  ITypeLib* lib = nullptr;
  HRESULT hr = LoadTypeLibEx(exe, REGKIND_REGISTER, &lib);
  if (lib) lib->Release();
  if (FAILED(hr)) {
    fwprintf(stderr, L"register: type library registration failed (0x%08lX)\n", hr);
    return 1;
  }
  // A stopped service cannot be started by COM: no LocalServer32 for our classes.
  for (const CLSID* clsid : {&CLSID_SBService, &CLSID_SBScanControl, &CLSID_SBThreatDefinitions,
                             &CLSID_SBSoftwareUpdates}) {
    wchar_t text[64];
    StringFromGUID2(*clsid, text, 64);
    std::wstring key = std::wstring(L"Software\\Classes\\CLSID\\") + text + L"\\LocalServer32";
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
  }
  bool ok = WriteMachineString(kEngineKey, L"Company", L"Corvanta") &&
            WriteMachineString(kEngineKey, L"EngineFolder", ModuleFolder());
  std::wstring installed = InstalledDefinitionsPath();
  EnsureFolder(DataFolder() + L"\\Definitions");
  if (!FileExists(installed)) {
    ok &= CopyFileW((ModuleFolder() + L"\\Definitions.xml").c_str(), installed.c_str(), TRUE) != 0;
  }
  if (!ok) fwprintf(stderr, L"register: could not write the engine's key or definitions\n");
  return ok ? 0 : 1;
}

HANDLE g_stopEvent = nullptr;

BOOL WINAPI OnConsoleControl(DWORD) {
  if (g_stopEvent) SetEvent(g_stopEvent);
  return TRUE;
}

int RunService(HINSTANCE instance) {
  // Hold none of the caller's handles: a caller waiting on its pipes must not wait for us.
  SetStdHandle(STD_INPUT_HANDLE, nullptr);
  SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
  SetStdHandle(STD_ERROR_HANDLE, nullptr);
  FreeConsole();
  if (EventExists(kReadyEventName)) return 2;  // another instance runs
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  g_stopEvent = CreateEventW(nullptr, FALSE, FALSE, kStopEventName);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  CEngine& engine = CEngine::Instance();
  int rc = 0;
  HANDLE ready = nullptr;
  if (!engine.Start(instance) || !RegisterClassObjects()) {
    rc = 4;
  } else {
    StartDemoUpdateServer();
    ready = CreateEventW(nullptr, TRUE, TRUE, kReadyEventName);
    WriteMachineDword(kStandInKey, L"ProcessId", GetCurrentProcessId());
    bool running = true;
    while (running) {
      DWORD r = MsgWaitForMultipleObjects(1, &g_stopEvent, FALSE, INFINITE, QS_ALLINPUT);
      if (r == WAIT_OBJECT_0) break;
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) running = false;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
  RevokeClassObjects();
  if (ready) CloseHandle(ready);
  StopDemoUpdateServer();
  engine.Shutdown();
  DeleteMachineValue(kStandInKey, L"ProcessId");
  CoUninitialize();
  if (g_stopEvent) CloseHandle(g_stopEvent);
  return rc;
}

int StartDetached() {
  if (EventExists(kReadyEventName)) return 0;
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" /run";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE,
                      DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &si, &pi)) {
    fwprintf(stderr, L"start: could not start the service (%lu)\n", GetLastError());
    return 1;
  }
  CloseHandle(pi.hThread);
  for (int waited = 0; waited <= kWaitMs; waited += 10) {
    if (EventExists(kReadyEventName)) {
      CloseHandle(pi.hProcess);
      return 0;
    }
    if (WaitForSingleObject(pi.hProcess, 10) == WAIT_OBJECT_0) break;
  }
  CloseHandle(pi.hProcess);
  fwprintf(stderr, L"start: the service did not become ready\n");
  return 1;
}

int Stop() {
  HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, kStopEventName);
  if (!stop) return 0;  // not running
  SetEvent(stop);
  CloseHandle(stop);
  DWORD pid = ReadMachineDword(kStandInKey, L"ProcessId", 0);
  HANDLE process = pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
  bool gone = WaitFor(false, kWaitMs);
  if (process) {
    WaitForSingleObject(process, kWaitMs);
    CloseHandle(process);
  }
  return gone ? 0 : 1;
}

int RunAndWait(const std::wstring& commandLine) {
  std::wstring cmd = commandLine;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                      &si, &pi))
    return 1;
  WaitForSingleObject(pi.hProcess, kWaitMs);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return int(code);
}

int Kill() {
  DWORD pid = ReadMachineDword(kStandInKey, L"ProcessId", 0);
  if (pid) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (process) {
      TerminateProcess(process, 9);
      WaitForSingleObject(process, kWaitMs);
      CloseHandle(process);
    }
    DeleteMachineValue(kStandInKey, L"ProcessId");
  }
  bool gone = WaitFor(false, kWaitMs);
  // Wine's rpcss keeps the class registrations of a killed server until it restarts.
  RunAndWait(L"net.exe stop rpcss");
  return gone ? 0 : 1;
}

bool WriteText(const std::wstring& path, const char* text) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, text, DWORD(strlen(text)), &written, nullptr);
  CloseHandle(h);
  return ok;
}

int Plant(const std::wstring& folder) {
  if (!EnsureFolder(folder) || !EnsureFolder(folder + L"\\Cookies")) return 1;
  struct { const wchar_t* name; const char* text; } files[] = {
      {L"invoice_reader.bin", "harmless sample file TWK-SAMPLE-DROPPER-5E1B\r\n"},
      {L"samplekeylog_2026.dat", "harmless sample file TWK-SAMPLE-KEYLOGGER-93C4\r\n"},
      {L"sampletoolbar_core.dll", "harmless sample file, not a library\r\n"},
      {L"popupsample_setup.exe", "harmless sample file, not a program\r\n"},
      {L"notes.txt", "an ordinary file\r\n"},
      {L"Cookies\\user@adtrack.example[1].txt", "id\r\n12345\r\nadtrack.example/\r\n"},
      {L"Cookies\\user@clickmeter.example[1].txt", "visit\r\n1\r\nclickmeter.example/\r\n"},
      {L"Cookies\\user@news.example[1].txt", "session\r\nabc\r\nnews.example/\r\n"},
  };
  for (auto& f : files)
    if (!WriteText(folder + L"\\" + f.name, f.text)) return 1;
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring verb = argc > 1 ? Lower(argv[1]) : L"";
  if (verb == L"/run") return RunService(instance);
  if (verb == L"/register") return Register();
  if (verb == L"/start") return StartDetached();
  if (verb == L"/stop") return Stop();
  if (verb == L"/kill") return Kill();
  if (verb == L"/set" && argc > 3) return WriteMachineString(kStandInKey, argv[2], argv[3]) ? 0 : 1;
  if (verb == L"/setdword" && argc > 3)
    return WriteMachineDword(kStandInKey, argv[2], wcstoul(argv[3], nullptr, 10)) ? 0 : 1;
  if (verb == L"/clear" && argc > 2) {
    DeleteMachineValue(kStandInKey, argv[2]);
    return 0;
  }
  if (verb == L"/plant" && argc > 2) return Plant(argv[2]);
  fwprintf(stderr, L"usage: ROROService.exe /register | /start | /stop | /kill | /set NAME VALUE | "
                   L"/setdword NAME N | /clear NAME | /plant FOLDER\n");
  return 64;
}
