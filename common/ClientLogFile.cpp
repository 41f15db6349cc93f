#include "ClientLogFile.h"

#include <windows.h>

#include "ClientLog.h"
#include "WideFormat.h"
#include "WinHandle.h"

namespace {

std::wstring WithoutLineBreaks(const wchar_t* text) {
  std::wstring out = text != nullptr ? text : L"";
  for (wchar_t& c : out) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  return out;
}

bool IsExistingFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void AppendUtf16(std::string& bytes, const wchar_t* text, std::size_t chars) {
  bytes.append(reinterpret_cast<const char*>(text), chars * sizeof(wchar_t));
}

}  // namespace

CClientLogFile* g_processWriter = nullptr;

CClientLogFile* CClientLogFile::Process() { return g_processWriter; }

CClientLogFile& CClientLogFile::CreateProcessWriter() {
  // Created during static initialisation on the main thread; lives until the process ends.
  if (g_processWriter == nullptr) g_processWriter = new CClientLogFile();
  return *g_processWriter;
}

const wchar_t* CClientLogFile::LevelTag(int level) {
  switch (level) {
    case 1: return L"ERR ";
    case 2: return L"TRA ";
    case 3: return L"VER ";
    default: return nullptr;
  }
}

bool CClientLogFile::Configure(const std::wstring& folder, const std::wstring& baseName) {
  if (folder.size() >= MAX_PATH || baseName.empty()) return false;
  std::wstring normalised = folder;
  if (!normalised.empty() && normalised.back() == L'\\') normalised.pop_back();
  if (normalised.empty() || !IsExistingFolder(normalised)) return false;
  normalised += L'\\';
  std::lock_guard<std::mutex> guard(lock_);
  if (normalised != folder_ || baseName != baseName_) {
    size_ = 0;  // another file: its first record starts with a header, as at process start
  }
  folder_ = std::move(normalised);
  baseName_ = baseName;
  return true;
}

std::wstring CClientLogFile::CurrentFilePath() const {
  std::lock_guard<std::mutex> guard(lock_);
  return folder_ + baseName_ + L".csv";
}

std::wstring CClientLogFile::OldFilePath(int number) const {
  std::lock_guard<std::mutex> guard(lock_);
  return twk::Format(L"%s%s_%d.csv", folder_.c_str(), baseName_.c_str(), number);
}

void CClientLogFile::LogV(int level, const wchar_t* system, const wchar_t* context,
                          const wchar_t* format, va_list args) {
  level = NormaliseLevel(level);
  if (level == 0 || level > Level()) return;
  wchar_t message[kMaxMessageChars];
  twk::FormatIntoV(message, kMaxMessageChars, format, args);
  WriteRecord(level, system, context, message);
}

void CClientLogFile::Log(int level, const wchar_t* system, const wchar_t* context,
                         const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  LogV(level, system, context, format, args);
  va_end(args);
}

void CClientLogFile::WriteRecord(int level, const wchar_t* system, const wchar_t* context,
                                 const wchar_t* message) {
  const wchar_t* tag = LevelTag(level);
  if (tag == nullptr) return;
  const std::wstring cleanContext = WithoutLineBreaks(context);
  const std::wstring cleanMessage = WithoutLineBreaks(message);

  std::lock_guard<std::mutex> guard(lock_);
  if (folder_.empty() || baseName_.empty()) return;

  bool needHeader;
  if (maxSizeMegabytes_ >= 1 &&
      size_ >= static_cast<std::uint64_t>(maxSizeMegabytes_) * 1048576u) {
    RollOver();
    needHeader = true;
  } else {
    needHeader = size_ <= 2;
  }

  const std::wstring path = folder_ + baseName_ + L".csv";
  twk::CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  LARGE_INTEGER fileSize{};
  if (!GetFileSizeEx(file.get(), &fileSize)) return;
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) return;

  // The byte order mark, the header and the record are put together and written at
  // once: one write costs as much as each of the separate ones would.
  std::string bytes;
  bytes.reserve(512 + cleanMessage.size() * sizeof(wchar_t));
  if (fileSize.QuadPart == 0) {
    bytes.append("\xFF\xFE", 2);
  }
  size_ = fileSize.QuadPart == 0 ? 2 : static_cast<std::uint32_t>(fileSize.QuadPart);
  if (needHeader) AppendUtf16(bytes, kHeader, wcslen(kHeader));

  SYSTEMTIME now;
  GetLocalTime(&now);
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  wchar_t prefix[kMaxMessageChars];
  std::size_t prefixChars = twk::FormatInto(
      prefix, kMaxMessageChars, L"%s\t%4u\t%4u\t%04d-%02d-%02d %02d:%02d:%02d\t%I64u\t%s\t%s:\t",
      tag, static_cast<unsigned>(GetCurrentProcessId()), static_cast<unsigned>(GetCurrentThreadId()),
      now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
      static_cast<unsigned long long>(counter.QuadPart), system != nullptr ? system : L"",
      cleanContext.c_str());
  AppendUtf16(bytes, prefix, prefixChars);
  AppendUtf16(bytes, cleanMessage.c_str(), cleanMessage.size());
  AppendUtf16(bytes, L"\r\n", 2);

  // The BOM counts once the file is known to hold it, whatever happens to the rest.
  const std::size_t bomBytes = fileSize.QuadPart == 0 ? 2 : 0;
  DWORD written = 0;
  BOOL ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  size_ += static_cast<std::uint32_t>(written > bomBytes ? written - bomBytes : 0);
  (void)ok;
}

void CClientLogFile::RollOver() {
  size_ = 0;
  const std::wstring current = folder_ + baseName_ + L".csv";
  const int kept = keptFiles_ >= 1 ? keptFiles_ : 1;

  FILETIME oldest;
  GetSystemTimeAsFileTime(&oldest);
  int oldestNumber = 1;
  for (int n = 1; n <= kept; ++n) {
    const std::wstring candidate = twk::Format(L"%s%s_%d.csv", folder_.c_str(), baseName_.c_str(), n);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(candidate.c_str(), GetFileExInfoStandard, &data)) {
      MoveFileW(current.c_str(), candidate.c_str());
      return;
    }
    if (CompareFileTime(&data.ftLastWriteTime, &oldest) < 0) {
      oldest = data.ftLastWriteTime;
      oldestNumber = n;
    }
  }
  const std::wstring replaced =
      twk::Format(L"%s%s_%d.csv", folder_.c_str(), baseName_.c_str(), oldestNumber);
  DeleteFileW(replaced.c_str());
  MoveFileW(current.c_str(), replaced.c_str());
}

// ---- the process-wide entry points ----

void ClientLog(int level, const wchar_t* system, const wchar_t* context, const wchar_t* format, ...) {
  CClientLogFile* writer = CClientLogFile::Process();
  if (writer == nullptr) return;
  va_list args;
  va_start(args, format);
  writer->LogV(level, system, context, format, args);
  va_end(args);
}

bool ClientLogConfigure(const std::wstring& folder, const std::wstring& baseName) {
  return CClientLogFile::CreateProcessWriter().Configure(folder, baseName);
}

void ClientLogSetLevel(int level) {
  if (CClientLogFile* writer = CClientLogFile::Process()) writer->SetLevel(level);
}
