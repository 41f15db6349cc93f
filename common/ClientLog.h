#pragma once
// The diagnostic log of every program: ClientLog(level, system, context, format, ...).
#include <string>

enum ClientLogLevel : int {
  LOG_ERROR = 1,
  LOG_TRACE = 2,
  LOG_VERBOSE = 3,
};

// Writes one record when a writer is configured and level is within the threshold.
// Formats use the rules of WideFormat.h ("%s" is a wide string). Never fails visibly.
void ClientLog(int level, const wchar_t* system, const wchar_t* context, const wchar_t* format, ...);

// Creates the process's writer on the first call; stores folder and base name when
// they are acceptable (folder shorter than 260 characters and existing, base name
// not empty).
bool ClientLogConfigure(const std::wstring& folder, const std::wstring& baseName);

// Sets the threshold; does nothing before the first ClientLogConfigure.
void ClientLogSetLevel(int level);
