#pragma once
// The start-at-log-on entries of the main program and the updater in the Run key.
// Entries are written with the program path quoted, so that a folder with spaces
// starts the right program; entries written unquoted by older versions are still
// understood.
#include <windows.h>

#include <string>

inline constexpr wchar_t kMainRunEntry[] = L"Tarnwick Pro";
inline constexpr wchar_t kUpdaterRunEntry[] = L"Tarnwick Pro - Definitions Updater";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kStartedAtBootSwitch[] = L" -m";

struct RunKeyLocation {
  HKEY root;
  std::wstring subKey;
};

class CStartAtBoot {
 public:
  // The machine-wide Run key on operating-system codes 6 and 61, the user's otherwise.
  static RunKeyLocation LocationFor(int osCode);
  // "\"<folder>\<exe>\" -m".
  static std::wstring EntryData(const std::wstring& folder, const std::wstring& exeName);
  // The program path of an entry, quoted ("\"C:\A B\x.exe\" -m") or not ("C:\A B\x.exe -m").
  static std::wstring ProgramOfEntry(const std::wstring& data);

  explicit CStartAtBoot(RunKeyLocation location) : location_(std::move(location)) {}

  bool Write(const wchar_t* entry, const std::wstring& folder, const std::wstring& exeName) const;
  bool Remove(const wchar_t* entry) const;
  // The program an entry starts; empty when there is no entry.
  std::wstring Program(const wchar_t* entry) const;

 private:
  RunKeyLocation location_;
};
