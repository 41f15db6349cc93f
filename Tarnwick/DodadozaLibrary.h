#pragma once
// The engine's library DODADOZA, loaded when first needed and kept for the process.
#include <functional>

#include "ComPtr.h"
#include "Dodadoza.h"

// The results factory of the library, or empty when the library or its export is
// missing. The library is looked for in the engine's folder (as its installer
// records it), then beside the program and in the system folder; never in the current
// directory.
twk::CComPtr<IDDZScanResultsFactory> GetScanResultsFactory();

// Where the change steps take their factory from; tests hand in their own.
using ResultsFactoryProvider = std::function<twk::CComPtr<IDDZScanResultsFactory>()>;
