#pragma once
// Scan control through the service; static, never throwing.
#include <string>
#include <vector>

#include "ComPtr.h"
#include "Dodadoza.h"

// The choices of a custom scan and its exclusion lists, as the custom scan settings hold them.
struct CustomScanSelection {
  bool processes = false;
  bool registry = false;
  bool cookies = false;
  bool filesAndFolders = false;
  bool foldersLoaded = false;
  std::vector<std::wstring> folders;
  bool fileTypesLoaded = false;
  std::vector<std::wstring> fileTypes;
};

class CScanWrapper {
 public:
  static bool PurgeHistory();
  static bool StartScan(long kind);
  static bool AbortScan();
  static bool PauseScan();
  static bool ResumeScan();
  static twk::CComPtr<IDDZThreatEngineSettings> GetScanProperties();
  static bool SetScanProperties(IDDZThreatEngineSettings* settings);
  static std::wstring GetLastScanResultsPath();
  // cookies, registry, processes, files found; then items scanned (four outputs) and three more.
  static bool GetScanCounts(unsigned long& cookiesFound, unsigned long& registryFound,
                            unsigned long& processesFound, unsigned long& filesFound, unsigned long& scanned1,
                            unsigned long& scanned2, unsigned long& scanned3, unsigned long& scanned4,
                            unsigned long& other1, unsigned long& other2, unsigned long& other3);
  static bool PerformClean(const std::wstring& resultsPath);
  static bool GetScanState(unsigned long& state, bool& rebootRequired);

  // Prepares the engine's scan profile for kind 0 (quick), 1 (deep) or 2 (custom).
  static void ConfigureScanSettings(long kind, const CustomScanSelection& custom = {});
};
