// Cleaning: quarantine of files, export and removal of registry items, ending processes.
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

}  // namespace engine
