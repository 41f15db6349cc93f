#pragma once
// The last scan's results path and the counters that summarise the results file.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

struct ScanResultsState {
  std::wstring resultsPath;
  uint32_t cookiesFound = 0;
  uint32_t registryFound = 0;
  uint32_t processesFound = 0;
  uint32_t filesFound = 0;
  uint32_t itemsFound = 0;
  uint32_t itemsRemaining = 0;
  uint32_t itemsToFix = 0;

  uint32_t CategorySum() const { return cookiesFound + registryFound + processesFound + filesFound; }
  // A scan progress report with counts.
  void TakeScanCounts(uint32_t cookies, uint32_t registry, uint32_t processes, uint32_t files);
  // Scan completion, before the cookie filter and the ignore filter run.
  void OnScanCompleted() { itemsFound = CategorySum(); }
  void OnCookieTraceRemoved() { --cookiesFound, --itemsFound, --itemsRemaining; }
  void OnIgnoredTraceRemoved() { --itemsRemaining; }
  void OnCleaningComplete() { itemsFound = 0, itemsToFix = 0; }
};

// Non-empty and holding ".xml" (case-sensitive, anywhere).
bool IsUsableResultsPath(const std::wstring& path);

// The service's answer to "where are the last results" (GetLastScanResultsPath).
using ResultsPathQuery = std::function<std::wstring()>;

// When the stored path is unusable, asks once more and stores the answer. True when
// the path is now usable.
bool EnsureResultsPath(ScanResultsState& state, const ResultsPathQuery& ask);

// What a reader does when no results can be had: the debugger line, then the handler
// (text 19980 in the message box, the main window up and an automatic scan requested).
using ResultsUnavailableHandler = std::function<void()>;
void ReportResultsUnavailable();
ResultsUnavailableHandler SetResultsUnavailableHandler(ResultsUnavailableHandler handler);
