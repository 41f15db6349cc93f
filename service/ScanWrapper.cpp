#include "ScanWrapper.h"

#include "BStr.h"
#include "ClientLog.h"
#include "ComError.h"
#include "EngineLibrary.h"
#include "WrapperFrame.h"

using service_wrapper::Line;
using service_wrapper::Run;
using twk::CheckHr;

namespace {

constexpr auto kScan = &CServerConnection::ISBScanControlInterface;

bool Simple(const wchar_t* context, bool force, const wchar_t* calling, const wchar_t* returned,
            const wchar_t* exceptionMessage, HRESULT (STDMETHODCALLTYPE ISBScanControl::*method)()) {
  return Run(context, force, kScan, exceptionMessage, false, [&](ISBScanControl* scan) {
    Line(LOG_VERBOSE, context, calling);
    HRESULT hr = CheckHr((scan->*method)());
    Line(LOG_VERBOSE, context, returned, hr);
    return true;
  });
}

std::wstring TrimTrailingBlanks(std::wstring text) {
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.pop_back();
  return text;
}

}  // namespace

bool CScanWrapper::PurgeHistory() {
  constexpr wchar_t kContext[] = L"CScanWrapper::PurgeHistory";
  return Run(kContext, false, kScan, L"Caught an exception while calling PurgeHistory().", false,
             [&](ISBScanControl* scan) {
               Line(LOG_VERBOSE, kContext, L"Calling PurgeHistory.");
               HRESULT hr = CheckHr(scan->PurgeHistory(0));
               Line(LOG_VERBOSE, kContext, L"PurgeHistory() returned 0x%08X.", hr);
               return true;
             });
}

bool CScanWrapper::StartScan(long kind) {
  constexpr wchar_t kContext[] = L"CScanWrapper::StartScan";
  return Run(kContext, true, kScan, L"Caught an exception while calling Scan().", false, [&](ISBScanControl* scan) {
    Line(LOG_VERBOSE, kContext, L"Calling Scan(\"%d\").", int(kind));
    HRESULT hr = CheckHr(scan->Scan(kind));
    Line(LOG_VERBOSE, kContext, L"Scan(\"%d\") returned 0x%08X.", int(kind), hr);
    return true;
  });
}

bool CScanWrapper::AbortScan() {
  return Simple(L"CScanWrapper::AbortScan", false, L"Calling Abort().", L"Abort() returned 0x%08X.",
                L"Caught an exception while calling Abort().", &ISBScanControl::Abort);
}

bool CScanWrapper::PauseScan() {
  return Simple(L"CScanWrapper::PauseScan", false, L"Calling Pause().", L"Pause() returned 0x%08X.",
                L"Caught an exception while calling Pause().", &ISBScanControl::Pause);
}

bool CScanWrapper::ResumeScan() {
  return Simple(L"CScanWrapper::ResumeScan", false, L"Calling Resume().", L"Resume() returned 0x%08X.",
                L"Caught an exception while calling Resume().", &ISBScanControl::Resume);
}

twk::CComPtr<IDDZThreatEngineSettings> CScanWrapper::GetScanProperties() {
  return Run(L"CScanWrapper::GetScanProperties", false, kScan,
             L"An exception was caught in GetScanProperties. The COM method GetConfig most likely failed.",
             twk::CComPtr<IDDZThreatEngineSettings>(), [&](ISBScanControl* scan) {
               twk::CBStr xml;
               CheckHr(scan->GetScanProperties(xml.put()));
               return service_wrapper::SettingsFromText<IDDZThreatEngineSettings>(
                   CEngineLibrary::ThreatEngineSettingsFactory(), xml);
             });
}

bool CScanWrapper::SetScanProperties(IDDZThreatEngineSettings* settings) {
  if (!settings) return false;
  return Run(L"CScanWrapper::SetScanProperties", false, kScan, L"An exception was caught in SetScanProperties.",
             false, [&](ISBScanControl* scan) {
               twk::CBStr xml = twk::CBStr::Attach(settings->ToXml());
               CheckHr(scan->SetScanProperties(xml.get()));
               return true;
             });
}

std::wstring CScanWrapper::GetLastScanResultsPath() {
  return Run(L"CScanWrapper::GetLastScanResultsPath", false, kScan,
             L"An exception was caught calling GetLastScanResultsPath().", std::wstring(),
             [&](ISBScanControl* scan) {
               twk::CBStr path;
               CheckHr(scan->GetLastScanResultsPath(path.put()));
               return path.str();
             });
}

bool CScanWrapper::GetScanCounts(unsigned long& cookiesFound, unsigned long& registryFound,
                                 unsigned long& processesFound, unsigned long& filesFound,
                                 unsigned long& scanned1, unsigned long& scanned2, unsigned long& scanned3,
                                 unsigned long& scanned4, unsigned long& other1, unsigned long& other2,
                                 unsigned long& other3) {
  return Run(L"CScanWrapper::GetScanCounts", false, kScan,
             L"An exception was caught calling ISBScanControlPtr::GetScanCounts()", false,
             [&](ISBScanControl* scan) {
               long c[11] = {};
               CheckHr(scan->GetScanCounts(&c[0], &c[1], &c[2], &c[3], &c[4], &c[5], &c[6], &c[7], &c[8], &c[9],
                                           &c[10]));
               unsigned long* out[11] = {&cookiesFound, &registryFound, &processesFound, &filesFound,
                                         &scanned1,     &scanned2,      &scanned3,       &scanned4,
                                         &other1,       &other2,        &other3};
               for (int i = 0; i < 11; ++i) *out[i] = static_cast<unsigned long>(c[i]);
               return true;
             });
}

bool CScanWrapper::PerformClean(const std::wstring& resultsPath) {
  if (resultsPath.empty()) return false;
  return Run(L"CScanWrapper::PerformClean", true, kScan, L"An exception was caught calling ISBScanControlPtr::Clean()",
             false, [&](ISBScanControl* scan) {
               twk::CBStr path(resultsPath);
               CheckHr(scan->Clean(path.get()));
               return true;
             });
}

bool CScanWrapper::GetScanState(unsigned long& state, bool& rebootRequired) {
  constexpr wchar_t kContext[] = L"CScanWrapper::GetScanState";
  return Run(kContext, false, kScan, L"Caught an exception while calling GetScanState().", false,
             [&](ISBScanControl* scan) {
               long s = 0, reboot = 0;
               HRESULT hr = CheckHr(scan->GetScanState(&s, &reboot));
               Line(LOG_VERBOSE, kContext, L"GetScanState() returned hr = 0x%08X, state = %u, and reboot required = %u",
                    hr, unsigned(s), unsigned(reboot));
               state = static_cast<unsigned long>(s);
               rebootRequired = reboot != 0;
               return true;
             });
}

// ---- scan profiles --------------------------------------------------------------

namespace {

// The profile options 1..20 by kind: '0' false, '1' true, '-' not set; for the custom
// kind 'F' files and folders, 'C' cookies, 'P' processes, 'R' registry.
constexpr const char* kProfileOptions[3] = {
    "0111010100100-10000-",
    "1011110100101-10100-",
    "F0CPPR01000011F0F000",
};

}  // namespace

void CScanWrapper::ConfigureScanSettings(long kind, const CustomScanSelection& custom) {
  if (kind < 0 || kind > 2) return;
  twk::CComPtr<IDDZThreatEngineSettings> settings = GetScanProperties();
  if (!settings) return;
  try {
    settings->SetGeneralOption(1, FALSE);
    settings->SetGeneralOption(2, TRUE);
    settings->SetGeneralOption(3, TRUE);
    auto profiles = twk::CComPtr<IDDZScanProfileList>::Attach(settings->Profiles());
    if (!profiles) return;
    auto profile = twk::CComPtr<IDDZScanProfile>::Attach(profiles->Find(kind));
    if (!profile) profile = twk::CComPtr<IDDZScanProfile>::Attach(profiles->Add(kind));
    if (!profile) return;
    const char* table = kProfileOptions[kind];
    for (long option = 1; option <= 20; ++option) {
      char code = table[option - 1];
      bool value = false;
      switch (code) {
        case '-': continue;
        case '0': value = false; break;
        case '1': value = true; break;
        case 'F': value = custom.filesAndFolders; break;
        case 'C': value = custom.cookies; break;
        case 'P': value = custom.processes; break;
        case 'R': value = custom.registry; break;
      }
      profile->SetOption(option, value ? TRUE : FALSE);
    }
    if (kind == 2) {
      auto locations = twk::CComPtr<IDDZScanLocationList>::Attach(settings->Locations());
      if (locations) {
        locations->Clear();
        if (custom.filesAndFolders) {
          if (custom.foldersLoaded) {
            for (const auto& folder : custom.folders) {
              std::wstring path = TrimTrailingBlanks(folder);
              DWORD attributes = GetFileAttributesW(path.c_str());
              bool directory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
              locations->Add(path.c_str(), 4, 1, directory ? 6 : 2, 0);
            }
          }
          if (custom.fileTypesLoaded) {
            for (const auto& type : custom.fileTypes) {
              std::wstring bare;
              for (wchar_t c : type)
                if (c != L'.') bare += c;
              std::wstring path = L"*" + TrimTrailingBlanks(bare);
              locations->Add(path.c_str(), 4, 1, 5, 0);
            }
          }
        }
      }
    }
  } catch (...) {
    return;
  }
  SetScanProperties(settings.get());
}
