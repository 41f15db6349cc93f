#pragma once
// Where the stand-in keeps its state, and its own settings (machine hive, values of
// "Software\ZADEZud\StandIn"):
//   ExtraScanRoot     scan only this folder's files (and its "Cookies" folder for cookies)
//   UpdateAddress     replaces the update address the product sets
//   ScanItemDelayMs   paces a scan: one item per this many milliseconds
//   ProgramFolder     the product's program folder, where "Definitions\DefVer.txt" is written
//   QuarantineFolder  replaces the default quarantine folder
//   DemoUpdatePort    serves newer definitions on 127.0.0.1:port (DemoUpdateServer.h)
#include <windows.h>

#include <string>

namespace engine {

inline constexpr wchar_t kEngineKey[] = L"Software\\ZADEZud";
inline constexpr wchar_t kStandInKey[] = L"Software\\ZADEZud\\StandIn";
inline constexpr wchar_t kSettingsKey[] = L"Software\\ZADEZud\\Settings";
inline constexpr wchar_t kReadyEventName[] = L"Global\\ROROServiceExistsEvent";
inline constexpr wchar_t kStopEventName[] = L"Global\\ROROServiceStopEvent";

std::wstring ReadMachineString(const wchar_t* key, const wchar_t* name);
DWORD ReadMachineDword(const wchar_t* key, const wchar_t* name, DWORD fallback);
bool WriteMachineString(const wchar_t* key, const wchar_t* name, const std::wstring& value);
bool WriteMachineDword(const wchar_t* key, const wchar_t* name, DWORD value);
void DeleteMachineValue(const wchar_t* key, const wchar_t* name);

std::wstring ModuleFolder();         // folder of ROROService.exe, no trailing backslash
std::wstring DataFolder();           // all-users application data\ZADEZud (created)
std::wstring InstalledDefinitionsPath();
std::wstring ResultsFolder();
std::wstring QuarantineFolder();     // not created
bool EnsureFolder(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

std::wstring Lower(std::wstring text);
std::wstring NowText();  // "MM/DD/YYYY HH:MM:SS"

}  // namespace engine
