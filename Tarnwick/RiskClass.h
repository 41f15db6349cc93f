#pragma once
// Threat levels, their risk classes and the images of the threat trees.
#include <string>

inline constexpr wchar_t kTrackingCookiesThreat[] = L"Cookie: Tracking Cookies";

enum class RiskClass { Severe, High, Low };

// "1" Severe, "2"/"3" High, anything else (also " 1", "6", "") Low.
RiskClass RiskClassOfLevel(const std::wstring& level);
int ThreatImage(RiskClass risk);  // 0, 1, 2
int TraceImage(RiskClass risk);   // 5, 6, 7
inline constexpr int kTraceSetToFixImage = 3;
inline constexpr int kTraceSetToIgnoreImage = 4;

// Level 5 and not the tracking cookies threat.
bool IsLowRiskThreat(long level, const std::wstring& name);
