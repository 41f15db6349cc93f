#pragma once
// Definitions, and the settings of the service, its definition updates and software
// updates; static, never throwing. Settings objects given are the caller's.
#include <string>

#include "ComPtr.h"
#include "Dodadoza.h"

class CThreatDefinitionsWrapper {
 public:
  // version: decimal text; date: empty when no definitions are installed. Both are
  // written also when the call fails ("0" and empty).
  static bool GetLocalDefVersion(std::wstring& version, std::wstring& date);
  // alternative: the request for an engine without usable definitions.
  static void GetThreatDefUpdatesNow(bool alternative);
  static void CancelThreatDefUpdates();
  static twk::CComPtr<IDDZDefinitionUpdateSettings> GetDefsProperties();
  static bool SetDefsProperties(IDDZDefinitionUpdateSettings* settings);
  static twk::CComPtr<IDDZServiceSettings> GetServiceProperties();
  static bool SetServiceProperties(IDDZServiceSettings* settings);
  static twk::CComPtr<IDDZSoftwareUpdateSettings> GetSoftwareUpdateProperties();
  static bool SetSoftwareUpdateProperties(IDDZSoftwareUpdateSettings* settings);

  // All-users application data\Corvanta\VuruDazadud\Downloads.
  static std::wstring DownloadsFolder();
};
