#include "ScanResultsChange.h"

#include "BStr.h"
#include "ResultsDiagnostics.h"

std::wstring TakeBstr(BSTR text) { return twk::CBStr::Attach(text).str(); }

std::wstring IgnoreKeyOfTraceValue(const std::wstring& value) {
  const auto comma = value.find(L',');
  return comma == std::wstring::npos ? value : value.substr(comma + 1);
}

ResultsChangeOutcome ChangeScanResults(const std::wstring& path, const ResultsFactoryProvider& factory,
                                       const std::function<void(IDDZThreat& threat)>& change) {
  twk::CComPtr<IDDZScanResultsFactory> source = factory ? factory() : twk::CComPtr<IDDZScanResultsFactory>();
  if (!source) {
    ResultsDebugOutput(L"ERROR:Couldn't get scan results factory\n");
    return ResultsChangeOutcome::NoFactory;
  }
  long errorFlag = 0;
  auto results = twk::CComPtr<IDDZScanResults>::Attach(source->CreateFromFile(path.c_str(), &errorFlag));
  if (errorFlag != 0 || !results) {
    ResultsDebugOutput(L"ERROR:Couldn't get scan results serialized object\n");
    return ResultsChangeOutcome::NotRead;
  }
  auto threats = twk::CComPtr<IDDZThreatCollection>::Attach(results->Threats());
  if (!threats) {
    ResultsDebugOutput(L"ERROR:Couldn't get threats collection\n");
    return ResultsChangeOutcome::NoThreats;
  }
  threats->Reset();
  while (auto threat = twk::CComPtr<IDDZThreat>::Attach(threats->Next())) {
    if (change) change(*threat.get());
  }
  long saveError = 0;
  results->SaveToFile(path.c_str(), &saveError, 0);
  if (saveError != 0) {
    ResultsDebugOutput(L"Saving failed");
    return ResultsChangeOutcome::SaveFailed;
  }
  return ResultsChangeOutcome::Saved;
}
