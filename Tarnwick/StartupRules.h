#pragma once
// Decisions of the program's start-up that depend only on their inputs.
#include <optional>
#include <string>

namespace startup {

// The switch at the end of the command line.
enum class CommandSwitch {
  None,
  Minimised,   // "-m": the start-at-boot entry; behaves as a start by the user
  StartLower,  // "-start"
  StartUpper,  // "-START"
  Alert,       // "-alert"
};

// Only the last six characters, after every double quote is removed, are examined,
// case-sensitively.
CommandSwitch ParseCommandSwitch(const std::wstring& commandLine);
bool IsStartSwitch(CommandSwitch s);

// The program folder: the command line without double quotes, cut before its last
// backslash; empty when it holds none.
std::wstring AppFolderFromCommandLine(const std::wstring& commandLine);

// Operating-system code from the platform id and version (0 when unknown).
int OsVersionCode(unsigned long platformId, unsigned long major, unsigned long minor);
// Codes on which start-at-boot entries go to the machine-wide run key.
bool UsesMachineRunKey(int osVersionCode);

// 1: no definitions date; 2: older than 30 days; 0: otherwise (also when the date
// does not parse). secondsSinceDate is empty when the text did not parse.
int DefinitionsAgeCheck(const std::wstring& definitionsDate, std::optional<double> secondsSinceDate);

// How the missing-files message is shown for a language code.
struct MissingFilesMessage {
  enum class Kind { None, Skinned, System } kind = Kind::None;
  std::wstring text;
  int sizeVariant = 0;
};
MissingFilesMessage MissingFilesMessageFor(int languageCode);

// The language code from the registry text: decimal, 0 when missing or not a number.
int LanguageCodeFromText(const std::wstring& text);

// What start-up does with the download dialog's end code.
enum class DownloadResultAction { Nothing, Quit, ShowMainWindow };
DownloadResultAction DownloadDialogResultAction(int code);

}  // namespace startup
