#pragma once
// The plain, human-readable activity log of TWKDD and TWKDefsUpdater: one line per
// event, "<date time> -- <text>", in the narrow code page.
#include <string>

class CActivityLog {
 public:
  // The log below the all-users application data folder:
  // \Corvanta\VuruDazadud\AutoUpdater\<fileName>. The folder is created here.
  explicit CActivityLog(const wchar_t* fileName);
  // A log at an explicit folder (created here).
  CActivityLog(const std::wstring& folder, const std::wstring& fileName);

  void Write(const std::wstring& text) const;
  void WriteFormat(const wchar_t* format, ...) const;

  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};
