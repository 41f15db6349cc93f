#include "RiskClass.h"

RiskClass RiskClassOfLevel(const std::wstring& level) {
  if (level == L"1") return RiskClass::Severe;
  if (level == L"2" || level == L"3") return RiskClass::High;
  return RiskClass::Low;
}

int ThreatImage(RiskClass risk) {
  switch (risk) {
    case RiskClass::Severe: return 0;
    case RiskClass::High: return 1;
    default: return 2;
  }
}

int TraceImage(RiskClass risk) { return ThreatImage(risk) + 5; }

bool IsLowRiskThreat(long level, const std::wstring& name) { return level == 5 && name != kTrackingCookiesThreat; }
