#include "ScanResultsState.h"

#include <utility>

#include "ResultsDiagnostics.h"

void ScanResultsState::TakeScanCounts(uint32_t cookies, uint32_t registry, uint32_t processes, uint32_t files) {
  cookiesFound = cookies;
  registryFound = registry;
  processesFound = processes;
  filesFound = files;
  itemsFound = itemsRemaining = CategorySum();
}

bool IsUsableResultsPath(const std::wstring& path) {
  return !path.empty() && path.find(L".xml") != std::wstring::npos;
}

bool EnsureResultsPath(ScanResultsState& state, const ResultsPathQuery& ask) {
  if (IsUsableResultsPath(state.resultsPath)) return true;
  if (ask) state.resultsPath = ask();
  return IsUsableResultsPath(state.resultsPath);
}

namespace {

ResultsUnavailableHandler& UnavailableHandler() {
  static ResultsUnavailableHandler handler;
  return handler;
}

}  // namespace

void ReportResultsUnavailable() {
  ResultsDebugOutput(L"ERROR:Scan results are not available \n");
  if (UnavailableHandler()) UnavailableHandler()();
}

ResultsUnavailableHandler SetResultsUnavailableHandler(ResultsUnavailableHandler handler) {
  return std::exchange(UnavailableHandler(), std::move(handler));
}
