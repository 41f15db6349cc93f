#include "ThreatDefinitionsWrapper.h"

#include <shlobj.h>

#include "BStr.h"
#include "ComError.h"
#include "EngineLibrary.h"
#include "WideFormat.h"
#include "WrapperFrame.h"

using service_wrapper::Line;
using service_wrapper::Run;
using twk::CheckHr;

namespace {

constexpr auto kDefs = &CServerConnection::ISBThreatDefinitionsInterface;
constexpr auto kService = &CServerConnection::ISBServiceInterface;
constexpr auto kUpdates = &CServerConnection::ISBSoftwareUpdatesInterface;
constexpr wchar_t kSetFailed[] =
    L"Caught an exception on the threat definitions interface cannot set the config properties.";

}  // namespace

bool CThreatDefinitionsWrapper::GetLocalDefVersion(std::wstring& version, std::wstring& date) {
  constexpr wchar_t kContext[] = L"CThreatDefinitionsWrapper::GetLocalDefVersion";
  unsigned long number = 0;
  std::wstring text;
  bool ok = false;
  CServerConnection::SynchronizeConnectionState(false);
  twk::CComPtr<ISBThreatDefinitions> defs;
  bool haveInstance = true;
  try {
    defs = CServerConnection::ISBThreatDefinitionsInterface();
  } catch (...) {
    haveInstance = false;
    Line(LOG_ERROR, kContext, L"Caught an exception in GetLocalDefVersion. Cannot get the current version.");
  }
  if (haveInstance && !defs) {
    Line(LOG_ERROR, kContext, service_wrapper::kNoConnection);
  } else if (defs) {
    try {
      twk::CBStr d;
      CheckHr(defs->GetLocalDefVersion(&number, d.put()));
      text = d.str();
      Line(LOG_VERBOSE, kContext, L"Got the local def version of %u with a date of \"%s\".", unsigned(number),
           text.c_str());
      ok = true;
    } catch (...) {
      number = 0;
      text.clear();
      Line(LOG_ERROR, kContext,
           L"Caught an exception in GetLocalDefVersion trying to get the current def version number.");
    }
  }
  version = twk::Format(L"%u", unsigned(number));
  date = text;
  return ok;
}

std::wstring CThreatDefinitionsWrapper::DownloadsFolder() {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base))) return L"";
  return std::wstring(base) + L"\\Corvanta\\VuruDazadud\\Downloads";
}

void CThreatDefinitionsWrapper::GetThreatDefUpdatesNow(bool alternative) {
  try {
    std::wstring downloads = DownloadsFolder();
    if (!downloads.empty()) SHCreateDirectoryExW(nullptr, downloads.c_str(), nullptr);  // failure ignored
  } catch (...) {
  }
  Run(L"CThreatDefinitionsWrapper::GetThreatDefUpdatesNow", true, kDefs,
      L"Caught an exception in GetThreatDefUpdatesNow trying to get the latest available defs.", false,
      [&](ISBThreatDefinitions* defs) {
        CheckHr(alternative ? defs->GetFullThreatDefUpdates() : defs->GetThreatDefUpdates());
        return true;
      });
}

void CThreatDefinitionsWrapper::CancelThreatDefUpdates() {
  Run(L"CThreatDefinitionsWrapper::CancelThreatDefUpdates", false, kDefs,
      L"Caught an exception in CancelThreatDefUpdates trying to cancel the latest available def version number.",
      false, [&](ISBThreatDefinitions* defs) {
        CheckHr(defs->CancelThreatDefUpdates());
        return true;
      });
}

twk::CComPtr<IDDZDefinitionUpdateSettings> CThreatDefinitionsWrapper::GetDefsProperties() {
  return Run(L"CThreatDefinitionsWrapper::GetDefsProperties", false, kDefs,
             L"An exception was caught in GetDefsProperties.", twk::CComPtr<IDDZDefinitionUpdateSettings>(),
             [&](ISBThreatDefinitions* defs) {
               twk::CBStr xml;
               CheckHr(defs->GetDefsProperties(xml.put()));
               return service_wrapper::SettingsFromText<IDDZDefinitionUpdateSettings>(
                   CEngineLibrary::DefinitionUpdateSettingsFactory(), xml);
             });
}

bool CThreatDefinitionsWrapper::SetDefsProperties(IDDZDefinitionUpdateSettings* settings) {
  if (!settings) return false;
  return Run(L"CThreatDefinitionsWrapper::SetDefsProperties", false, kDefs, kSetFailed, false,
             [&](ISBThreatDefinitions* defs) {
               twk::CBStr xml = twk::CBStr::Attach(settings->ToXml());
               CheckHr(defs->SetDefsProperties(xml.get()));
               return true;
             });
}

twk::CComPtr<IDDZServiceSettings> CThreatDefinitionsWrapper::GetServiceProperties() {
  return Run(L"CThreatDefinitionsWrapper::GetServiceProperties", false, kService,
             L"An exception was caught in GetServiceProperties.", twk::CComPtr<IDDZServiceSettings>(),
             [&](ISBService* service) {
               twk::CBStr xml;
               CheckHr(service->GetServiceProperties(xml.put()));
               return service_wrapper::SettingsFromText<IDDZServiceSettings>(
                   CEngineLibrary::ServiceSettingsFactory(), xml);
             });
}

bool CThreatDefinitionsWrapper::SetServiceProperties(IDDZServiceSettings* settings) {
  if (!settings) return false;
  return Run(L"CThreatDefinitionsWrapper::SetServiceProperties", false, kService, kSetFailed, false,
             [&](ISBService* service) {
               twk::CBStr xml = twk::CBStr::Attach(settings->ToXml());
               CheckHr(service->SetServiceProperties(xml.get()));
               return true;
             });
}

twk::CComPtr<IDDZSoftwareUpdateSettings> CThreatDefinitionsWrapper::GetSoftwareUpdateProperties() {
  return Run(L"CThreatDefinitionsWrapper::GetSoftwareUpdateProperties", false, kUpdates,
             L"An exception was caught in GetSoftwareUpdateProperties.", twk::CComPtr<IDDZSoftwareUpdateSettings>(),
             [&](ISBSoftwareUpdates* updates) {
               twk::CBStr xml;
               CheckHr(updates->GetSoftwareUpdateProperties(xml.put()));
               return service_wrapper::SettingsFromText<IDDZSoftwareUpdateSettings>(
                   CEngineLibrary::SoftwareUpdateSettingsFactory(), xml);
             });
}

bool CThreatDefinitionsWrapper::SetSoftwareUpdateProperties(IDDZSoftwareUpdateSettings* settings) {
  if (!settings) return false;
  return Run(L"CThreatDefinitionsWrapper::SetSoftwareUpdateProperties", false, kUpdates,
             L"An exception was caught in SetSoftwareUpdateProperties.", false, [&](ISBSoftwareUpdates* updates) {
               twk::CBStr xml = twk::CBStr::Attach(settings->ToXml());
               CheckHr(updates->SetSoftwareUpdateProperties(xml.get()));
               return true;
             });
}
