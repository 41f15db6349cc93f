#pragma once
// The ignore list (IgnoreList.xml, the user's) and the cookie filter database
// (CookiesDatabase.xml, shipped), and the two filters that apply them to the results.
#include <string>
#include <vector>

#include "DodadozaLibrary.h"
#include "ScanResultsState.h"
#include "XmlDocumentWrapper.h"

inline constexpr wchar_t kIgnoreListFile[] = L"IgnoreList.xml";
inline constexpr wchar_t kCookiesDatabaseFile[] = L"CookiesDatabase.xml";

class CCookieManagement {
 public:
  // programFolder: where both files live. factory: how the filters open results files.
  explicit CCookieManagement(std::wstring programFolder, ResultsFactoryProvider factory = GetScanResultsFactory);
  virtual ~CCookieManagement();
  CCookieManagement(const CCookieManagement&) = delete;
  CCookieManagement& operator=(const CCookieManagement&) = delete;

  // Appends the entries of IgnoreList.xml. A file that exists but cannot be read is
  // first kept aside (see KeepAsideIfUnreadable) so that no later save loses it.
  virtual void PopulateIgnoreList();
  virtual void PopulateFilterDatabase();
  // Writes ignoreList to IgnoreList.xml (temporary file, then moved into place).
  // False when the file could not be written.
  virtual bool CreateIgnoreXML();

  // Without regard to case: no duplicate is added, the first match is removed.
  bool AddIgnoreEntry(const std::wstring& entry);
  bool RemoveIgnoreEntry(const std::wstring& entry);

  // The filters over the results file at state.resultsPath; they adjust the counters.
  void ApplyIgnoreList(ScanResultsState& state);
  void ApplyCookieFilter(ScanResultsState& state);
  // Both, in that order, with the file opened and saved once: the end of a scan.
  // The file, the counters and changed end as after the two calls one by one.
  void ApplyCookieFilterAndIgnoreList(ScanResultsState& state);

  // The DispValue of every trace element of a list file, in document order; empty for
  // a missing or unreadable file. The ignore list page reads the file through this.
  static std::vector<std::wstring> ReadTraceList(const std::wstring& path);
  // Renames an existing file that does not parse to "<name>.unreadable" (or
  // "<name>.unreadable-<n>" when that is taken) and logs it. False when such a file
  // is still in the way.
  static bool KeepAsideIfUnreadable(const std::wstring& path);

  std::wstring IgnoreListPath() const { return folder_ + L"\\" + kIgnoreListFile; }
  std::wstring CookiesDatabasePath() const { return folder_ + L"\\" + kCookiesDatabaseFile; }

  bool changed = false;
  std::vector<std::wstring> ignoreList;
  std::vector<std::wstring> filterDatabase;

 private:
  class CFilters;
  std::wstring folder_;
  ResultsFactoryProvider factory_;
  CXmlDocumentWrapper writer_;
  CXmlDocumentWrapper reader_;
  CXmlDocumentWrapper spare_;
  bool comInitialised_ = false;
};
