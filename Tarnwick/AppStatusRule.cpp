#include "AppStatusRule.h"

#include <cmath>

namespace {
constexpr const wchar_t* kOk = L"OK";
constexpr const wchar_t* kNeedsAction = L"Needs Action";
}  // namespace

AppStatusDecision DecideAppStatus(const AppStatusInputs& in) {
  AppStatusDecision out;
  // Each rule that applies replaces what an earlier one decided.
  if (in.lastScanStopped) out = {19977, L"", kNeedsAction};

  const bool scanned = !in.scannedTime.empty();
  const bool fixed = !in.fixedTime.empty();
  const bool noThreats = in.errorsFound.empty() || in.errorsFound == L"0";
  const long days = in.daysSinceScan ? std::lround(*in.daysSinceScan) : 0;
  const AppStatusDecision overdue{9057, std::to_wstring(days), kNeedsAction};

  if (!scanned && !fixed) {
    out = {9055, L"", kNeedsAction};
  } else if (scanned && !fixed) {
    if (!in.daysSinceScan) {
      out = {9055, L"", kNeedsAction};
    } else if (noThreats) {
      out = days > 14 ? overdue : AppStatusDecision{9056, L"", kOk};
    } else {
      out = days > 14 ? overdue : AppStatusDecision{9058, in.errorsFound, kNeedsAction};
    }
  } else if (scanned && fixed) {
    if (!in.daysSinceScan) {
      out = {9055, L"", kNeedsAction};
    } else if (noThreats) {
      out = {9056, L"", kOk};
    } else {
      out = days > 14 ? overdue : AppStatusDecision{9055, L"", kNeedsAction};
    }
  }
  return out;
}
