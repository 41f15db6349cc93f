#pragma once
// Sends the process's log to a fresh file at the verbose level and reads back what
// was written.
#include <string>
#include <vector>

#include "TempFolder.h"

namespace twktest {

struct LogRecord {
  std::wstring type, system, context, message;
};

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  std::vector<LogRecord> Records() const;
  // Records whose context and message are these (message empty: any message).
  int Count(const std::wstring& context, const std::wstring& message = L"") const;
  int CountLevel(const std::wstring& type) const;
  std::wstring Dump() const;

 private:
  TempFolder folder_;
};

}  // namespace twktest
