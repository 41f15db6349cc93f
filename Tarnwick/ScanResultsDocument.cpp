#include "ScanResultsDocument.h"

bool LoadResultsForDisplay(ScanResultsState& state, const ResultsPathQuery& ask, CXmlDocumentWrapper& document) {
  if (!EnsureResultsPath(state, ask)) {
    ReportResultsUnavailable();
    return false;
  }
  CXmlDocumentWrapper loaded;
  loaded.Load(state.resultsPath);
  document = loaded;
  return true;
}
