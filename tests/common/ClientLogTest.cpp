// The diagnostic log: file layout, level filter, header rule, roll-over, folder choice.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "ClientLog.h"
#include "ClientLogFile.h"
#include "ClientLoggerInit.h"
#include "FileBytes.h"
#include "ScratchRegKey.h"
#include "TempFolder.h"
#include "WideFormat.h"
#include "WinHandle.h"

using namespace twktest;

namespace {

constexpr wchar_t kHeaderText[] =
    L"Type\tPID\tTID\tDateTime(local)\tTickCount(local)\tSystem\tContext\tMessage\n";

// The lines of a log file after its byte order mark; CR LF ends a record, LF the header.
std::vector<std::wstring> LogLines(const std::wstring& path) {
  std::wstring text = AsUtf16(ReadFileBytes(path));
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n') {
      std::size_t end = (i > start && text[i - 1] == L'\r') ? i - 1 : i;
      lines.push_back(text.substr(start, end - start));
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

int CountHeaders(const std::vector<std::wstring>& lines) {
  int n = 0;
  for (const auto& line : lines) n += line + L"\n" == kHeaderText ? 1 : 0;
  return n;
}

std::vector<std::wstring> Records(const std::vector<std::wstring>& lines) {
  std::vector<std::wstring> out;
  for (const auto& line : lines) {
    if (line + L"\n" != kHeaderText) out.push_back(line);
  }
  return out;
}

// The message column of a record (everything after the eighth tab).
std::wstring MessageOf(const std::wstring& record) {
  std::size_t pos = 0;
  for (int tabs = 0; tabs < 7; ++tabs) {
    pos = record.find(L'\t', pos);
    if (pos == std::wstring::npos) return L"<malformed>";
    ++pos;
  }
  return record.substr(pos);
}

const std::wregex kRecordPattern(
    LR"(^(ERR |TRA |VER )\t *[0-9]+\t *[0-9]+\t[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\t[0-9]+\t[^\t\r\n]*\t[^\t\r\n]*:\t[^\r\n]*$)");

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writer.Configure(folder.Path(), L"Tarnwick Pro"));
    writer.SetLevel(LOG_TRACE);
  }
  std::wstring LogPath() const { return folder / L"Tarnwick Pro.csv"; }

  TempFolder folder;
  CClientLogFile writer;
};

// Makes the current log file as large as the roll-over limit.
void MakeFullLogFile(const std::wstring& path) {
  twk::CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  DWORD written = 0;
  WriteFile(file.get(), "\xFF\xFE", 2, &written, nullptr);
  LARGE_INTEGER size;
  size.QuadPart = 10LL * 1048576;
  ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file.get()));
}

void SetWriteTime(const std::wstring& path, ULONGLONG daysAgo) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t;
  t.LowPart = now.dwLowDateTime;
  t.HighPart = now.dwHighDateTime;
  t.QuadPart -= daysAgo * 24ULL * 3600ULL * 10000000ULL;
  FILETIME when{t.LowPart, t.HighPart};
  twk::CFileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &when));
}

}  // namespace

TEST_F(LogFileTest, FirstRecordWritesByteOrderMarkHeaderAndOneLineRecord) {
  writer.Log(LOG_TRACE, L"Tarnwick Pro", L"CServerConnection::Connect", L"Connected to %s, %d.",
             L"RORO", 7);
  const std::string bytes = ReadFileBytes(LogPath());
  ASSERT_GE(bytes.size(), 2u + 138u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(wcslen(kHeaderText), 69u);
  EXPECT_EQ(AsUtf16(bytes.substr(2, 138)), kHeaderText);

  const std::wstring record = AsUtf16(bytes.substr(140));
  ASSERT_GE(record.size(), 2u);
  EXPECT_EQ(record.substr(record.size() - 2), L"\r\n");
  const std::wstring line = record.substr(0, record.size() - 2);
  EXPECT_TRUE(std::regex_match(line, kRecordPattern)) << std::string(line.begin(), line.end());
  const std::wstring expectedStart = twk::Format(L"TRA \t%4u\t%4u\t", GetCurrentProcessId(), GetCurrentThreadId());
  EXPECT_EQ(line.substr(0, expectedStart.size()), expectedStart);
  EXPECT_NE(line.find(L"\tTarnwick Pro\tCServerConnection::Connect:\tConnected to RORO, 7."), std::wstring::npos);
}

TEST_F(LogFileTest, LineBreaksInContextAndMessageBecomeSpaces) {
  writer.Log(LOG_ERROR, L"Tarnwick Pro", L"Ctx\r\nName", L"first\r\nsecond\nthird\rfourth");
  const auto records = Records(LogLines(LogPath()));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_NE(records[0].find(L"\tCtx  Name:\t"), std::wstring::npos);
  EXPECT_EQ(MessageOf(records[0]), L"first  second third fourth");
}

TEST_F(LogFileTest, LongMessageIsCutTo2047Characters) {
  const std::wstring longText(5000, L'x');
  writer.Log(LOG_TRACE, L"S", L"C", L"%s", longText.c_str());
  const auto records = Records(LogLines(LogPath()));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(MessageOf(records[0]), std::wstring(2047, L'x'));
}

struct LevelCase {
  int threshold;
  int level;
  bool written;
};

class LogLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LogLevelTest, OnlyLevelsOneToThreeWithinTheThresholdAreWritten) {
  TempFolder folder;
  CClientLogFile writer;
  ASSERT_TRUE(writer.Configure(folder.Path(), L"L"));
  writer.SetLevel(GetParam().threshold);
  writer.Log(GetParam().level, L"S", L"C", L"message");
  const auto records = Records(LogLines(folder / L"L.csv"));
  EXPECT_EQ(records.size(), GetParam().written ? 1u : 0u);
  if (GetParam().written && !records.empty()) {
    const wchar_t* tags[] = {L"", L"ERR ", L"TRA ", L"VER "};
    EXPECT_EQ(records[0].substr(0, 4), tags[GetParam().level]);
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, LogLevelTest,
                         ::testing::Values(LevelCase{0, 1, false}, LevelCase{2, 1, true},
                                           LevelCase{2, 2, true}, LevelCase{2, 3, false},
                                           LevelCase{3, 3, true}, LevelCase{3, 0, false},
                                           LevelCase{3, 4, false}, LevelCase{3, -1, false},
                                           LevelCase{100, 4, false}, LevelCase{-1, 1, false}));

TEST_F(LogFileTest, EveryWriterStartsWithAHeaderEvenInANonEmptyFile) {
  writer.Log(LOG_TRACE, L"S", L"C", L"one");
  writer.Log(LOG_TRACE, L"S", L"C", L"two");
  {
    CClientLogFile nextRun;  // what the next start of the program does
    ASSERT_TRUE(nextRun.Configure(folder.Path(), L"Tarnwick Pro"));
    nextRun.SetLevel(LOG_TRACE);
    nextRun.Log(LOG_TRACE, L"S", L"C", L"three");
  }
  const auto lines = LogLines(LogPath());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0] + L"\n", kHeaderText);
  EXPECT_EQ(lines[3] + L"\n", kHeaderText);
  EXPECT_EQ(MessageOf(lines[4]), L"three");
  const std::string bytes = ReadFileBytes(LogPath());
  EXPECT_EQ(bytes.find("\xFF\xFE", 2), std::string::npos) << "one byte order mark only";
}

TEST(LogConfigure, ANewFileAfterReconfigurationStartsWithAHeader) {
  TempFolder first, second;
  CClientLogFile writer;
  ASSERT_TRUE(writer.Configure(first.Path(), L"A"));
  writer.SetLevel(LOG_TRACE);
  writer.Log(LOG_TRACE, L"S", L"C", L"one");
  writer.Log(LOG_TRACE, L"S", L"C", L"two");
  ASSERT_TRUE(writer.Configure(second.Path(), L"A"));
  writer.Log(LOG_TRACE, L"S", L"C", L"three");
  EXPECT_EQ(CountHeaders(LogLines(first / L"A.csv")), 1);
  const auto lines = LogLines(second / L"A.csv");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0] + L"\n", kHeaderText);
  EXPECT_EQ(MessageOf(lines[1]), L"three");
}

TEST(LogConfigure, RefusesLongMissingOrUnnamedAndAcceptsATrailingBackslash) {
  TempFolder folder;
  CClientLogFile writer;
  std::wstring longFolder = folder.Path() + L"\\" + std::wstring(260, L'a');
  EXPECT_FALSE(writer.Configure(longFolder, L"X"));
  EXPECT_FALSE(writer.Configure(folder / L"missing", L"X"));
  EXPECT_FALSE(writer.Configure(folder.Path(), L""));
  writer.SetLevel(LOG_TRACE);
  writer.Log(LOG_ERROR, L"S", L"C", L"nowhere to go");  // must not write or crash
  EXPECT_FALSE(FileExists(folder / L"X.csv"));

  EXPECT_TRUE(writer.Configure(folder.Path() + L"\\", L"X"));
  EXPECT_EQ(writer.CurrentFilePath(), folder.Path() + L"\\X.csv");
  writer.Log(LOG_ERROR, L"S", L"C", L"now written");
  EXPECT_EQ(Records(LogLines(folder / L"X.csv")).size(), 1u);
}

struct RollCase {
  const char* name;
  int existingDaysAgo[3];  // -1: that old file does not exist
  int expectedNumber;      // the old file that receives the full log
};

class LogRollOverTest : public LogFileTest, public ::testing::WithParamInterface<RollCase> {};

TEST_P(LogRollOverTest, FullLogMovesToFirstFreeNumberOrReplacesOldest) {
  const RollCase& c = GetParam();
  for (int n = 1; n <= 3; ++n) {
    if (c.existingDaysAgo[n - 1] < 0) continue;
    ASSERT_TRUE(WriteFileBytes(writer.OldFilePath(n), "old " + std::to_string(n)));
    SetWriteTime(writer.OldFilePath(n), static_cast<ULONGLONG>(c.existingDaysAgo[n - 1]));
  }
  MakeFullLogFile(LogPath());

  writer.Log(LOG_TRACE, L"S", L"C", L"first of this run");  // learns the size; never rolls
  EXPECT_FALSE(FileExists(writer.OldFilePath(c.expectedNumber)) && c.existingDaysAgo[c.expectedNumber - 1] < 0);
  writer.Log(LOG_TRACE, L"S", L"C", L"second of this run");

  const std::string rolled = ReadFileBytes(writer.OldFilePath(c.expectedNumber));
  EXPECT_GT(rolled.size(), 10u * 1048576u) << "the full log moved to number " << c.expectedNumber;
  for (int n = 1; n <= 3; ++n) {
    if (n == c.expectedNumber || c.existingDaysAgo[n - 1] < 0) continue;
    EXPECT_EQ(ReadFileBytes(writer.OldFilePath(n)), "old " + std::to_string(n)) << "untouched " << n;
  }
  const auto lines = LogLines(LogPath());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(ReadFileBytes(LogPath()).substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(lines[0] + L"\n", kHeaderText);
  EXPECT_EQ(MessageOf(lines[1]), L"second of this run");
}

INSTANTIATE_TEST_SUITE_P(
    RollOver, LogRollOverTest,
    ::testing::Values(RollCase{"NoneExist", {-1, -1, -1}, 1}, RollCase{"FirstTaken", {1, -1, -1}, 2},
                      RollCase{"GapIsFilled", {1, -1, 2}, 2}, RollCase{"OldestReplaced", {2, 5, 3}, 2},
                      RollCase{"EqualTimesLowestNumber", {4, 4, 4}, 1}, RollCase{"ThirdOldest", {1, 2, 9}, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LogFileTest, TwoThreadsWritingNeverInterleave) {
  constexpr int kPerThread = 1000;
  auto work = [this](const wchar_t* who) {
    for (int i = 0; i < kPerThread; ++i) {
      writer.Log(LOG_TRACE, L"Tarnwick Pro", L"CWorker::Run", L"%s record %d of a fairly long line", who, i);
    }
  };
  std::thread a(work, L"alpha");
  std::thread b(work, L"beta");
  a.join();
  b.join();

  const auto lines = LogLines(LogPath());
  EXPECT_EQ(CountHeaders(lines), 1);
  const auto records = Records(lines);
  ASSERT_EQ(records.size(), 2u * kPerThread);
  int nextAlpha = 0, nextBeta = 0;
  for (const auto& record : records) {
    ASSERT_TRUE(std::regex_match(record, kRecordPattern)) << std::string(record.begin(), record.end());
    const std::wstring message = MessageOf(record);
    int number = -1;
    if (swscanf(message.c_str(), L"alpha record %d", &number) == 1) {
      EXPECT_EQ(number, nextAlpha++);
    } else if (swscanf(message.c_str(), L"beta record %d", &number) == 1) {
      EXPECT_EQ(number, nextBeta++);
    } else {
      ADD_FAILURE() << "unexpected message";
    }
  }
  EXPECT_EQ(nextAlpha, kPerThread);
  EXPECT_EQ(nextBeta, kPerThread);
}

// ---- the folder choice and start-up ----

struct CompanyCase {
  const char* name;
  DWORD type;  // 0: no value at all
  const wchar_t* value;
  const wchar_t* expectedCompany;
};

class LogFolderTest : public ::testing::TestWithParam<CompanyCase> {
 protected:
  RegValueRestorer restore{HKEY_LOCAL_MACHINE, L"Software\\ZADEZud", L"Company"};
};

TEST_P(LogFolderTest, CompanyFolderComesFromTheServiceKeyOrFallsBack) {
  const CompanyCase& c = GetParam();
  if (c.type == 0) {
    DeleteRegValue(HKEY_LOCAL_MACHINE, L"Software\\ZADEZud", L"Company");
  } else if (c.type == REG_DWORD) {
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, L"Software\\ZADEZud", L"Company", 5));
  } else {
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, L"Software\\ZADEZud", L"Company", c.value, c.type));
  }
  wchar_t appData[MAX_PATH];
  GetEnvironmentVariableW(L"ALLUSERSPROFILE", appData, MAX_PATH);

  CClientLoggerInit init(L"TWKTestLogger", L"AutoUpdater");
  std::wstring folder = L"untouched";
  ASSERT_TRUE(init.DetermineCsidlFilePath(folder));
  const std::wstring root = std::wstring(appData) + L"\\" + c.expectedCompany + L"\\VuruDazadud\\";
  EXPECT_EQ(_wcsicmp(folder.c_str(), (root + L"AutoUpdater").c_str()), 0)
      << std::string(folder.begin(), folder.end());
  EXPECT_NE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_NE(GetFileAttributesW((root + L"History").c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(
    Company, LogFolderTest,
    ::testing::Values(CompanyCase{"Missing", 0, nullptr, L"Dizavev"},
                      CompanyCase{"Plain", REG_SZ, L"Corvanta", L"Corvanta"},
                      CompanyCase{"Expandable", REG_EXPAND_SZ, L"Corvanta", L"Corvanta"},
                      CompanyCase{"WrongType", REG_DWORD, nullptr, L"Dizavev"},
                      CompanyCase{"TooLong", REG_SZ, L"CorvantaCorvantaCorvantaCorvantaCorvantaCorvantaCorvantaCorvanta"
                                                     L"CorvantaCorvantaCorvantaCorvantaCorvantaCorvantaCorvantaCorvanta",
                                  L"Dizavev"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogFolder, CreateFolderWithParentsMakesEveryLevel) {
  TempFolder folder;
  const std::wstring deep = folder / L"a\\b\\c";
  CClientLoggerInit::CreateFolderWithParents(deep);
  EXPECT_NE(GetFileAttributesW(deep.c_str()), INVALID_FILE_ATTRIBUTES);
  CClientLoggerInit::CreateFolderWithParents(deep);  // already there: harmless
  EXPECT_NE(GetFileAttributesW(deep.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(LoggerStartUp, ConfiguresTheProcessLogAndWritesTheLoggingDirLine) {
  RegValueRestorer restore(HKEY_LOCAL_MACHINE, L"Software\\ZADEZud", L"Company");
  ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, L"Software\\ZADEZud", L"Company", L"Corvanta"));
  std::wstring folder;
  {
    CClientLoggerInit probe(L"TWKStartUpFolderProbe", L"logs");
    ASSERT_TRUE(probe.DetermineCsidlFilePath(folder));
  }
  DeleteFileW((folder + L"\\TWKStartUpFolderProbe.csv").c_str());
  const std::wstring path = folder + L"\\TWKStartUpProbe.csv";
  DeleteFileW(path.c_str());

  CClientLoggerInit init(L"TWKStartUpProbe", L"logs");
  ClientLog(LOG_VERBOSE, L"TWKStartUpProbe", L"Ctx", L"filtered at threshold 2");
  ClientLog(LOG_ERROR, L"TWKStartUpProbe", L"Ctx", L"kept");

  const auto lines = LogLines(path);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0] + L"\n", kHeaderText) << "a newly configured file starts with a header";
  const std::vector<std::wstring> records(lines.begin() + 1, lines.end());
  EXPECT_EQ(records[0].substr(0, 4), L"TRA ");
  EXPECT_NE(records[0].find(L"\tTWKStartUpProbe\tCClientLoggerInit::CClientLoggerInit:\t"), std::wstring::npos);
  EXPECT_EQ(MessageOf(records[0]), L"Logging dir <" + folder + L"\\TWKStartUpProbe>");
  EXPECT_NE(folder.find(L"\\Corvanta\\VuruDazadud\\logs"), std::wstring::npos);
  EXPECT_EQ(MessageOf(records[1]), L"kept");
  DeleteFileW(path.c_str());
}
