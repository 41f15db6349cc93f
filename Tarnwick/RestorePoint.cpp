#include "RestorePoint.h"

#include "MessageStep.h"
#include "RegistryAccess.h"
#include "ResultsDiagnostics.h"
#include "SettingValues.h"

CSrClientApi::CSrClientApi() {
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    ResultsDebugOutput(L"ERROR:No system folder for SRCLIENT.DLL\n");
    return;
  }
  const std::wstring path = std::wstring(system) + L"\\SRCLIENT.DLL";
  library_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!library_) {
    ResultsDebugOutput(L"ERROR:Couldn't load SRCLIENT.DLL\n");
    return;
  }
  set_ = reinterpret_cast<SetFunction>(GetProcAddress(library_, "SRSetRestorePointW"));
  remove_ = reinterpret_cast<RemoveFunction>(GetProcAddress(library_, "SRRemoveRestorePoint"));
}

BOOL CSrClientApi::SetRestorePoint(RESTOREPOINTINFOW* request, STATEMGRSTATUS* status) {
  return set_ ? set_(request, status) : FALSE;
}

DWORD CSrClientApi::RemoveRestorePoint(DWORD sequenceNumber) {
  return remove_ ? remove_(sequenceNumber) : ERROR_PROC_NOT_FOUND;
}

CRestorePoint::CRestorePoint(std::unique_ptr<IRestorePointApi> api) : api_(std::move(api)) {}

bool CRestorePoint::Load() const {
  return api_ && api_->HasSetRestorePoint() && api_->HasRemoveRestorePoint();
}

bool CRestorePoint::IsRestoreAvailable(int osCode, const SystemRestoreLocation& where) const {
  if (!Load()) return false;
  const bool sessionRule = osCode == 6 || osCode == 61;
  DWORD value = 0;
  if (!twk::ReadDword(where.root, where.subKey.c_str(), sessionRule ? L"RPSessionInterval" : L"DisableSR", value)) {
    value = 0;
  }
  return sessionRule ? value != 0 : value == 0;
}

DWORD CRestorePoint::CreateRestorePt() {
  try {
    if (!api_ || !api_->HasSetRestorePoint()) return 0;
    RESTOREPOINTINFOW request{};
    request.dwEventType = BEGIN_SYSTEM_CHANGE;
    request.dwRestorePtType = MODIFY_SETTINGS;
    request.llSequenceNumber = 0;
    wcsncpy(request.szDescription, kRestorePointDescription, MAX_DESC_W - 1);
    STATEMGRSTATUS status{};
    if (!api_->SetRestorePoint(&request, &status)) return 0;
    request.llSequenceNumber = status.llSequenceNumber;
    request.dwEventType = END_SYSTEM_CHANGE;
    STATEMGRSTATUS endStatus{};
    api_->SetRestorePoint(&request, &endStatus);
    return static_cast<DWORD>(status.llSequenceNumber & 0xFFFFFFFFu);
  } catch (...) {
    ReportUnexpectedError(L"Restore.Mod", L"CRestorePoint::CreateRestorePt", 71);
    return 0;
  }
}

void CRestorePoint::RemoveRestorePoint(DWORD sequenceNumber) {
  if (api_ && api_->HasRemoveRestorePoint()) api_->RemoveRestorePoint(sequenceNumber);
}

namespace {

void DispatchWaitingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the message loop that owns it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void CreateRestorePointForFix(CRestorePoint& restorePoint, bool restoreAvailable, DWORD& lastRestorePoint) {
  try {
    if (!restoreAvailable) return;
    const auto& where = twk::CurrentSettingsLocation();
    twk::WriteSetting(twk::setting::kCreatingRestorePoint, L"1");
    DWORD stored = 0;
    if (twk::ReadDword(where.root, where.subKey.c_str(), twk::setting::kLastRestorePoint, stored)) {
      lastRestorePoint = stored;
    }
    if (lastRestorePoint != 0) {
      restorePoint.RemoveRestorePoint(lastRestorePoint);
      lastRestorePoint = 0;
    }
    DispatchWaitingMessages();
    const DWORD created = restorePoint.CreateRestorePt();
    if (static_cast<LONG>(created) > 0) {
      twk::WriteDword(where.root, where.subKey.c_str(), twk::setting::kLastRestorePoint, created);
      lastRestorePoint = created;
    }
    twk::WriteSetting(twk::setting::kCreatingRestorePoint, L"0");
  } catch (...) {
    twk::WriteSetting(twk::setting::kCreatingRestorePoint, L"0");
    ReportUnexpectedError(L"TWKFix.Mod", L"CTWKFixPage::CreateRestorePoint", 2048);
  }
}
