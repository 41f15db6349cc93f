#include "StartupRules.h"

#include <cmath>
#include <cwchar>

namespace startup {

namespace {
std::wstring WithoutQuotes(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c != L'"') out += c;
  }
  return out;
}
}  // namespace

CommandSwitch ParseCommandSwitch(const std::wstring& commandLine) {
  const std::wstring text = WithoutQuotes(commandLine);
  const std::wstring tail = text.size() > 6 ? text.substr(text.size() - 6) : text;
  auto endsWith = [&tail](const wchar_t* s) {
    const std::size_t n = wcslen(s);
    return tail.size() >= n && tail.compare(tail.size() - n, n, s) == 0;
  };
  if (tail == L"-start") return CommandSwitch::StartLower;
  if (tail == L"-START") return CommandSwitch::StartUpper;
  if (tail == L"-alert") return CommandSwitch::Alert;
  if (endsWith(L"-m")) return CommandSwitch::Minimised;
  return CommandSwitch::None;
}

bool IsStartSwitch(CommandSwitch s) { return s == CommandSwitch::StartLower || s == CommandSwitch::StartUpper; }

std::wstring AppFolderFromCommandLine(const std::wstring& commandLine) {
  const std::wstring text = WithoutQuotes(commandLine);
  const std::size_t slash = text.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : text.substr(0, slash);
}

int OsVersionCode(unsigned long platformId, unsigned long major, unsigned long minor) {
  struct Row {
    unsigned long platform, major, minor;
    int code;
  };
  static constexpr Row kRows[] = {
      {1, 4, 0, 35}, {1, 4, 10, 41}, {1, 4, 90, 49}, {2, 3, 51, 35}, {2, 4, 0, 35},
      {2, 5, 0, 50}, {2, 5, 1, 51},  {2, 5, 2, 52},  {2, 6, 0, 6},   {2, 6, 1, 61},
  };
  for (const Row& row : kRows) {
    if (row.platform == platformId && row.major == major && row.minor == minor) return row.code;
  }
  return 0;
}

bool UsesMachineRunKey(int osVersionCode) { return osVersionCode == 6 || osVersionCode == 61; }

int DefinitionsAgeCheck(const std::wstring& definitionsDate, std::optional<double> secondsSinceDate) {
  if (definitionsDate.empty()) return 1;
  if (!secondsSinceDate) return 0;
  return std::round(*secondsSinceDate) > 2592000.0 ? 2 : 0;
}

MissingFilesMessage MissingFilesMessageFor(int languageCode) {
  using Kind = MissingFilesMessage::Kind;
  switch (languageCode) {
    case 1:
      return {Kind::Skinned, L"Einige Dateien fehlen. Bitte installieren Sie die Software erneut.", 1};
    case 2:
      return {Kind::Skinned, L"Algunos archivos est\u00e1n perdidos. Se debe volver a instalar el Software.", 1};
    case 3:
      return {Kind::Skinned, L"Certains fichiers sont manquants, veuillez r\u00e9installer le logiciel.", 1};
    case 4:
      return {Kind::Skinned, L"Sommige bestanden ontbreken. Installeer opnieuw Software.", 1};
    case 5:
      return {Kind::Skinned, L"File necessari mancanti. Reinstalla il software.", 0};
    case 12:
      // "Some files are missing. Please reinstall the software." in Japanese corner brackets.
      return {Kind::System,
              L"\u300c\u4e00\u90e8\u306e\u30d5\u30a1\u30a4\u30eb\u304c\u898b\u3064\u304b\u308a\u307e\u305b\u3093"
              L"\u3002\u30bd\u30d5\u30c8\u30a6\u30a7\u30a2\u3092\u518d\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\u3057"
              L"\u3066\u304f\u3060\u3055\u3044\u3002\u300d",
              0};
    default:
      if (languageCode == 0 || (languageCode >= 6 && languageCode <= 11)) {
        return {Kind::Skinned, L"Some files are missing. Please reinstall the Software.", 0};
      }
      return {};
  }
}

int LanguageCodeFromText(const std::wstring& text) {
  if (text.empty()) return 0;
  wchar_t* end = nullptr;
  const long value = wcstol(text.c_str(), &end, 10);
  if (end == text.c_str()) return 0;
  return static_cast<int>(value);
}

DownloadResultAction DownloadDialogResultAction(int code) {
  switch (code) {
    case 1: return DownloadResultAction::Quit;
    case 3:
    case 4:
    case 5:
    case 6: return DownloadResultAction::ShowMainWindow;
    default: return DownloadResultAction::Nothing;
  }
}

}  // namespace startup
