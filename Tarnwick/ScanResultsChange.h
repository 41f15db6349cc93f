#pragma once
// A change of the results file through the engine's object model: open, walk the
// threats, change, save in place, release.
#include <functional>
#include <string>

#include "DodadozaLibrary.h"

enum class ResultsChangeOutcome {
  Saved,
  NoFactory,        // "ERROR:Couldn't get scan results factory"
  NotRead,          // "ERROR:Couldn't get scan results serialized object"
  NoThreats,        // "ERROR:Couldn't get threats collection"
  SaveFailed,       // "Saving failed"
};

// Calls change for every threat in file order, then saves to path. Each failure writes
// its line to the debugger output; only SaveFailed follows a completed walk.
ResultsChangeOutcome ChangeScanResults(const std::wstring& path, const ResultsFactoryProvider& factory,
                                       const std::function<void(IDDZThreat& threat)>& change);

// The text of a trace value (a BSTR the caller now owns) and the part after its first
// comma, which is what the ignore list holds.
std::wstring TakeBstr(BSTR text);
std::wstring IgnoreKeyOfTraceValue(const std::wstring& value);
