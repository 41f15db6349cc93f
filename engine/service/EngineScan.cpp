// Scanning: the phases, matching against the definitions, the results file.
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
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;  // links lead elsewhere
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
      // The engine's own files (definitions, results, quarantine) are not scanned.
      if (lowerFolder == Lower(DataFolder())) excluded = true;
      if (excluded) continue;
      WIN32_FIND_DATAW fd;
      HANDLE f = FindFirstFileW(JoinPath(folder, L"*").c_str(), &fd);
      if (f != INVALID_HANDLE_VALUE) {
        do {
          std::wstring name = fd.cFileName;
          if (name == L"." || name == L"..") continue;
          // Links (under Wine, the user folders that point into the host) are not followed.
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

}  // namespace engine
