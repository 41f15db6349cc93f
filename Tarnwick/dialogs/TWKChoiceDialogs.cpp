#include "TWKChoiceDialogs.h"

#include "PrivateMessages.h"
#include "Resource.h"
#include "TarnwickApp.h"

CTWKScanRecommendedDlg::CTWKScanRecommendedDlg() : CTWKPopupBase(IDD_SCANRECOMMENDED) {}

BOOL CTWKScanRecommendedDlg::OnInitDialog() {
  CreateUI();
  return FALSE;
}

void CTWKScanRecommendedDlg::CreateUI() {
  try {
    ::SetWindowTextW(Handle(), kTarnwickSystemName);
    SetSkinBackground(RGB(255, 255, 255));
    SizeAndCentre(380, 170);
    RenderForm(L"296", L"ScanRecommended");
    RoundCorners();
    ShowLaidOut();
    CTarnwickApp& app = App();
    SetItemText(1388, app.Text(21028));
    SetItemText(1389, app.Text(21029));
    SetItemText(1519, app.Text(2036));
  } catch (...) {
    App().ShowErrorReport(L"ScanReco.Mod", L"CTWKScanRecommendedDlg::CreateUI", 224, ::GetLastError());
  }
}

bool CTWKScanRecommendedDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (code == BN_CLICKED && (id == 1248 || id == 1519)) {
    if (wl::CWindow* frame = App().GetMainWindow()) frame->PostMessage(WM_TWK_COMPULSORYSCAN);
    EndDialog(1);
    return true;
  }
  if (code == BN_CLICKED && id == 1013) {
    EndDialog(2);
    return true;
  }
  return CTWKPopupBase::OnCommand(id, code, control);
}

CTWKStopRecommendedDlg::CTWKStopRecommendedDlg() : CTWKPopupBase(IDD_STOPRECOMMENDED) {}

BOOL CTWKStopRecommendedDlg::OnInitDialog() {
  CreateUI();
  return FALSE;
}

void CTWKStopRecommendedDlg::CreateUI() {
  try {
    ::SetWindowTextW(Handle(), kTarnwickSystemName);
    SetSkinBackground(RGB(255, 255, 255));
    SizeAndCentre(380, 170);
    RenderForm(L"298", L"StopScanRecommended");
    RoundCorners();
    ShowLaidOut();
    CTarnwickApp& app = App();
    SetItemText(1391, app.Text(21026));
    SetItemText(1392, app.Text(21027));
    SetItemText(kStop, app.Text(21030));
    SetItemText(kGoOn, app.Text(21031));
  } catch (...) {
    App().ShowErrorReport(L"StopScan.Mod", L"CTWKStopRecommendedDlg::CreateUI", 233, ::GetLastError());
  }
}

bool CTWKStopRecommendedDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (code == BN_CLICKED && (id == kStop || id == kGoOn || id == 1013)) {
    EndDialog(id == 1013 ? 2 : id);
    return true;
  }
  return CTWKPopupBase::OnCommand(id, code, control);
}
