#pragma once
// The system restore point taken while threats are removed. The program keeps one
// point of its own: before making a new one it removes the one it made last.
#include <windows.h>
#include <srrestoreptapi.h>

#include <memory>
#include <string>

inline constexpr wchar_t kSystemRestoreKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore";
inline constexpr wchar_t kRestorePointDescription[] = L"Tarnwick before removal";

// The two functions of the system's restore-point client.
class IRestorePointApi {
 public:
  virtual ~IRestorePointApi() = default;
  virtual bool HasSetRestorePoint() const = 0;
  virtual bool HasRemoveRestorePoint() const = 0;
  virtual BOOL SetRestorePoint(RESTOREPOINTINFOW* request, STATEMGRSTATUS* status) = 0;
  virtual DWORD RemoveRestorePoint(DWORD sequenceNumber) = 0;
};

// SRCLIENT.DLL from the system folder (never from the program folder or the current
// directory, where a planted copy could run inside the program). Loaded once, never
// unloaded.
class CSrClientApi : public IRestorePointApi {
 public:
  CSrClientApi();
  bool Loaded() const { return library_ != nullptr; }
  bool HasSetRestorePoint() const override { return set_ != nullptr; }
  bool HasRemoveRestorePoint() const override { return remove_ != nullptr; }
  BOOL SetRestorePoint(RESTOREPOINTINFOW* request, STATEMGRSTATUS* status) override;
  DWORD RemoveRestorePoint(DWORD sequenceNumber) override;

 private:
  using SetFunction = BOOL(WINAPI*)(RESTOREPOINTINFOW*, STATEMGRSTATUS*);
  using RemoveFunction = DWORD(WINAPI*)(DWORD);
  HMODULE library_ = nullptr;
  SetFunction set_ = nullptr;
  RemoveFunction remove_ = nullptr;
};

struct SystemRestoreLocation {
  HKEY root = HKEY_LOCAL_MACHINE;
  std::wstring subKey = kSystemRestoreKey;
};

class CRestorePoint {
 public:
  explicit CRestorePoint(std::unique_ptr<IRestorePointApi> api = std::make_unique<CSrClientApi>());

  // True when both functions are there; otherwise System Restore counts as unavailable.
  bool Load() const;
  // Codes 6 and 61: RPSessionInterval not 0; others: DisableSR 0. A missing value
  // reads as 0. Unavailable too when a function of the client is missing.
  bool IsRestoreAvailable(int osCode, const SystemRestoreLocation& where = {}) const;
  // Begin and end of a system change; the new point's number, 0 when refused.
  DWORD CreateRestorePt();
  // Removes a point made earlier; skipped when the function is missing.
  void RemoveRestorePoint(DWORD sequenceNumber);

 private:
  std::unique_ptr<IRestorePointApi> api_;
};

// The restore step of a fix: CreatingRestorePoint "1", the previous point removed,
// waiting window messages dispatched, the new point made and recorded in
// LastRestorePoint, CreatingRestorePoint "0". Nothing when restore is not available.
void CreateRestorePointForFix(CRestorePoint& restorePoint, bool restoreAvailable, DWORD& lastRestorePoint);
