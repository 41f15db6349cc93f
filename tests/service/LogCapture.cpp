#include "LogCapture.h"

#include <windows.h>

#include "ClientLog.h"
#include "ClientLogFile.h"
#include "FileBytes.h"

namespace twktest {

namespace {
int g_generation = 0;
}

LogCapture::LogCapture() {
  ClientLogConfigure(folder_.Path(), L"ServiceLinkTest" + std::to_wstring(++g_generation));
  ClientLogSetLevel(LOG_VERBOSE);
}

LogCapture::~LogCapture() { ClientLogSetLevel(0); }

std::vector<LogRecord> LogCapture::Records() const {
  std::vector<LogRecord> out;
  CClientLogFile* writer = CClientLogFile::Process();
  if (!writer) return out;
  std::wstring text = AsUtf16(ReadFileBytes(writer->CurrentFilePath()));
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!line.empty() && line[0] == 0xFEFF) line.erase(0, 1);
    if (line.rfind(L"Type\t", 0) == 0) continue;  // the header
    std::vector<std::wstring> fields;
    std::size_t f = 0;
    for (int i = 0; i < 7; ++i) {
      std::size_t tab = line.find(L'\t', f);
      if (tab == std::wstring::npos) break;
      fields.push_back(line.substr(f, tab - f));
      f = tab + 1;
    }
    if (fields.size() < 7) continue;
    fields.push_back(line.substr(f));
    // The log writes the context followed by a colon.
    std::wstring context = fields[6];
    if (!context.empty() && context.back() == L':') context.pop_back();
    out.push_back({fields[0], fields[5], context, fields[7]});
  }
  return out;
}

int LogCapture::Count(const std::wstring& context, const std::wstring& message) const {
  int n = 0;
  for (auto& r : Records())
    if (r.context == context && (message.empty() || r.message == message)) ++n;
  return n;
}

int LogCapture::CountLevel(const std::wstring& type) const {
  int n = 0;
  for (auto& r : Records())
    if (r.type == type) ++n;
  return n;
}

std::wstring LogCapture::Dump() const {
  std::wstring out;
  for (auto& r : Records()) out += r.type + L" | " + r.system + L" | " + r.context + L" | " + r.message + L"\n";
  return out;
}

}  // namespace twktest
