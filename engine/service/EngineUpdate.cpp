// Definitions: the local version and updates over HTTP.
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
  PostMerge(full ? 6 : 5);  // reported after the request has returned, before any progress
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
