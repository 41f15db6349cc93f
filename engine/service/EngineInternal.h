#pragma once
// Shared by the engine's source files: messages of the engine window, the jobs that
// advance in slices, file and registry helpers.
#include <windows.h>

#include <atomic>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Engine.h"

namespace engine {

inline constexpr UINT kMsgWork = WM_APP + 1;
inline constexpr UINT kMsgDownloadProgress = WM_APP + 2;
inline constexpr UINT kMsgDownloadDone = WM_APP + 3;
inline constexpr UINT kMsgMergeState = WM_APP + 4;
inline constexpr UINT kMsgScanState = WM_APP + 5;
inline constexpr UINT_PTR kPaceTimer = 1;
inline constexpr DWORD kSliceMs = 15;
inline constexpr DWORD kDetailsIntervalMs = 50;

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
std::wstring ShellFolder(int csidl);
std::string ReadHead(const std::wstring& path, std::size_t limit);
HKEY ParseRoot(const std::wstring& path, std::wstring& subKey);
bool RegistryItemExists(const std::wstring& key, const std::wstring& value);
std::string Utf8(const std::wstring& text);
std::wstring XmlEscape(const std::wstring& text);
bool WriteUtf8File(const std::wstring& path, const std::string& data);
void AppendLine(const std::wstring& path, const std::wstring& line);
// A drive that maps the host's root folder (under Wine, Z:) is never walked.
bool IsHostRootMapping(const std::wstring& root);

// One profile of the scan settings: which phases run and what is excluded.
struct ScanPlan {
  bool registry = true, cookies = true, fileLocations = true, folders = false, processes = true;
  std::vector<std::wstring> excludedFolders, excludedFiles, excludedTypes;  // lower case
};
ScanPlan PlanFor(long kind, const std::wstring& settingsXml);

// The settings text stored for which ("scan", "defs", "service", "software"), or the
// default when nothing was ever stored (an empty text stays empty).
std::wstring StoredSettings(const std::wstring& which);

struct CEngine::ScanJob {
  struct Item {
    enum Type { kRegistryRule, kRunValue, kCookieFile, kFile, kProcess } type;
    std::wstring path;
    std::size_t threat = 0, rule = 0;
  };
  long kind = 0;
  bool paused = false;
  bool aborted = false;
  DWORD delayMs = 0;
  std::wstring extraRoot;
  ScanPlan plan;
  std::vector<long> phases;
  std::size_t phaseIndex = 0;
  bool phaseStarted = false;
  bool announced = false;
  std::deque<Item> items;
  std::vector<std::wstring> folders;  // folders still to walk (phase 5)
  long found[4] = {};    // cookies, registry, processes, files
  long scanned[4] = {};  // registry, cookies, files, processes
  std::map<std::size_t, std::vector<Trace>> findings;
  std::set<std::wstring> seen;
  std::wstring currentItem;
  DWORD lastDetails = 0;
  DWORD startTick = GetTickCount();
};

struct CEngine::CleanJob {
  struct Action {
    std::wstring kind, path, threat;
  };
  std::vector<Action> actions;
  std::size_t next = 0;
  long failed = 0;
  bool reboot = false;
  std::wstring quarantine;
  DWORD lastProgress = 0;
};

struct CEngine::Download {
  std::thread worker;
  std::atomic<bool> cancel{false};
  bool full = false;
  int status = 1;  // 0 received, 1 failed, 2 cancelled
  std::string body;
  unsigned long version = 0;
  long total = 0, received = 0;
};

}  // namespace engine
