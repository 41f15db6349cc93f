#include "Engine.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <winhttp.h>

#include <algorithm>
#include <set>
#include <thread>

#include "EngineConfig.h"
#include "XmlDom.h"

namespace engine {

namespace {

constexpr UINT kMsgWork = WM_APP + 1;
constexpr UINT kMsgDownloadProgress = WM_APP + 2;
constexpr UINT kMsgDownloadDone = WM_APP + 3;
constexpr UINT kMsgMergeState = WM_APP + 4;
constexpr UINT kMsgScanState = WM_APP + 5;
constexpr UINT_PTR kPaceTimer = 1;
constexpr DWORD kSliceMs = 15;
constexpr DWORD kDetailsIntervalMs = 50;

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || folder.back() == L'\\') return folder + name;
  return folder + L"\\" + name;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
  return path;
}

std::string ReadHead(const std::wstring& path, std::size_t limit) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string data(limit, '\0');
  DWORD read = 0;
  if (!ReadFile(h, data.data(), DWORD(limit), &read, nullptr)) read = 0;
  CloseHandle(h);
  data.resize(read);
  return data;
}

HKEY ParseRoot(const std::wstring& path, std::wstring& subKey) {
  auto slash = path.find(L'\\');
  std::wstring root = path.substr(0, slash);
  subKey = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
  if (root == L"HKCU" || root == L"HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
  if (root == L"HKLM" || root == L"HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
  return nullptr;
}

bool RegistryItemExists(const std::wstring& key, const std::wstring& value) {
  std::wstring sub;
  HKEY root = ParseRoot(key, sub);
  if (!root) return false;
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  bool exists = value.empty() ||
                RegQueryValueExW(h, value.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(h);
  return exists;
}

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring XmlEscape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      case L'\'': out += L"&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

bool WriteUtf8File(const std::wstring& path, const std::string& data) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, data.data(), DWORD(data.size()), &written, nullptr) && written == data.size();
  CloseHandle(h);
  return ok;
}

void AppendLine(const std::wstring& path, const std::wstring& line) {
  HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  std::string data = Utf8(line + L"\r\n");
  DWORD written = 0;
  WriteFile(h, data.data(), DWORD(data.size()), &written, nullptr);
  CloseHandle(h);
}

// A drive that maps the host's root folder (under Wine, Z:) is never walked.
bool IsHostRootMapping(const std::wstring& root) {
  return FileExists(root + L"etc\\passwd") && FolderExists(root + L"proc");
}

// One profile of the scan settings: which phases run and what is excluded.
struct ScanPlan {
  bool registry = true, cookies = true, fileLocations = true, folders = false, processes = true;
  std::vector<std::wstring> excludedFolders, excludedFiles, excludedTypes;  // lower case
};

ScanPlan PlanFor(long kind, const std::wstring& settingsXml) {
  ScanPlan plan;
  plan.folders = kind != 0;
  XmlDocument doc = NewXmlDocument();
  if (!doc || settingsXml.empty() || !LoadXmlText(doc.get(), settingsXml)) return plan;
  XmlElement root = DocumentElement(doc.get());
  for (auto& p : ChildElements(FirstChild(root.get(), L"profiles").get(), L"profile")) {
    if (AttributeNumber(p.get(), L"kind", -1) != kind) continue;
    auto on = [&](int n, bool fallback) {
      bool present = false;
      std::wstring v = Attribute(p.get(), (L"o" + std::to_wstring(n)).c_str(), &present);
      return present ? v == L"1" : fallback;
    };
    plan.folders = on(1, plan.folders);
    plan.cookies = on(3, plan.cookies);
    plan.processes = on(4, plan.processes);
    plan.registry = on(6, plan.registry);
    plan.fileLocations = on(15, plan.fileLocations);
  }
  if (kind == 2) {
    for (auto& l : ChildElements(FirstChild(root.get(), L"locations").get(), L"location")) {
      std::wstring path = Lower(Attribute(l.get(), L"path"));
      long lkind = AttributeNumber(l.get(), L"kind", 0);
      while (!path.empty() && path.back() == L'\\') path.pop_back();
      if (path.empty()) continue;
      if (lkind == 6) plan.excludedFolders.push_back(path);
      else if (lkind == 2) plan.excludedFiles.push_back(path);
      else if (lkind == 5) plan.excludedTypes.push_back(path[0] == L'*' ? path.substr(1) : path);
    }
  }
  return plan;
}

}  // namespace

// ---------------------------------------------------------------------------------

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

namespace {

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

}  // namespace

HRESULT CEngine::GetSettings(const wchar_t* which, BSTR* xml) {
  if (!xml) return E_POINTER;
  *xml = AllocBstr(StoredSettings(which));
  return S_OK;
}

HRESULT CEngine::SetSettings(const wchar_t* which, const wchar_t* xml) {
  return WriteMachineString(kSettingsKey, which, xml ? xml : L"") ? S_OK : E_FAIL;
}

// ---- scanning -------------------------------------------------------------------

HRESULT CEngine::Scan(long kind) {
  if (scan_ || clean_) return SB_E_BUSY;
  if (kind < 0 || kind > 2 || !defs_.Installed()) {
    if (window_) PostMessageW(window_, kMsgScanState, kScanCannotRun, 0);
    return kind < 0 || kind > 2 ? E_INVALIDARG : SB_E_NO_DEFINITIONS;
  }
  auto job = std::make_unique<ScanJob>();
  job->kind = kind;
  job->delayMs = ReadMachineDword(kStandInKey, L"ScanItemDelayMs", 0);
  job->extraRoot = ReadMachineString(kStandInKey, L"ExtraScanRoot");
  while (!job->extraRoot.empty() && job->extraRoot.back() == L'\\') job->extraRoot.pop_back();
  job->plan = PlanFor(kind, StoredSettings(L"scan"));
  if (job->plan.registry) job->phases.push_back(kPhaseRegistry);
  if (job->plan.cookies) job->phases.push_back(kPhaseCookies);
  if (job->extraRoot.empty()) {
    if (job->plan.fileLocations) job->phases.push_back(kPhaseFileLocations);
    if (job->plan.folders) job->phases.push_back(kPhaseFolders);
  } else if (job->plan.fileLocations || job->plan.folders) {
    job->phases.push_back(kPhaseFolders);
  }
  if (job->plan.processes) job->phases.push_back(kPhaseProcesses);
  scan_ = std::move(job);
  lastState_ = kScanStarted;
  ScheduleWork();
  return S_OK;
}

HRESULT CEngine::Pause() {
  if (!scan_) return S_FALSE;
  scan_->paused = true;
  if (window_) KillTimer(window_, kPaceTimer);
  return S_OK;
}

HRESULT CEngine::Resume() {
  if (!scan_) return S_FALSE;
  if (scan_->paused) {
    scan_->paused = false;
    ScheduleWork();
  }
  return S_OK;
}

HRESULT CEngine::Abort() {
  if (!scan_) return S_FALSE;
  scan_->aborted = true;
  if (!inSlice_) {
    scan_.reset();
    lastState_ = kIdle;
  }
  return S_OK;
}

void CEngine::ScanSlice() {
  ScanJob& job = *scan_;
  if (!job.announced) {
    job.announced = true;
    FireScanState(kScanStarted, 0);
    if (!scan_ || job.aborted) { scan_.reset(); lastState_ = kIdle; return; }
  }
  DWORD sliceStart = GetTickCount();
  auto withinSlice = [&] { return job.delayMs == 0 && GetTickCount() - sliceStart < kSliceMs; };
  bool first = true;
  while (first || withinSlice()) {
    first = false;
    if (job.aborted) { scan_.reset(); lastState_ = kIdle; return; }
    if (job.paused) return;
    if (job.phaseIndex >= job.phases.size()) { FinishScan(); return; }
    long phase = job.phases[job.phaseIndex];
    if (!job.phaseStarted) {
      job.phaseStarted = true;
      lastState_ = phase;
      // What the phase will look at.
      if (phase == kPhaseRegistry) {
        for (std::size_t t = 0; t < defs_.threats.size(); ++t)
          for (std::size_t r = 0; r < defs_.threats[t].rules.size(); ++r)
            if (defs_.threats[t].rules[r].kind == DetectionRule::kRegistry)
              job.items.push_back({ScanJob::Item::kRegistryRule, defs_.threats[t].rules[r].text, t, r});
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
          for (const wchar_t* sub : {L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                     L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"}) {
            HKEY h = nullptr;
            if (RegOpenKeyExW(root, sub, 0, KEY_READ, &h) != ERROR_SUCCESS) continue;
            wchar_t name[512];
            for (DWORD i = 0;; ++i) {
              DWORD len = 512;
              if (RegEnumValueW(h, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
              job.items.push_back({ScanJob::Item::kRunValue,
                                   std::wstring(root == HKEY_CURRENT_USER ? L"HKCU\\" : L"HKLM\\") + sub + L"\\" + name});
            }
            RegCloseKey(h);
          }
        }
      } else if (phase == kPhaseCookies) {
        std::vector<std::wstring> folders;
        if (!job.extraRoot.empty()) folders.push_back(job.extraRoot + L"\\Cookies");
        else folders.push_back(ShellFolder(CSIDL_COOKIES));
        while (!folders.empty()) {
          std::wstring folder = folders.back();
          folders.pop_back();
          if (folder.empty()) continue;
          WIN32_FIND_DATAW fd;
          HANDLE f = FindFirstFileW(JoinPath(folder, L"*").c_str(), &fd);
          if (f == INVALID_HANDLE_VALUE) continue;
          do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(JoinPath(folder, name));
            else job.items.push_back({ScanJob::Item::kCookieFile, JoinPath(folder, name)});
          } while (FindNextFileW(f, &fd));
          FindClose(f);
        }
      } else if (phase == kPhaseFileLocations) {
        for (int csidl : {CSIDL_PROFILE, CSIDL_STARTUP, CSIDL_COMMON_STARTUP}) job.folders.push_back(ShellFolder(csidl));
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        job.folders.push_back(temp);
        for (auto& folder : job.folders) {
          if (folder.empty()) continue;
          WIN32_FIND_DATAW fd;
          HANDLE f = FindFirstFileW(JoinPath(folder, L"*").c_str(), &fd);
          if (f == INVALID_HANDLE_VALUE) continue;
          do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
              job.items.push_back({ScanJob::Item::kFile, JoinPath(folder, fd.cFileName)});
          } while (FindNextFileW(f, &fd));
          FindClose(f);
        }
        job.folders.clear();
      } else if (phase == kPhaseFolders) {
        if (!job.extraRoot.empty()) {
          job.folders.push_back(job.extraRoot);
        } else {
          wchar_t drives[256] = {};
          GetLogicalDriveStringsW(255, drives);
          for (wchar_t* d = drives; *d; d += wcslen(d) + 1) {
            std::wstring root = d;
            if (GetDriveTypeW(root.c_str()) != DRIVE_FIXED) continue;
            if (towupper(root[0]) == L'Z' || IsHostRootMapping(root)) continue;
            job.folders.push_back(root);
          }
        }
      } else if (phase == kPhaseProcesses) {
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snap != INVALID_HANDLE_VALUE) {
          PROCESSENTRY32W pe{};
          pe.dwSize = sizeof(pe);
          for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe))
            job.items.push_back({ScanJob::Item::kProcess, pe.szExeFile});
          CloseHandle(snap);
        }
      }
      FireScanState(phase, 0);
      if (!scan_) return;
      continue;
    }

    // Folder walk: refill the items from the next folder.
    if (job.items.empty() && phase == kPhaseFolders && !job.folders.empty()) {
      std::wstring folder = job.folders.back();
      job.folders.pop_back();
      std::wstring lowerFolder = Lower(folder);
      while (!lowerFolder.empty() && lowerFolder.back() == L'\\') lowerFolder.pop_back();
      bool excluded = false;
      for (auto& x : job.plan.excludedFolders)
        if (lowerFolder == x || lowerFolder.rfind(x + L"\\", 0) == 0) excluded = true;
      if (excluded) continue;
      WIN32_FIND_DATAW fd;
      HANDLE f = FindFirstFileW(JoinPath(folder, L"*").c_str(), &fd);
      if (f != INVALID_HANDLE_VALUE) {
        do {
          std::wstring name = fd.cFileName;
          if (name == L"." || name == L"..") continue;
          if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
          if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) job.folders.push_back(JoinPath(folder, name));
          else job.items.push_back({ScanJob::Item::kFile, JoinPath(folder, name)});
        } while (FindNextFileW(f, &fd));
        FindClose(f);
      }
      continue;
    }
    if (job.items.empty()) {
      job.phaseIndex++;
      job.phaseStarted = false;
      continue;
    }

    ScanJob::Item item = job.items.front();
    job.items.pop_front();
    job.currentItem = item.path;
    auto addFinding = [&](std::size_t threat, const std::wstring& kind, const std::wstring& path, int category) {
      std::wstring key = std::to_wstring(threat) + L"|" + kind + L"," + Lower(path);
      if (!job.seen.insert(key).second) return;
      job.findings[threat].push_back(Trace{kind, path});
      job.found[category]++;
    };
    switch (item.type) {
      case ScanJob::Item::kRegistryRule: {
        const DetectionRule& rule = defs_.threats[item.threat].rules[item.rule];
        job.scanned[0]++;
        if (RegistryItemExists(rule.text, rule.value)) {
          if (rule.value.empty()) addFinding(item.threat, L"regkey", rule.text, 1);
          else addFinding(item.threat, L"regval", rule.text + L"\\" + rule.value, 1);
        }
        break;
      }
      case ScanJob::Item::kRunValue:
        job.scanned[0]++;
        break;
      case ScanJob::Item::kCookieFile: {
        job.scanned[1]++;
        std::wstring name = Lower(item.path.substr(item.path.find_last_of(L'\\') + 1));
        std::string head = ReadHead(item.path, 16384);
        for (auto& c : head) c = char(tolower(static_cast<unsigned char>(c)));
        for (std::size_t t = 0; t < defs_.threats.size(); ++t)
          for (auto& rule : defs_.threats[t].rules)
            if (rule.kind == DetectionRule::kCookie &&
                (name.find(rule.text) != std::wstring::npos || head.find(Utf8(rule.text)) != std::string::npos))
              addFinding(t, L"cookie", item.path, 0);
        break;
      }
      case ScanJob::Item::kFile: {
        std::wstring lowerPath = Lower(item.path);
        std::wstring name = lowerPath.substr(lowerPath.find_last_of(L'\\') + 1);
        bool excluded = false;
        for (auto& x : job.plan.excludedFiles) excluded |= lowerPath == x;
        for (auto& x : job.plan.excludedTypes)
          excluded |= name.size() > x.size() && name.compare(name.size() - x.size(), x.size(), x) == 0 &&
                      name[name.size() - x.size() - 1] == L'.';
        if (excluded) break;
        job.scanned[2]++;
        std::string head;
        bool headRead = false;
        for (std::size_t t = 0; t < defs_.threats.size(); ++t) {
          for (auto& rule : defs_.threats[t].rules) {
            bool hit = false;
            if (rule.kind == DetectionRule::kFileName) {
              hit = PathMatchSpecW(name.c_str(), rule.text.c_str());
            } else if (rule.kind == DetectionRule::kFileMarker) {
              if (!headRead) { head = ReadHead(item.path, 65536); headRead = true; }
              hit = head.find(rule.marker) != std::string::npos;
            }
            if (hit) addFinding(t, L"file", item.path, 3);
          }
        }
        break;
      }
      case ScanJob::Item::kProcess: {
        job.scanned[3]++;
        std::wstring image = Lower(item.path);
        for (std::size_t t = 0; t < defs_.threats.size(); ++t)
          for (auto& rule : defs_.threats[t].rules)
            if (rule.kind == DetectionRule::kProcess && image == rule.text) addFinding(t, L"process", item.path, 2);
        break;
      }
    }
    FireDetails(false);
    if (!scan_) return;
  }
}

void CEngine::FinishScan() {
  ScanJob& job = *scan_;
  FireDetails(true);
  if (!scan_) return;
  // The results file.
  std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<threats kind=\"" +
                     std::to_wstring(job.kind) + L"\" date=\"" + XmlEscape(NowText()) +
                     L"\" definitionsVersion=\"" + std::to_wstring(defs_.version) + L"\">\r\n";
  long threats = 0;
  for (auto& [index, traces] : job.findings) {
    const ThreatDefinition& def = defs_.threats[index];
    ++threats;
    xml += L"  <threat name=\"" + XmlEscape(def.name) + L"\" level=\"" + std::to_wstring(def.level) +
           L"\" actionRequested=\"1\" category=\"" + XmlEscape(def.category) + L"\">\r\n";
    xml += L"    <threatAdviceDetails>" + XmlEscape(def.advice) + L"</threatAdviceDetails>\r\n";
    for (auto& t : traces)
      xml += L"    <trace dispValue=\"" + XmlEscape(t.kind + L"," + t.path) + L"\"/>\r\n";
    xml += L"  </threat>\r\n";
  }
  xml += L"</threats>\r\n";
  EnsureFolder(ResultsFolder());
  SYSTEMTIME st;
  GetLocalTime(&st);
  wchar_t name[96];
  wsprintfW(name, L"\\ScanResults_%04u%02u%02u_%02u%02u%02u_%lu.xml", st.wYear, st.wMonth, st.wDay,
            st.wHour, st.wMinute, st.wSecond, GetTickCount() % 100000);
  std::wstring path = ResultsFolder() + name;
  bool written = WriteUtf8File(path, Utf8(xml));
  for (int i = 0; i < 4; ++i) lastCounts_[i] = job.found[i];
  for (int i = 0; i < 4; ++i) lastCounts_[4 + i] = job.scanned[i];
  lastCounts_[8] = threats;
  lastCounts_[9] = long((GetTickCount() - job.startTick) / 1000);
  lastCounts_[10] = 100;
  scan_.reset();
  if (!written) {
    lastState_ = kIdle;
    FireScanState(kEngineFault, 0);
    return;
  }
  lastResultsPath_ = path;
  lastState_ = kScanComplete;
  FireScanState(kScanComplete, threats);
}

HRESULT CEngine::GetLastScanResultsPath(BSTR* path) {
  if (!path) return E_POINTER;
  *path = AllocBstr(lastResultsPath_);
  return S_OK;
}

HRESULT CEngine::GetScanCounts(long* out[11]) {
  for (int i = 0; i < 11; ++i)
    if (!out[i]) return E_POINTER;
  if (scan_) {
    for (int i = 0; i < 4; ++i) *out[i] = scan_->found[i];
    for (int i = 0; i < 4; ++i) *out[4 + i] = scan_->scanned[i];
    *out[8] = long(scan_->findings.size());
    *out[9] = long((GetTickCount() - scan_->startTick) / 1000);
    *out[10] = scan_->phases.empty() ? 0 : long(scan_->phaseIndex * 100 / scan_->phases.size());
  } else {
    for (int i = 0; i < 11; ++i) *out[i] = lastCounts_[i];
  }
  return S_OK;
}

HRESULT CEngine::GetScanState(long* state, long* reboot) {
  if (!state || !reboot) return E_POINTER;
  if (scan_) *state = scan_->paused ? kScanPaused : lastState_;
  else if (clean_) *state = lastState_;
  else *state = lastState_ == kScanComplete ? kScanComplete : kIdle;
  *reboot = rebootRequired_ ? 1 : 0;
  return S_OK;
}

HRESULT CEngine::PurgeHistory(long keep) {
  if (scan_) return SB_E_BUSY;
  WIN32_FIND_DATAW fd;
  HANDLE f = FindFirstFileW((ResultsFolder() + L"\\ScanResults_*.xml").c_str(), &fd);
  if (f != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileW((ResultsFolder() + L"\\" + fd.cFileName).c_str());
    } while (FindNextFileW(f, &fd));
    FindClose(f);
  }
  lastResultsPath_.clear();
  for (auto& c : lastCounts_) c = 0;
  if (lastState_ == kScanComplete) lastState_ = kIdle;
  return S_OK;
}

// ---- cleaning -------------------------------------------------------------------

HRESULT CEngine::Clean(const std::wstring& resultsPath) {
  if (scan_ || clean_) return SB_E_BUSY;
  if (!FileExists(resultsPath)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  XmlDocument doc = NewXmlDocument();
  if (!doc || !LoadXmlFile(doc.get(), resultsPath) ||
      ElementName(DocumentElement(doc.get()).get()) != L"threats")
    return SB_E_BAD_RESULTS;
  auto job = std::make_unique<CleanJob>();
  job->quarantine = QuarantineFolder();
  if (!EnsureFolder(job->quarantine)) return SB_E_NO_QUARANTINE;
  for (auto& t : Descendants(DocumentElement(doc.get()).get(), L"threat")) {
    if (Attribute(t.get(), L"actionRequested") != L"1") continue;
    std::wstring threat = Attribute(t.get(), L"name");
    for (auto& tr : ChildElements(t.get(), L"trace")) {
      std::wstring value = Attribute(tr.get(), L"dispValue");
      auto comma = value.find(L',');
      if (comma == std::wstring::npos) continue;
      job->actions.push_back({value.substr(0, comma), value.substr(comma + 1), threat});
    }
  }
  clean_ = std::move(job);
  rebootRequired_ = false;
  lastState_ = kCleaning;
  ScheduleWork();
  return S_OK;
}

namespace {

std::wstring QuarantineName(const std::wstring& folder, const std::wstring& path) {
  std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  wchar_t prefix[32];
  wsprintfW(prefix, L"%08lX_", GetTickCount() ^ DWORD(std::hash<std::wstring>{}(path)));
  return folder + L"\\" + prefix + name + L".quarantined";
}

std::wstring ExportValue(HKEY key, const std::wstring& keyPath, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return L"";
  std::vector<BYTE> data(size + 2);
  RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
  std::wstring hex;
  wchar_t b[4];
  for (DWORD i = 0; i < size; ++i) {
    wsprintfW(b, L"%02X", data[i]);
    hex += b;
  }
  return keyPath + L"\t" + (name ? name : L"") + L"\t" + std::to_wstring(type) + L"\t" + hex;
}

}  // namespace

void CEngine::CleanSlice() {
  CleanJob& job = *clean_;
  DWORD sliceStart = GetTickCount();
  while (job.next < job.actions.size() && GetTickCount() - sliceStart < kSliceMs) {
    const auto& a = job.actions[job.next++];
    bool ok = true;
    if (a.kind == L"file" || a.kind == L"cookie") {
      lastState_ = kCleaning;
      if (FileExists(a.path)) {
        std::wstring target = QuarantineName(job.quarantine, a.path);
        if (MoveFileExW(a.path.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED)) {
          AppendLine(job.quarantine + L"\\Quarantine.log", target + L"\t" + a.path);
        } else if (MoveFileExW(a.path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
          job.reboot = true;
        } else {
          ok = false;
        }
      }
    } else if (a.kind == L"regval" || a.kind == L"regkey") {
      lastState_ = kCleaningSystem;
      std::wstring sub;
      HKEY root = ParseRoot(a.path, sub);
      if (!root) {
        ok = false;
      } else if (a.kind == L"regval") {
        auto slash = sub.find_last_of(L'\\');
        std::wstring keyPart = sub.substr(0, slash), valueName = sub.substr(slash + 1);
        HKEY h = nullptr;
        if (RegOpenKeyExW(root, keyPart.c_str(), 0, KEY_READ | KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
          AppendLine(job.quarantine + L"\\Registry.txt", ExportValue(h, a.path, valueName.c_str()));
          LSTATUS st = RegDeleteValueW(h, valueName.c_str());
          ok = st == ERROR_SUCCESS || st == ERROR_FILE_NOT_FOUND;
          RegCloseKey(h);
        }
      } else {
        HKEY h = nullptr;
        if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
          wchar_t name[512];
          for (DWORD i = 0;; ++i) {
            DWORD len = 512;
            if (RegEnumValueW(h, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            AppendLine(job.quarantine + L"\\Registry.txt", ExportValue(h, a.path, name));
          }
          RegCloseKey(h);
          ok = RegDeleteTreeW(root, sub.c_str()) == ERROR_SUCCESS && RegDeleteKeyW(root, sub.c_str()) == ERROR_SUCCESS;
          if (!ok) ok = !RegistryItemExists(a.path, L"");
        }
      }
    } else if (a.kind == L"process") {
      lastState_ = kCleaningSystem;
      HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
      if (snap != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32W pe{};
        pe.dwSize = sizeof(pe);
        for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe)) {
          if (Lower(pe.szExeFile) != Lower(a.path)) continue;
          HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, pe.th32ProcessID);
          if (!p || !TerminateProcess(p, 1)) ok = false;
          if (p) CloseHandle(p);
        }
        CloseHandle(snap);
      }
    }
    if (!ok) job.failed++;
    DWORD now = GetTickCount();
    if (now - job.lastProgress >= kDetailsIntervalMs || job.next == job.actions.size()) {
      job.lastProgress = now;
      long done = long(job.next), total = long(job.actions.size()), failed = job.failed;
      long position = total ? long(done * 100 / total) : 100;
      Bstr text(a.path);
      sinks_.Fire<_ISBScanControlEvents>([&](_ISBScanControlEvents* s) {
        return s->CleanerProgressCB(done, total, failed, text.get(), position);
      });
      if (!clean_) return;
    }
  }
  if (job.next < job.actions.size()) return;
  rebootRequired_ = job.reboot;
  long reboot = job.reboot ? 1 : 0;
  if (job.actions.empty()) {
    Bstr text(L"");
    sinks_.Fire<_ISBScanControlEvents>(
        [&](_ISBScanControlEvents* s) { return s->CleanerProgressCB(0, 0, 0, text.get(), 100); });
  }
  clean_.reset();
  lastState_ = kIdle;
  FireScanState(kCleaningEnded, reboot);
  FireScanState(kCleaningComplete, reboot);
}

// ---- definitions ----------------------------------------------------------------

HRESULT CEngine::GetLocalDefVersion(unsigned long* version, BSTR* date) {
  if (!version || !date) return E_POINTER;
  *version = defs_.version;
  *date = AllocBstr(defs_.date);
  return S_OK;
}

namespace {

struct UpdateRequest {
  std::wstring address;
  bool useProxy = false;
  std::wstring proxy;
};

UpdateRequest ReadUpdateRequest() {
  UpdateRequest r;
  r.address = ReadMachineString(kStandInKey, L"UpdateAddress");
  XmlDocument doc = NewXmlDocument();
  if (r.address.empty() && LoadXmlText(doc.get(), StoredSettings(L"defs")))
    r.address = Attribute(FirstChild(DocumentElement(doc.get()).get(), L"updateServer").get(), L"address");
  XmlDocument svc = NewXmlDocument();
  if (LoadXmlText(svc.get(), StoredSettings(L"service"))) {
    XmlElement proxy = FirstChild(DocumentElement(svc.get()).get(), L"proxy");
    std::wstring server = Attribute(proxy.get(), L"server"), port = Attribute(proxy.get(), L"port");
    if (Attribute(proxy.get(), L"enabled") == L"1" && !server.empty()) {
      r.useProxy = true;
      r.proxy = port.empty() ? server : server + L":" + port;
    }
  }
  return r;
}

}  // namespace

HRESULT CEngine::RequestUpdate(bool full) {
  if (download_) {
    PostMerge(100);
    return S_OK;
  }
  UpdateRequest request = ReadUpdateRequest();
  download_ = std::make_unique<Download>();
  download_->full = full;
  FireMerge(0, full ? 6 : 5, 0, 0);
  if (!download_) return S_OK;
  Download* d = download_.get();
  HWND window = window_;
  d->worker = std::thread([d, window, request] {
    d->status = 1;
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof(parts);
    wchar_t host[256] = {}, path[2048] = {};
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    HINTERNET session = nullptr, connection = nullptr, req = nullptr;
    if (!request.address.empty() && WinHttpCrackUrl(request.address.c_str(), 0, 0, &parts)) {
      session = request.useProxy
                    ? WinHttpOpen(L"RORO/1.0", WINHTTP_ACCESS_TYPE_NAMED_PROXY, request.proxy.c_str(), L"<local>", 0)
                    : WinHttpOpen(L"RORO/1.0", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
    }
    if (session) {
      WinHttpSetTimeouts(session, 5000, 5000, 10000, 10000);
      connection = WinHttpConnect(session, host, parts.nPort, 0);
    }
    if (connection) {
      std::wstring object = path[0] ? path : L"/";
      req = WinHttpOpenRequest(connection, L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                               WINHTTP_DEFAULT_ACCEPT_TYPES,
                               parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    }
    if (req && WinHttpSendRequest(req, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
        WinHttpReceiveResponse(req, nullptr)) {
      DWORD code = 0, size = sizeof(code);
      WinHttpQueryHeaders(req, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &code, &size, nullptr);
      DWORD length = 0;
      size = sizeof(length);
      if (WinHttpQueryHeaders(req, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &length, &size, nullptr))
        d->total = long(length);
      wchar_t versionText[32] = {};
      size = sizeof(versionText);
      if (WinHttpQueryHeaders(req, WINHTTP_QUERY_CUSTOM, L"X-Definitions-Version", versionText, &size, nullptr))
        d->version = wcstoul(versionText, nullptr, 10);
      if (code == 200) {
        DWORD lastPost = 0;
        for (;;) {
          if (d->cancel) { d->status = 2; break; }
          // Read what has arrived, so that progress follows the bytes as they come.
          DWORD available = 0;
          if (!WinHttpQueryDataAvailable(req, &available)) break;
          char buf[4096];
          DWORD got = 0;
          DWORD want = available == 0 ? 1 : std::min<DWORD>(available, sizeof(buf));
          if (!WinHttpReadData(req, buf, want, &got)) break;
          if (got == 0) { d->status = 0; break; }
          d->body.append(buf, got);
          d->received = long(d->body.size());
          DWORD now = GetTickCount();
          if (now - lastPost >= kDetailsIntervalMs) {
            lastPost = now;
            PostMessageW(window, kMsgDownloadProgress, WPARAM(d->received), LPARAM(d->total));
          }
        }
      }
    }
    if (d->cancel) d->status = 2;
    if (req) WinHttpCloseHandle(req);
    if (connection) WinHttpCloseHandle(connection);
    if (session) WinHttpCloseHandle(session);
    PostMessageW(window, kMsgDownloadDone, 0, 0);
  });
  return S_OK;
}

HRESULT CEngine::CancelUpdates() {
  if (!download_) return S_FALSE;
  download_->cancel = true;
  return S_OK;
}

void CEngine::OnDownloadProgress(long received, long total) {
  if (!download_) return;
  FireMerge(download_->version, 0, total, received);
}

void CEngine::OnDownloadDone() {
  if (!download_) return;
  Download* d = download_.get();
  if (d->worker.joinable()) d->worker.join();
  // The download counts as running until its last report is out.
  struct Finish {
    std::unique_ptr<Download>& slot;
    ~Finish() { slot.reset(); }
  } finish{download_};
  if (d->status == 2) {
    FireMerge(d->version, 2, d->total, d->received);
    return;
  }
  if (d->status != 0) {
    FireMerge(d->version, 7, d->total, d->received);
    return;
  }
  FireMerge(d->version, 0, d->total ? d->total : d->received, d->received);
  std::wstring folder = DataFolder() + L"\\Definitions";
  EnsureFolder(folder);
  std::wstring temp = folder + L"\\Download.tmp";
  Definitions fresh;
  if (!WriteUtf8File(temp, d->body) || !fresh.Load(temp)) {
    DeleteFileW(temp.c_str());
    FireMerge(d->version, 7, d->total, d->received);
    return;
  }
  if (defs_.Installed() && fresh.version <= defs_.version) {
    DeleteFileW(temp.c_str());
    FireMerge(defs_.version, 4, d->total, d->received);
    return;
  }
  if (!MoveFileExW(temp.c_str(), InstalledDefinitionsPath().c_str(), MOVEFILE_REPLACE_EXISTING)) {
    FireMerge(fresh.version, 7, d->total, d->received);
    return;
  }
  defs_ = std::move(fresh);
  WriteDefVer();
  FireMerge(defs_.version, 3, d->total, d->received);
}

void CEngine::WriteDefVer() {
  std::wstring program = ReadMachineString(kStandInKey, L"ProgramFolder");
  if (program.empty()) program = ModuleFolder();
  std::wstring folder = program + L"\\Definitions";
  if (!EnsureFolder(folder)) return;
  WriteUtf8File(folder + L"\\DefVer.txt", Utf8(std::to_wstring(defs_.version) + L"," + defs_.date));
}

}  // namespace engine
