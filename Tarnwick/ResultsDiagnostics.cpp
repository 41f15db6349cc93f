#include "ResultsDiagnostics.h"

#include <windows.h>

#include <utility>

namespace {

DebugOutputSink& Sink() {
  static DebugOutputSink sink = [](const std::wstring& text) { OutputDebugStringW(text.c_str()); };
  return sink;
}

}  // namespace

void ResultsDebugOutput(const std::wstring& text) {
  if (Sink()) Sink()(text);
}

DebugOutputSink SetResultsDebugOutputSink(DebugOutputSink sink) { return std::exchange(Sink(), std::move(sink)); }
