#pragma once
// CClientLogFile writes the UTF-16LE, tab-separated diagnostic log. One instance per
// process backs ClientLog; tests create their own.
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <mutex>
#include <string>

class CClientLogFile {
 public:
  static constexpr int kMaxMessageChars = 2048;  // terminator included
  static constexpr int kDefaultMaxSizeMegabytes = 10;
  static constexpr int kDefaultKeptFiles = 3;
  static constexpr wchar_t kHeader[] =
      L"Type\tPID\tTID\tDateTime(local)\tTickCount(local)\tSystem\tContext\tMessage\n";

  CClientLogFile() = default;
  CClientLogFile(const CClientLogFile&) = delete;
  CClientLogFile& operator=(const CClientLogFile&) = delete;

  // The process's writer, or nullptr before the first ClientLogConfigure.
  static CClientLogFile* Process();
  static CClientLogFile& CreateProcessWriter();

  bool Configure(const std::wstring& folder, const std::wstring& baseName);
  void SetLevel(int level) { threshold_.store(level, std::memory_order_relaxed); }
  int Level() const { return threshold_.load(std::memory_order_relaxed); }

  // Level filter, formatting and writing: the whole of ClientLog for this writer.
  void LogV(int level, const wchar_t* system, const wchar_t* context, const wchar_t* format,
            va_list args);
  void Log(int level, const wchar_t* system, const wchar_t* context, const wchar_t* format, ...);

  // Writes one already formatted record, whatever the threshold.
  void WriteRecord(int level, const wchar_t* system, const wchar_t* context,
                   const wchar_t* message);

  std::wstring CurrentFilePath() const;
  std::wstring OldFilePath(int number) const;

  static const wchar_t* LevelTag(int level);  // nullptr for levels never written
  static int NormaliseLevel(int level) { return level >= LOG_ERROR_LEVEL && level <= LOG_VERBOSE_LEVEL ? level : 0; }

 private:
  static constexpr int LOG_ERROR_LEVEL = 1;
  static constexpr int LOG_VERBOSE_LEVEL = 3;

  void RollOver();  // under lock_

  int maxSizeMegabytes_ = kDefaultMaxSizeMegabytes;
  int keptFiles_ = kDefaultKeptFiles;
  std::wstring folder_;    // ends with a backslash once configured
  std::wstring baseName_;
  std::atomic<int> threshold_{0};
  mutable std::mutex lock_;
  std::uint32_t size_ = 0;  // bytes of the current file as last seen or written
};
