#pragma once
// The two user-facing steps that the main program's lower layers call: a message box
// and the error report for an unexpected failure. Each goes through one replaceable
// handler, so that the skinned message box and the error report dialog plug in here
// and tests can watch what would be shown.
#include <windows.h>

#include <functional>
#include <string>

// text, style (MB_* flags: buttons 0/1/4, icons 16/32/48) -> the pressed button (IDOK...).
using MessageBoxHandler = std::function<int(const std::wstring& text, UINT style)>;
// module ("TarnwickApp.Mod"), function ("CTarnwickApp::LoadXMLResource"), line, last error.
using ErrorReportHandler =
    std::function<void(const wchar_t* module, const wchar_t* function, int line, DWORD lastError)>;

int ShowTarnwickMessage(const std::wstring& text, UINT style);
void ReportUnexpectedError(const wchar_t* module, const wchar_t* function, int line);

// Both return the handler they replace.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler);
