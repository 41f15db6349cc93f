// Cost of one ClientLog record against a bare CreateFile + WriteFile + CloseHandle of
// the same bytes, over 2,000 records each.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ClientLog.h"
#include "ClientLogFile.h"
#include "WideFormat.h"
#include "WinHandle.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  constexpr int kRecords = 2000;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = twk::Format(L"%stwk-bench-%lu", temp, GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);

  ClientLogConfigure(folder, L"Bench");
  ClientLogSetLevel(LOG_TRACE);
  const std::wstring logPath = folder + L"\\Bench.csv";
  const std::wstring barePath = folder + L"\\Bare.csv";

  // One sample record, to write the same bytes the bare way.
  ClientLog(LOG_TRACE, L"Tarnwick Pro", L"CBench::Sample", L"Connection to the RORO service established.");
  DeleteFileW(logPath.c_str());

  const std::wstring sample = twk::Format(
      L"TRA \t%4u\t%4u\t2026-12-11 12:00:00\t123456789012\tTarnwick Pro\tCServerConnection::Connect:\t"
      L"Connection to the RORO service established. Record %d.\r\n",
      GetCurrentProcessId(), GetCurrentThreadId(), 1000);

  // The two ways alternate in blocks so that neither profits from a warmer cache.
  constexpr int kBlock = 250;
  double logSeconds = 0, bareSeconds = 0;
  int record = 0;
  for (int block = 0; block < kRecords / kBlock; ++block) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kBlock; ++i, ++record) {
      ClientLog(LOG_TRACE, L"Tarnwick Pro", L"CServerConnection::Connect",
                L"Connection to the RORO service established. Record %d.", record);
    }
    QueryPerformanceCounter(&end);
    logSeconds += Seconds(start, end);

    QueryPerformanceCounter(&start);
    for (int i = 0; i < kBlock; ++i) {
      twk::CFileHandle file(CreateFileW(barePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      LARGE_INTEGER zero{};
      SetFilePointerEx(file.get(), zero, nullptr, FILE_END);
      DWORD written = 0;
      WriteFile(file.get(), sample.data(), static_cast<DWORD>(sample.size() * sizeof(wchar_t)), &written, nullptr);
    }
    QueryPerformanceCounter(&end);
    bareSeconds += Seconds(start, end);
  }

  std::printf("records:              %d\n", kRecords);
  std::printf("ClientLog per record: %.2f us\n", logSeconds * 1e6 / kRecords);
  std::printf("bare write per record: %.2f us\n", bareSeconds * 1e6 / kRecords);
  std::printf("ratio:                %.2f (target <= 1.5)\n", logSeconds / bareSeconds);

  DeleteFileW(logPath.c_str());
  DeleteFileW(barePath.c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
