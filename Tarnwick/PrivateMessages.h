#pragma once
// Private window messages of the main frame and of the pop-ups.
#include <windows.h>

inline constexpr UINT WM_TWK_STARTSCAN = 1224;
inline constexpr UINT WM_TWK_COMPULSORYSCAN = 1324;
inline constexpr UINT WM_TWK_FIXNOW = 1424;
inline constexpr UINT WM_TWK_STOPSCAN = 1524;
inline constexpr UINT WM_TWK_ALERTSETTINGS = 2131;
inline constexpr UINT WM_TWK_SHOWREVIEW = 129231;
inline constexpr UINT WM_TWK_TRAYNOTIFY = 1059;
inline constexpr UINT WM_TWK_CLOSESUMMARY = 39169;

inline constexpr UINT_PTR SCHEDULE_TIMER_ID = 89825;
inline constexpr UINT kScheduleTimerPeriodMs = 10000;

// Destinations carried by WM_TWK_STOPSCAN.
inline constexpr int kGoStatus = 1;
inline constexpr int kGoReview = 3;
inline constexpr int kGoOptions = 5;
inline constexpr int kGoSupport = 11;
inline constexpr int kGoAbout = 12;

// Main sheet page indexes.
inline constexpr int kWelcomePage = 0;
inline constexpr int kStatusPage = 1;
inline constexpr int kScanPage = 2;
inline constexpr int kReviewPage = 3;
inline constexpr int kFixPage = 4;
inline constexpr int kOptionsPage = 5;
