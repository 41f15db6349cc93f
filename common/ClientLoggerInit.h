#pragma once
// Chooses the log folder of the program and turns logging on. Each program holds one
// as a member of its application object, constructed during static initialisation.
#include <windows.h>

#include <string>

class CClientLoggerInit {
 public:
  // systemName: the log's System column and file base name ("Tarnwick Pro").
  // logFolderName: the folder below VuruDazadud ("logs" or "AutoUpdater").
  CClientLoggerInit(const wchar_t* systemName, const wchar_t* logFolderName);
  virtual ~CClientLoggerInit() = default;
  CClientLoggerInit(const CClientLoggerInit&) = delete;
  CClientLoggerInit& operator=(const CClientLoggerInit&) = delete;

  // The program's log folder (no trailing backslash), created with the history folder
  // beside it; false when the all-users application data folder cannot be found.
  bool DetermineCsidlFilePath(std::wstring& folder) const;

  const std::wstring& SystemName() const { return systemName_; }

  // The company folder name from the service's key, "Dizavev" when it cannot be read.
  static std::wstring ReadCompanyFolderName(HKEY root, const wchar_t* subKey,
                                            const wchar_t* systemName);
  // Creates path with all its missing parents; errors are ignored.
  static void CreateFolderWithParents(const std::wstring& path);

 private:
  std::wstring systemName_;
  std::wstring logFolderName_;
};
