#pragma once
// The engine's settings library DODADOZA, loaded once per module and kept for the
// module's life. Found beside the module, else in the folder the engine's installer
// recorded (HKLM "Software\ZADEZud" "EngineFolder").
#include "ComPtr.h"
#include "Dodadoza.h"

class CEngineLibrary {
 public:
  // Each gives the library's factory, or an empty pointer when the library or the
  // export is missing.
  static twk::CComPtr<IDDZScanResultsFactory> ScanResultsFactory();
  static twk::CComPtr<IDDZThreatEngineSettingsFactory> ThreatEngineSettingsFactory();
  static twk::CComPtr<IDDZServiceSettingsFactory> ServiceSettingsFactory();
  static twk::CComPtr<IDDZDefinitionUpdateSettingsFactory> DefinitionUpdateSettingsFactory();
  static twk::CComPtr<IDDZSoftwareUpdateSettingsFactory> SoftwareUpdateSettingsFactory();

  static bool Loaded();
};
