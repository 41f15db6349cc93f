#include "MessageStep.h"

#include <utility>

#include "ClientLog.h"
#include "TarnwickApp.h"

namespace {

MessageBoxHandler& MessageHandler() {
  static MessageBoxHandler handler = [](const std::wstring& text, UINT style) {
    return MessageBoxW(nullptr, text.c_str(), kTarnwickSystemName, style);
  };
  return handler;
}

ErrorReportHandler& ReportHandler() {
  static ErrorReportHandler handler = [](const wchar_t* module, const wchar_t* function, int line,
                                         DWORD lastError) {
    ClientLog(LOG_ERROR, kTarnwickSystemName, function, L"Unexpected error in %s line %d. Error = %lu",
              module, line, lastError);
  };
  return handler;
}

}  // namespace

int ShowTarnwickMessage(const std::wstring& text, UINT style) {
  return MessageHandler() ? MessageHandler()(text, style) : IDOK;
}

void ReportUnexpectedError(const wchar_t* module, const wchar_t* function, int line) {
  const DWORD lastError = GetLastError();
  if (ReportHandler()) ReportHandler()(module, function, line, lastError);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return std::exchange(MessageHandler(), std::move(handler));
}

ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler) {
  return std::exchange(ReportHandler(), std::move(handler));
}
