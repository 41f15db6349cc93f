#include "TWKWarningDlg.h"

#include "MainFrame.h"
#include "PrivateMessages.h"
#include "Resource.h"
#include "SettingValues.h"
#include "TarnwickApp.h"
#include "TarnwickView.h"

namespace {
std::wstring WithNumber(std::wstring text, const std::wstring& number) {
  const auto at = text.find(L"%d");
  if (at != std::wstring::npos) text.replace(at, 2, number);
  return text;
}
}  // namespace

CTWKWarningDlg::CTWKWarningDlg() : CTWKPopupBase(IDD_WARNING) {}

std::wstring CTWKWarningDlg::HeadlineCount(int exiting, const std::wstring& errorsFound, unsigned itemsFound) {
  if (exiting == 1) return (errorsFound.empty() || errorsFound == L"0") ? std::wstring() : errorsFound;
  return itemsFound ? std::to_wstring(itemsFound) : std::wstring();
}

BOOL CTWKWarningDlg::OnInitDialog() {
  CreateUI();
  return FALSE;
}

void CTWKWarningDlg::CreateUI() {
  try {
    ::SetWindowTextW(Handle(), kTarnwickSystemName);
    SetSkinBackground(RGB(255, 255, 255));
    SizeAndCentre(400, 210);
    RenderForm(L"303", L"Warning");
    RoundCorners();
    ShowLaidOut();
    CTarnwickApp& app = App();
    const std::wstring count =
        HeadlineCount(app.exiting, twk::ReadSetting(twk::setting::kErrorsFound), app.results.itemsFound);
    // Without a count the headline keeps its general wording.
    SetItemText(1074, count.empty() ? app.Text(21253) : WithNumber(app.Text(21036), count));
    SetItemText(1075, app.Text(21037));
    SetItemText(1076, app.Text(21038));
    SetItemText(1302, app.Text(19987));
    SetItemText(1013, app.Text(21246));
    SetItemText(1014, app.Text(2036));
  } catch (...) {
    App().ShowErrorReport(L"Warning.Mod", L"CTWKWarningDlg::CreateUI", 404, ::GetLastError());
  }
}

void CTWKWarningDlg::CloseAndShowMain() {
  CTarnwickApp& app = App();
  EndDialog(IDOK);
  app.startupDialogShown = 0;
  app.ShowMainWindow();
}

void CTWKWarningDlg::OnClose() {
  CTarnwickApp& app = App();
  if (app.exiting == 1) {
    EndDialog(IDCANCEL);
    app.QuitApplication();
    return;
  }
  CloseAndShowMain();
  app.StartScheduleTimer();
}

bool CTWKWarningDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (code != BN_CLICKED) return CTWKPopupBase::OnCommand(id, code, control);
  CTarnwickApp& app = App();
  switch (id) {
    case 1013:  // Fix
      try {
        app.exiting = 0;
        CloseAndShowMain();
        app.InitTrayAndBalloon();
        app.StartScheduleTimer();
        if (CTarnwickView* view = app.MainView()) view->FixNow();
      } catch (...) {
        app.ShowErrorReport(L"Warning.Mod", L"CTWKWarningDlg::OnBnClickedWarningBtnfix", 461, ::GetLastError());
      }
      return true;
    case 1014:  // Scan
      app.exiting = 0;
      CloseAndShowMain();
      app.StartScheduleTimer();
      app.GetCompulsaryScantype();
      if (wl::CWindow* frame = app.GetMainWindow()) frame->PostMessage(WM_TWK_COMPULSORYSCAN);
      return true;
    case 1302:  // Options
      app.exiting = 0;
      CloseAndShowMain();
      app.StartScheduleTimer();
      app.ShowOptionsScreen();
      return true;
    case 1248:
      OnClose();
      return true;
    default:
      return CTWKPopupBase::OnCommand(id, code, control);
  }
}
