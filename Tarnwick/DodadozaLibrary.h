#pragma once
// Where the results changes take the engine's results factory from.
#include <functional>

#include "ComPtr.h"
#include "Dodadoza.h"
#include "EngineLibrary.h"

// The engine library's factory; tests hand in their own.
using ResultsFactoryProvider = std::function<twk::CComPtr<IDDZScanResultsFactory>()>;

inline twk::CComPtr<IDDZScanResultsFactory> GetScanResultsFactory() { return CEngineLibrary::ScanResultsFactory(); }
