// Cost of the work done on a results file after a scan (cookie filter, ignore filter,
// building the display items) against one bare parser load + save of the same file.
// Also the per-entry ignore walk (a walk over all traces for every entry) for
// comparison, on a smaller file. Each figure is taken twice: through the engine's
// library, and through a reference object model that walks each collection once
// (SiblingWalkResults.h), which shows the filters' own cost.
//   bench_results_filter [threats traces entries]   defaults 2000 100000 5000
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CookieManagement.h"
#include "WinHandle.h"
#include "ResultsTreeBuilder.h"
#include "ScanResultsChange.h"
#include "SiblingWalkResults.h"
#include "WideFormat.h"
#include "XmlDocumentWrapper.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) out += c == L'&' ? std::wstring(L"&amp;") : std::wstring(1, c);
  return out;
}

const wchar_t* kTrackers[] = {L"doubleclick", L"atdmt", L"2o7", L"tribalfusion", L"zedo", L"mediaplex"};

// Trace i of threat t: a path, under one of four kinds. One in four cookies is listed.
std::wstring TraceValue(int t, int i) {
  if (t == 0) {
    return i % 4 == 0 ? twk::Format(L"cookie,C:\\Users\\me\\Cookies\\me@%s.net[%d].txt", kTrackers[i % 6], i)
                      : twk::Format(L"cookie,C:\\Users\\me\\Cookies\\me@site%d.example[1].txt", i);
  }
  static const wchar_t* kinds[] = {L"file", L"folder", L"registry", L"process"};
  return twk::Format(L"%s,C:\\Program Files\\Vendor %d\\component %d.dll", kinds[(t + i) % 4], t, i);
}

struct Sizes {
  int threats, traces, entries;
};

// Threat 0 collects the tracking cookies (a tenth of all traces); the others share the rest.
std::vector<int> TracesPerThreat(const Sizes& s) {
  std::vector<int> counts(static_cast<std::size_t>(s.threats), 0);
  counts[0] = s.traces / 10;
  const int rest = s.traces - counts[0];
  for (int t = 1; t < s.threats; ++t) counts[static_cast<std::size_t>(t)] = rest / (s.threats - 1) + (t <= rest % (s.threats - 1) ? 1 : 0);
  return counts;
}

void WriteUtf16(const std::wstring& path, const std::wstring& text) {
  twk::CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::wstring withBom = L"\xFEFF" + text;
  DWORD written = 0;
  WriteFile(file.get(), withBom.data(), static_cast<DWORD>(withBom.size() * sizeof(wchar_t)), &written, nullptr);
}

void WriteUtf8(const std::wstring& path, const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  twk::CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Written as the engine writes its results: UTF-8.
void WriteResults(const std::wstring& path, const Sizes& s) {
  const auto counts = TracesPerThreat(s);
  std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><threats>";
  for (int t = 0; t < s.threats; ++t) {
    xml += t == 0 ? std::wstring(L"<threat name=\"Cookie: Tracking Cookies\" level=\"5\" actionRequested=\"1\" category=\"Cookie\">")
                  : twk::Format(L"<threat name=\"Threat %d\" level=\"%d\" actionRequested=\"1\" category=\"Adware\">", t, 1 + t % 5);
    xml += L"<threatAdviceDetails>Remove it.</threatAdviceDetails>";
    for (int i = 0; i < counts[static_cast<std::size_t>(t)]; ++i) {
      xml += L"<trace dispValue=\"" + Escaped(TraceValue(t, i)) + L"\"/>";
    }
    xml += L"</threat>";
  }
  WriteUtf8(path, xml + L"</threats>");
}

// Every other entry names a trace of the file (in other letter case), the rest nothing.
void WriteIgnoreList(const std::wstring& path, const Sizes& s) {
  const auto counts = TracesPerThreat(s);
  std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Configuration><Traces>";
  for (int e = 0; e < s.entries; ++e) {
    std::wstring entry;
    if (e % 2 == 0) {
      const int t = 1 + (e / 2) % (s.threats - 1);
      const int i = (e / 2 / (s.threats - 1)) % counts[static_cast<std::size_t>(t)];
      entry = IgnoreKeyOfTraceValue(TraceValue(t, i));
      CharUpperBuffW(entry.data(), static_cast<DWORD>(entry.size()));
    } else {
      entry = twk::Format(L"C:\\Elsewhere\\not found %d.exe", e);
    }
    xml += L"<trace DispValue=\"" + Escaped(entry) + L"\"/>";
  }
  WriteUtf16(path, xml + L"</Traces></Configuration>");
}

void WriteCookieDatabase(const std::wstring& path) {
  std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Configuration><Traces>";
  for (const wchar_t* tracker : kTrackers) xml += L"<trace DispValue=\"" + std::wstring(tracker) + L"\"/>";
  WriteUtf16(path, xml + L"</Traces></Configuration>");
}

// The ignore filter as first written: every entry walks all traces of every threat.
void ApplyIgnoreListPerEntry(CCookieManagement& cookies, ScanResultsState& state, const ResultsFactoryProvider& factory) {
  ChangeScanResults(state.resultsPath, factory, [&](IDDZThreat& threat) {
    auto traces = twk::CComPtr<IDDZTraceCollection>::Attach(threat.Traces());
    for (const auto& entry : cookies.ignoreList) {
      traces->Reset();
      while (auto trace = twk::CComPtr<IDDZTrace>::Attach(traces->Next())) {
        if (CompareStringOrdinal(IgnoreKeyOfTraceValue(TakeBstr(trace->Value())).c_str(), -1, entry.c_str(), -1,
                                 TRUE) == CSTR_EQUAL &&
            traces->Remove(trace.get()) == S_OK) {
          state.OnIgnoredTraceRemoved();
          cookies.changed = true;
        }
      }
    }
    if (traces->Count() == 0) threat.SetActionRequested(2);
  });
}

std::string FileBytes(const std::wstring& path) {
  twk::CFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (file && ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

struct Run {
  double seconds, cookieFilter, ignoreFilter, items;  // cookieFilter: both filters in the one-pass run
  uint32_t remaining;
  std::size_t itemCount;
};

Run FiltersAndItems(const std::wstring& folder, const std::wstring& results, bool perEntry,
                    const ResultsFactoryProvider& factory) {
  CCookieManagement cookies(folder, factory);
  cookies.PopulateIgnoreList();
  ScanResultsState state;
  state.resultsPath = results;
  state.itemsFound = state.itemsRemaining = 1000000;
  const auto start = Now();
  if (perEntry) {
    cookies.ApplyCookieFilter(state);
  } else {
    // What the end of a scan runs: both filters over one opening of the file.
    cookies.ApplyCookieFilterAndIgnoreList(state);
  }
  const auto cookiesDone = Now();
  if (perEntry) ApplyIgnoreListPerEntry(cookies, state, factory);
  const auto ignoreDone = Now();
  CXmlDocumentWrapper display;
  display.Load(state.resultsPath);
  const auto items = BuildResultsTree(display.Root());
  const auto end = Now();
  return {Seconds(start, end), Seconds(start, cookiesDone), Seconds(cookiesDone, ignoreDone), Seconds(ignoreDone, end),
          state.itemsRemaining, items.size()};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Sizes big{2000, 100000, 5000};
  if (argc >= 4) big = {_wtoi(argv[1]), _wtoi(argv[2]), _wtoi(argv[3])};
  const Sizes small{big.threats / 20 + 1, big.traces / 20, big.entries / 20};

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = twk::Format(L"%stwk-results-bench-%lu", temp, GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring results = folder + L"\\ScanResults.xml";
  WriteCookieDatabase(folder + L"\\" + kCookiesDatabaseFile);
  WriteIgnoreList(folder + L"\\" + kIgnoreListFile, big);
  WriteResults(results, big);

  // One bare load + save.
  auto start = Now();
  {
    CXmlDocumentWrapper doc;
    doc.Load(results);
    doc.Save(folder + L"\\Bare.xml");
  }
  const double bare = Seconds(start, Now());
  wprintf(L"results file: %d threats, %d traces; ignore list %d entries\n", big.threats, big.traces, big.entries);
  wprintf(L"bare load + save:                         %8.3f s\n", bare);

  const std::wstring resultsCopy = folder + L"\\ScanResultsCopy.xml";
  CopyFileW(results.c_str(), resultsCopy.c_str(), FALSE);
  const struct {
    const wchar_t* name;
    ResultsFactoryProvider factory;
    std::wstring file;
  } models[] = {{L"reference object model", bench::SiblingWalkFactory, resultsCopy},
                {L"engine library", GetScanResultsFactory, results}};
  for (const auto& model : models) {
    const Run run = FiltersAndItems(folder, model.file, false, model.factory);
    wprintf(L"%ls:\n", model.name);
    wprintf(L"  cookie filter + ignore filter + items:  %8.3f s  (%zu items, %u traces removed)\n", run.seconds,
            run.itemCount, 1000000u - run.remaining);
    wprintf(L"  of which both filters %.3f s, display items %.3f s\n", run.cookieFilter, run.items);
    wprintf(L"  ratio:                                  %8.2f  (target <= 3)\n", run.seconds / bare);
  }
  fflush(stdout);

  // The per-entry walk against the one-pass filter on a smaller file: same outcome, time.
  WriteIgnoreList(folder + L"\\" + kIgnoreListFile, small);
  wprintf(L"smaller file: %d threats, %d traces; ignore list %d entries\n", small.threats, small.traces, small.entries);
  bool allSame = true;
  for (const auto& model : models) {
    const std::wstring smallA = folder + L"\\SmallA.xml";
    const std::wstring smallB = folder + L"\\SmallB.xml";
    WriteResults(smallA, small);
    WriteResults(smallB, small);
    const Run fast = FiltersAndItems(folder, smallA, false, model.factory);
    const Run slow = FiltersAndItems(folder, smallB, true, model.factory);
    const bool same = FileBytes(smallA) == FileBytes(smallB) && fast.remaining == slow.remaining;
    allSame = allSame && same;
    wprintf(L"  %ls: one pass %.3f s, per entry %.3f s (same result: %ls)\n", model.name, fast.seconds, slow.seconds,
            same ? L"yes" : L"NO");
  }
  return allSame ? 0 : 1;
}
