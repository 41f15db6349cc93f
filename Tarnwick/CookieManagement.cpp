#include "CookieManagement.h"

#include <windows.h>

#include <functional>
#include <unordered_set>

#include "ClientLog.h"
#include "MessageStep.h"
#include "RiskClass.h"
#include "ScanResultsChange.h"
#include "TarnwickApp.h"

namespace {

// The case folding behind "without regard to case".
std::wstring Folded(const std::wstring& text) {
  std::wstring folded = text;
  if (!folded.empty()) CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
  return folded;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && Folded(a) == Folded(b);
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> TraceValues(const CXmlDocumentWrapper& doc) {
  std::vector<std::wstring> values;
  CXmlNodeListWrapper traces = doc.SelectNodes(L"//trace[@DispValue]");
  const long count = traces.Count();
  values.reserve(static_cast<std::size_t>(count));
  for (long i = 0; i < count; ++i) values.push_back(traces.GetValue(i, L"DispValue"));
  return values;
}

}  // namespace

CCookieManagement::CCookieManagement(std::wstring programFolder, ResultsFactoryProvider factory)
    : folder_(std::move(programFolder)), factory_(std::move(factory)) {
  comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  writer_.Create();
  reader_.Create();
  spare_.Create();
}

CCookieManagement::~CCookieManagement() {
  writer_ = {};
  reader_ = {};
  spare_ = {};
  if (comInitialised_) CoUninitialize();
}

std::vector<std::wstring> CCookieManagement::ReadTraceList(const std::wstring& path) {
  CXmlDocumentWrapper doc;
  if (!FileExists(path) || !doc.Load(path)) return {};
  return TraceValues(doc);
}

bool CCookieManagement::KeepAsideIfUnreadable(const std::wstring& path) {
  if (!FileExists(path)) return true;
  CXmlDocumentWrapper probe;
  if (probe.Load(path)) return true;
  std::wstring aside = path + L".unreadable";
  for (int n = 2; FileExists(aside) && n < 1000; ++n) aside = path + L".unreadable-" + std::to_wstring(n);
  if (!MoveFileExW(path.c_str(), aside.c_str(), 0)) {
    ClientLog(LOG_ERROR, kTarnwickSystemName, L"CCookieManagement::KeepAsideIfUnreadable",
              L"%s cannot be read and cannot be moved aside (error %lu); it is left as it is.", path.c_str(),
              GetLastError());
    return false;
  }
  ClientLog(LOG_ERROR, kTarnwickSystemName, L"CCookieManagement::KeepAsideIfUnreadable",
            L"%s cannot be read; it was kept as %s and a new list is started.", path.c_str(), aside.c_str());
  return true;
}

void CCookieManagement::PopulateIgnoreList() {
  try {
    const std::wstring path = IgnoreListPath();
    if (!FileExists(path)) return;
    if (!reader_.Load(path)) {
      KeepAsideIfUnreadable(path);
      return;
    }
    for (auto& value : TraceValues(reader_)) ignoreList.push_back(std::move(value));
  } catch (...) {
    ReportUnexpectedError(L"CookieMgmt.Mod", L"CCookieManagement::PopulateIgnoreList", 250);
  }
}

void CCookieManagement::PopulateFilterDatabase() {
  try {
    filterDatabase.clear();
    const std::wstring path = CookiesDatabasePath();
    if (FileExists(path) && reader_.Load(path)) filterDatabase = TraceValues(reader_);
  } catch (...) {
    ReportUnexpectedError(L"CookieMgmt.Mod", L"CCookieManagement::PopulateFilterDatabase", 276);
  }
}

bool CCookieManagement::CreateIgnoreXML() {
  try {
    const std::wstring path = IgnoreListPath();
    // A list that could not be read must not be replaced by what memory holds.
    if (!KeepAsideIfUnreadable(path)) return false;
    if (!writer_.CreateConfigurationDocument()) return false;
    CXmlNodeWrapper traces = writer_.Root().AppendChild(writer_.CreateElement(L"Traces"));
    for (const auto& entry : ignoreList) {
      traces.AppendChild(writer_.CreateElement(L"trace")).SetValue(L"DispValue", entry);
    }
    return writer_.SaveAsUtf16(path);
  } catch (...) {
    ReportUnexpectedError(L"CookieMgmt.Mod", L"CCookieManagement::CreateIgnoreXML", 99);
    return false;
  }
}

bool CCookieManagement::AddIgnoreEntry(const std::wstring& entry) {
  for (const auto& existing : ignoreList) {
    if (SameIgnoringCase(existing, entry)) return true;
  }
  ignoreList.push_back(entry);
  return true;
}

bool CCookieManagement::RemoveIgnoreEntry(const std::wstring& entry) {
  for (auto it = ignoreList.begin(); it != ignoreList.end(); ++it) {
    if (SameIgnoringCase(*it, entry)) {
      ignoreList.erase(it);
      break;
    }
  }
  return true;
}

// The per-threat work of both filters, so that they can share one opening of the file.
class CCookieManagement::CFilters {
 public:
  CFilters(CCookieManagement& owner, ScanResultsState& state) : owner_(owner), state_(state) {}

  // One pass over the traces, each looked up in a set of the entries.
  void UseIgnoreList() {
    ignored_.reserve(owner_.ignoreList.size() * 2);
    for (const auto& entry : owner_.ignoreList) ignored_.insert(Folded(entry));
    ignoring_ = true;
  }
  void UseCookieFilter() {
    owner_.PopulateFilterDatabase();
    filteringCookies_ = true;
  }

  void operator()(IDDZThreat& threat) {
    auto traces = twk::CComPtr<IDDZTraceCollection>::Attach(threat.Traces());
    if (!traces) return;
    const bool cookies = filteringCookies_ && TakeBstr(threat.Name()) == kTrackingCookiesThreat;
    const bool ignore = ignoring_ && !ignored_.empty();
    if (cookies || ignore) {
      traces->Reset();
      while (auto trace = twk::CComPtr<IDDZTrace>::Attach(traces->Next())) {
        const std::wstring value = TakeBstr(trace->Value());
        if (cookies && !Listed(value)) {
          if (traces->Remove(trace.get()) == S_OK) {
            state_.OnCookieTraceRemoved();
            owner_.changed = true;
          }
        } else if (ignore && ignored_.count(Folded(IgnoreKeyOfTraceValue(value))) != 0) {
          if (traces->Remove(trace.get()) == S_OK) {
            state_.OnIgnoredTraceRemoved();
            owner_.changed = true;
          }
        }
      }
    }
    // The ignore filter leaves every threat without traces alone, the cookie filter
    // only its own threat.
    if ((ignoring_ || cookies) && traces->Count() == 0) threat.SetActionRequested(2);
  }

 private:
  bool Listed(const std::wstring& value) const {
    for (const auto& entry : owner_.filterDatabase) {
      if (value.find(entry) != std::wstring::npos) return true;
    }
    return false;
  }
  CCookieManagement& owner_;
  ScanResultsState& state_;
  std::unordered_set<std::wstring> ignored_;
  bool ignoring_ = false;
  bool filteringCookies_ = false;
};

void CCookieManagement::ApplyIgnoreList(ScanResultsState& state) {
  CFilters filters(*this, state);
  filters.UseIgnoreList();
  ChangeScanResults(state.resultsPath, factory_, std::ref(filters));
}

void CCookieManagement::ApplyCookieFilter(ScanResultsState& state) {
  CFilters filters(*this, state);
  filters.UseCookieFilter();
  ChangeScanResults(state.resultsPath, factory_, std::ref(filters));
}

void CCookieManagement::ApplyCookieFilterAndIgnoreList(ScanResultsState& state) {
  CFilters filters(*this, state);
  filters.UseCookieFilter();
  filters.UseIgnoreList();
  ChangeScanResults(state.resultsPath, factory_, std::ref(filters));
}
