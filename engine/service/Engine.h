#pragma once
// The stand-in engine: one state shared by every client of the service. Runs on the
// service's single apartment thread; long work (scans, cleaning) advances in slices
// from the thread's message loop, downloads run on a worker thread.
#include <windows.h>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Definitions.h"
#include "SBEngine.h"
#include "SinkHub.h"

namespace engine {

// Result codes of the engine beyond the platform's.
inline constexpr HRESULT SB_E_CANNOT_SCAN = HRESULT(0x80040201);
inline constexpr HRESULT SB_E_BUSY = HRESULT(0x80040202);
inline constexpr HRESULT SB_E_BAD_RESULTS = HRESULT(0x80040203);
inline constexpr HRESULT SB_E_NO_QUARANTINE = HRESULT(0x80040204);
inline constexpr HRESULT SB_E_NO_DEFINITIONS = HRESULT(0x80040205);

// Scan states (ScanProgressStateCB and GetScanState).
enum ScanState : long {
  kIdle = 0,
  kScanStarted = 1,
  kPhaseRegistry = 2,
  kPhaseCookies = 3,
  kPhaseFileLocations = 4,
  kPhaseFolders = 5,
  kPhaseProcesses = 6,
  kScanPaused = 7,
  kScanComplete = 107,
  kCleaning = 109,
  kCleaningComplete = 111,
  kCleaningEnded = 112,
  kScanCannotRun = 113,
  kPhasesReset = 115,
  kEngineFault = 116,
  kCleaningSystem = 117,
};

struct Trace {
  std::wstring kind;  // file, regkey, regval, process, cookie
  std::wstring path;
};

class CEngine {
 public:
  CEngine();
  ~CEngine();
  static CEngine& Instance();

  bool Start(HINSTANCE instance);  // message window, definitions
  void Shutdown();                 // tells clients, cancels work, drops sinks
  CSinkHub& Sinks() { return sinks_; }

  // ISBService
  HRESULT SetCompanyProduct(const std::wstring& company, const std::wstring& product);
  HRESULT GetServiceState(long* state);
  // ISBScanControl
  HRESULT Scan(long kind);
  HRESULT Pause();
  HRESULT Resume();
  HRESULT Abort();
  HRESULT GetLastScanResultsPath(BSTR* path);
  HRESULT GetScanCounts(long* out11[11]);
  HRESULT GetScanState(long* state, long* reboot);
  HRESULT Clean(const std::wstring& resultsPath);
  HRESULT PurgeHistory(long keep);
  // ISBThreatDefinitions
  HRESULT GetLocalDefVersion(unsigned long* version, BSTR* date);
  HRESULT RequestUpdate(bool full);
  HRESULT CancelUpdates();
  // Settings texts: "scan", "defs", "service", "software".
  HRESULT GetSettings(const wchar_t* which, BSTR* xml);
  HRESULT SetSettings(const wchar_t* which, const wchar_t* xml);

 private:
  struct ScanJob;
  struct CleanJob;
  struct Download;
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  void OnWork();
  void ScheduleWork();
  void ScanSlice();
  void CleanSlice();
  void FinishScan();
  void OnDownloadProgress(long received, long total);
  void OnDownloadDone();
  void FireScanState(long state, long value);
  void FireDetails(bool force);
  void FireMerge(unsigned long version, long state, long total, long received);
  void PostMerge(long state);
  void LoadDefinitions();
  void WriteDefVer();

  HWND window_ = nullptr;
  CSinkHub sinks_;
  Definitions defs_;
  std::wstring company_, product_;
  std::unique_ptr<ScanJob> scan_;
  std::unique_ptr<CleanJob> clean_;
  std::unique_ptr<Download> download_;
  bool inSlice_ = false;
  bool workPosted_ = false;
  std::wstring lastResultsPath_;
  long lastCounts_[11] = {};
  long lastState_ = kIdle;
  bool rebootRequired_ = false;
  std::deque<long> pendingMerge_;
};

}  // namespace engine
