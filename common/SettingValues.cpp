#include "SettingValues.h"

#include <cwctype>

#include "RegistryAccess.h"
#include "WideFormat.h"

namespace twk {

namespace {

SettingsLocation& Location() {
  static SettingsLocation location;
  return location;
}

std::wstring Upper(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

constexpr const wchar_t* kMonthNames[12] = {L"January", L"February", L"March",     L"April",
                                            L"May",     L"June",     L"July",      L"August",
                                            L"September", L"October", L"November", L"December"};

int Hour12(int hour) {
  int h = hour % 12;
  return h == 0 ? 12 : h;
}

const wchar_t* DayHalf(int hour) { return hour < 12 ? L"AM" : L"PM"; }

}  // namespace

const SettingsLocation& CurrentSettingsLocation() { return Location(); }
void SetSettingsLocation(SettingsLocation location) { Location() = std::move(location); }

bool IsTrueText(const std::wstring& text) { return Upper(text) == L"TRUE"; }
bool IsMarkerSet(const std::wstring& text) { return Upper(text) == L"1"; }

int CountFromText(const std::wstring& text) {
  // The C runtime's reading of a decimal text: leading blanks and sign, then digits.
  return static_cast<int>(wcstol(text.c_str(), nullptr, 10));
}

std::wstring ReadSetting(const wchar_t* name) {
  std::wstring text;
  const auto& where = Location();
  ReadString(where.root, where.subKey.c_str(), name, text);
  return text;
}

bool ReadSettingBool(const wchar_t* name) { return IsTrueText(ReadSetting(name)); }
bool ReadSettingBoolExact(const wchar_t* name) { return ReadSetting(name) == L"TRUE"; }
bool ReadSettingMarker(const wchar_t* name) { return IsMarkerSet(ReadSetting(name)); }
int ReadSettingCount(const wchar_t* name) { return CountFromText(ReadSetting(name)); }
bool SettingIsEmpty(const wchar_t* name) { return ReadSetting(name).empty(); }

bool WriteSetting(const wchar_t* name, const std::wstring& text) {
  const auto& where = Location();
  return WriteString(where.root, where.subKey.c_str(), name, text);
}

bool WriteSettingBool(const wchar_t* name, bool value) { return WriteSetting(name, BoolText(value)); }

bool WriteSettingCount(const wchar_t* name, int value) {
  return WriteSetting(name, Format(L"%d", value));
}

std::wstring FormatScheduleDate(const std::tm& t) {
  return Format(L"%02d/%02d/%04d %02d:%02d:%02d %s", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900,
                Hour12(t.tm_hour), t.tm_min, t.tm_sec, DayHalf(t.tm_hour));
}

std::wstring FormatDisplayDate(const std::tm& t) {
  const wchar_t* month = (t.tm_mon >= 0 && t.tm_mon < 12) ? kMonthNames[t.tm_mon] : L"";
  return Format(L"%s %02d, %04d %02d:%02d %s", month, t.tm_mday, t.tm_year + 1900, Hour12(t.tm_hour),
                t.tm_min, DayHalf(t.tm_hour));
}

std::tm LocalTimeNow() { return LocalTimeAfterSeconds(0); }

std::tm LocalTimeAfterSeconds(long long seconds) {
  std::time_t when = std::time(nullptr) + static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_s(&local, &when);
  return local;
}

std::optional<DATE> ParseSettingsDate(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  DATE date = 0;
  const LCID enUs = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
  if (VarDateFromStr(const_cast<OLECHAR*>(text.c_str()), enUs, LOCALE_NOUSEROVERRIDE, &date) != S_OK) return std::nullopt;
  return date;
}

}  // namespace twk
