#include "Engine.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <winhttp.h>

#include <algorithm>

#include "EngineConfig.h"
#include "EngineInternal.h"
#include "XmlDom.h"

namespace engine {

CEngine::CEngine() = default;
CEngine::~CEngine() = default;

CEngine& CEngine::Instance() {
  static CEngine engine;
  return engine;
}

bool CEngine::Start(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"ROROEngineWindow";
  RegisterClassW(&wc);
  window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                            nullptr);
  LoadDefinitions();
  return window_ != nullptr;
}

void CEngine::LoadDefinitions() {
  Definitions loaded;
  if (loaded.Load(InstalledDefinitionsPath())) defs_ = std::move(loaded);
}

void CEngine::Shutdown() {
  sinks_.Fire<_ISBServiceEvents>([](_ISBServiceEvents* s) { return s->ServiceStateCB(0); });
  if (download_) {
    download_->cancel = true;
    if (download_->worker.joinable()) download_->worker.join();
    download_.reset();
  }
  scan_.reset();
  clean_.reset();
  sinks_.Clear();
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

LRESULT CALLBACK CEngine::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  CEngine& e = Instance();
  switch (msg) {
    case kMsgWork:
      e.workPosted_ = false;
      e.OnWork();
      return 0;
    case WM_TIMER:
      if (wp == kPaceTimer) {
        KillTimer(hwnd, kPaceTimer);
        e.OnWork();
      }
      return 0;
    case kMsgDownloadProgress:
      e.OnDownloadProgress(long(wp), long(lp));
      return 0;
    case kMsgDownloadDone:
      e.OnDownloadDone();
      return 0;
    case kMsgMergeState:
      e.FireMerge(0, long(wp), 0, 0);
      return 0;
    case kMsgScanState:
      e.FireScanState(long(wp), long(lp));
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void CEngine::ScheduleWork() {
  if (!window_) return;
  DWORD delay = scan_ ? scan_->delayMs : 0;
  if (delay > 0) {
    SetTimer(window_, kPaceTimer, delay, nullptr);
  } else if (!workPosted_) {
    workPosted_ = true;
    PostMessageW(window_, kMsgWork, 0, 0);
  }
}

void CEngine::OnWork() {
  // Outgoing calls dispatch some messages; never run a slice inside another.
  if (inSlice_) return;
  inSlice_ = true;
  try {
    if (scan_) ScanSlice();
    else if (clean_) CleanSlice();
  } catch (...) {
    bool scanning = scan_ != nullptr;
    scan_.reset();
    clean_.reset();
    lastState_ = kIdle;
    inSlice_ = false;
    FireScanState(scanning ? kEngineFault : kCleaningEnded, 0);
    return;
  }
  inSlice_ = false;
  if ((scan_ && !scan_->paused) || clean_) ScheduleWork();
}

// ---- events ---------------------------------------------------------------------

void CEngine::FireScanState(long state, long value) {
  sinks_.Fire<_ISBScanControlEvents>(
      [&](_ISBScanControlEvents* s) { return s->ScanProgressStateCB(state, value); });
}

void CEngine::FireDetails(bool force) {
  if (!scan_) return;
  DWORD now = GetTickCount();
  if (!force && now - scan_->lastDetails < kDetailsIntervalMs) return;
  scan_->lastDetails = now;
  long total = scan_->scanned[0] + scan_->scanned[1] + scan_->scanned[2] + scan_->scanned[3];
  long foundTotal = scan_->found[0] + scan_->found[1] + scan_->found[2] + scan_->found[3];
  Bstr item(scan_->currentItem);
  long state = scan_->phaseIndex < scan_->phases.size() ? scan_->phases[scan_->phaseIndex] : kScanComplete;
  long reg = scan_->scanned[0], cook = scan_->scanned[1], files = scan_->scanned[2], procs = scan_->scanned[3];
  sinks_.Fire<_ISBScanControlEvents>([&](_ISBScanControlEvents* s) {
    return s->ScanProgressDetailsCB(state, item.get(), total, foundTotal, reg, cook, files, procs);
  });
}

void CEngine::FireMerge(unsigned long version, long state, long total, long received) {
  sinks_.Fire<_ISBThreatDefinitionsEvents>([&](_ISBThreatDefinitionsEvents* s) {
    return s->ThreatDefMergeCB(version, state, total, received);
  });
}

void CEngine::PostMerge(long state) {
  if (window_) PostMessageW(window_, kMsgMergeState, WPARAM(state), 0);
}

// ---- service --------------------------------------------------------------------

HRESULT CEngine::SetCompanyProduct(const std::wstring& company, const std::wstring& product) {
  company_ = company;
  product_ = product;
  return S_OK;
}

HRESULT CEngine::GetServiceState(long* state) {
  if (!state) return E_POINTER;
  *state = 2;  // running
  return S_OK;
}

// ---- settings -------------------------------------------------------------------


const wchar_t* DefaultSettings(const std::wstring& which) {
  if (which == L"scan")
    return L"<threatEngineSettings option1=\"0\" option2=\"1\" option3=\"1\"><profiles/><locations/>"
           L"</threatEngineSettings>";
  if (which == L"defs")
    return L"<definitionUpdateSettings option1=\"1\" option2=\"1\"><updateServer address=\"\" "
           L"number=\"0\" language=\"EN\" vendor=\"\" flag=\"0\"/></definitionUpdateSettings>";
  if (which == L"service")
    return L"<serviceSettings option1=\"1\"><proxy enabled=\"0\" server=\"\" port=\"\"/>"
           L"</serviceSettings>";
  return L"<softwareUpdateSettings option1=\"1\" option2=\"1\"><updateServer address=\"\" "
         L"number=\"0\" language=\"EN\" vendor=\"\" flag=\"0\"/></softwareUpdateSettings>";
}

// The stored text, or the default when nothing was ever stored (an empty text stays empty).
std::wstring StoredSettings(const std::wstring& which) {
  wchar_t probe[2];
  DWORD size = sizeof(probe);
  LSTATUS st = RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, which.c_str(), RRF_RT_REG_SZ, nullptr,
                            probe, &size);
  if (st != ERROR_SUCCESS && st != ERROR_MORE_DATA) return DefaultSettings(which);
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = DWORD(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, which.c_str(), RRF_RT_REG_SZ, nullptr,
                   text.data(), &size) != ERROR_SUCCESS)
    return DefaultSettings(which);
  text.resize(wcslen(text.c_str()));
  return text;
}


HRESULT CEngine::GetSettings(const wchar_t* which, BSTR* xml) {
  if (!xml) return E_POINTER;
  *xml = AllocBstr(StoredSettings(which));
  return S_OK;
}

HRESULT CEngine::SetSettings(const wchar_t* which, const wchar_t* xml) {
  return WriteMachineString(kSettingsKey, which, xml ? xml : L"") ? S_OK : E_FAIL;
}

}  // namespace engine
