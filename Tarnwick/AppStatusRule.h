#pragma once
// The status summary written for an outside reader (AppStatus, StatusType).
#include <optional>
#include <string>

struct AppStatusInputs {
  bool lastScanStopped = false;
  std::wstring scannedTime;                 // SCANNED_COMPLETE_TIME, empty when missing
  std::optional<double> daysSinceScan;      // empty when scannedTime did not parse
  std::wstring fixedTime;                   // FIXED_COMPLETE_TIME
  std::wstring errorsFound;                 // ERRORSFOUND
};

struct AppStatusDecision {
  int stringNumber = 0;          // 0: nothing is written
  std::wstring replacement;      // replaces "%d" in the text, when not empty
  const wchar_t* statusType = L"";
};

AppStatusDecision DecideAppStatus(const AppStatusInputs& in);
