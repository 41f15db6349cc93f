#pragma once
// The settings key of all three programs, the names of its values and the rules by
// which its texts are read and written: booleans "TRUE"/"FALSE", counts as decimal
// text, markers "1"/"0", dates in the schedule or the display format.
#include <windows.h>
#include <oleauto.h>

#include <ctime>
#include <optional>
#include <string>

namespace twk {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Corvanta\\Tarnwick Pro";

namespace setting {
inline constexpr wchar_t kLanguage[] = L"Language";
inline constexpr wchar_t kStartAtBoot[] = L"STARTATBOOT";
inline constexpr wchar_t kShowWelcome[] = L"SHOW_WELCOME";
inline constexpr wchar_t kShowScanResult[] = L"SHOW_SCAN_RESULT";
inline constexpr wchar_t kShowWarning[] = L"SHOW_WARNING";
inline constexpr wchar_t kDefaultScan[] = L"DefaultScan";
inline constexpr wchar_t kNextScanning[] = L"NextScanning";
inline constexpr wchar_t kDays[] = L"Days";
inline constexpr wchar_t kHours[] = L"Hours";
inline constexpr wchar_t kCurrentlyScanning[] = L"CurrentlyScanning";
inline constexpr wchar_t kLastScanInterrupted[] = L"LASTSCANINTERRUPTED";
inline constexpr wchar_t kErrorsFound[] = L"ERRORSFOUND";
inline constexpr wchar_t kLastErrorsFound[] = L"LASTERRORSFOUND";
inline constexpr wchar_t kErrorsFixed[] = L"ERRORSFIXED";
inline constexpr wchar_t kScannedCompleteTime[] = L"SCANNED_COMPLETE_TIME";
inline constexpr wchar_t kFixedCompleteTime[] = L"FIXED_COMPLETE_TIME";
inline constexpr wchar_t kCreatingRestorePoint[] = L"CreatingRestorePoint";
inline constexpr wchar_t kLastRestorePoint[] = L"LastRestorePoint";
inline constexpr wchar_t kAllowLowRiskThreat[] = L"ALLOW_LOW_RISK_THREAT";
inline constexpr wchar_t kExpandTreeview[] = L"EXPAND_TREEVIEW";
inline constexpr wchar_t kAutoDefinitionsDownload[] = L"AutoDefinitionsDownload";
inline constexpr wchar_t kShowAutoDefinitionAlerts[] = L"ShowAutoDefinitionAlerts";
inline constexpr wchar_t kDefinitionsDownloadInterval[] = L"DefinitionsDownloadInterval";
inline constexpr wchar_t kNextAutoDownloadDate[] = L"NextAutoDownloadDate";
inline constexpr wchar_t kDefinitionsDate[] = L"DefinitionsDate";
inline constexpr wchar_t kCurrentlyDownloading[] = L"CurrentlyDownloading";
inline constexpr wchar_t kUsingProxy[] = L"USING_PROXY";
inline constexpr wchar_t kProxyServer[] = L"PROXYSERVER";
inline constexpr wchar_t kProxyPort[] = L"PROXYPORT";
inline constexpr wchar_t kInstallTime[] = L"InstallTime";
inline constexpr wchar_t kAppStatus[] = L"AppStatus";
inline constexpr wchar_t kStatusType[] = L"StatusType";
}  // namespace setting

// Where the values live. Tests point it at a scratch key; the programs never change it.
struct SettingsLocation {
  HKEY root = HKEY_CURRENT_USER;
  std::wstring subKey = kSettingsKey;
};
const SettingsLocation& CurrentSettingsLocation();
void SetSettingsLocation(SettingsLocation location);

// Text rules, independent of the registry.
bool IsTrueText(const std::wstring& text);        // upper-cased, equal to "TRUE"
bool IsMarkerSet(const std::wstring& text);       // upper-cased, equal to "1"
int CountFromText(const std::wstring& text);      // leading decimal number; otherwise 0
inline const wchar_t* BoolText(bool value) { return value ? L"TRUE" : L"FALSE"; }

// Reads of the settings key: empty, false or 0 on any failure.
std::wstring ReadSetting(const wchar_t* name);
bool ReadSettingBool(const wchar_t* name);
bool ReadSettingBoolExact(const wchar_t* name);   // only "TRUE" exactly
bool ReadSettingMarker(const wchar_t* name);
int ReadSettingCount(const wchar_t* name);
bool SettingIsEmpty(const wchar_t* name);         // missing or the empty text

bool WriteSetting(const wchar_t* name, const std::wstring& text);
bool WriteSettingBool(const wchar_t* name, bool value);
bool WriteSettingCount(const wchar_t* name, int value);

// Dates. Both formats use English month names and AM/PM whatever the user's locale.
std::wstring FormatScheduleDate(const std::tm& local);  // "07/22/2010 06:56:17 AM"
std::wstring FormatDisplayDate(const std::tm& local);   // "July 22, 2010 06:56 AM"
std::tm LocalTimeNow();
std::tm LocalTimeAfterSeconds(long long seconds);
// Parses either format (and whatever else the platform's parser accepts under
// en-US rules) into an automation date; nothing when it does not parse.
std::optional<DATE> ParseSettingsDate(const std::wstring& text);

}  // namespace twk
