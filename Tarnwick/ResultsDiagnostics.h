#pragma once
// The results and ignore-list code writes its diagnostics to the debugger output.
// Tests replace the sink to read them.
#include <functional>
#include <string>

using DebugOutputSink = std::function<void(const std::wstring& text)>;

void ResultsDebugOutput(const std::wstring& text);
DebugOutputSink SetResultsDebugOutputSink(DebugOutputSink sink);  // returns the previous sink
