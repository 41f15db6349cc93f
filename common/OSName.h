#pragma once
// A readable name of the operating system, for the error report and the activity logs.
#include <windows.h>

#include <string>

// The main program writes "Windows ME", the download library and the updater "Windows Me".
enum class OSNameSpelling { MainProgram, DownloadComponents };

// The naming rules as a pure function. Leaves target as it was for the platforms and
// versions that have no name.
void MakeOSName(DWORD platformId, DWORD major, DWORD minor, const std::wstring& csdVersion,
                OSNameSpelling spelling, std::wstring& target);

// Asks the system for its version and names it as above.
void GetOSName(OSNameSpelling spelling, std::wstring& target);
std::wstring GetOSName(OSNameSpelling spelling);
