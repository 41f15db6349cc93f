#include "AboutDlg.h"

#include "FileVersionInfo.h"
#include "Resource.h"
#include "TarnwickApp.h"

namespace {
void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with) {
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
}
}  // namespace

CAboutDlg::CAboutDlg() : CTWKPopupBase(IDD_ABOUTBOX) {}

std::wstring CAboutDlg::EditionText() {
  CTarnwickApp& app = App();
  std::wstring text = app.Text(117);
  ReplaceAll(text, L"~MONTH~", app.Text(110));
  ReplaceAll(text, L"~YEAR~", app.Text(116));
  return text;
}

BOOL CAboutDlg::OnInitDialog() {
  try {
    ::SetWindowTextW(Handle(), kTarnwickSystemName);
    SetSkinBackground(RGB(255, 255, 255));
    SizeAndCentre(350, 210);
    RenderForm(L"306", L"About");
    RoundCorners();
    ShowLaidOut();
    CTarnwickApp& app = App();
    CFileVersionInfo version;
    std::wstring versionText;
    try {
      if (version.Create(app.appFolder + L"\\Tarnwick.exe")) versionText = version.GetFileVersion();
    } catch (const std::exception&) {
    }
    SetItemText(IDC_ABOUT_TITLE, app.Text(101));
    SetItemText(IDC_ABOUT_VERSION, app.Text(21240) + L" " + versionText);
    SetItemText(IDC_ABOUT_EDITION, EditionText());
    SetItemText(IDC_ABOUT_COPYRIGHT, app.Text(21241));
    SetItemText(IDC_ABOUT_OK, app.Text(21242));
  } catch (...) {
    App().ShowErrorReport(L"About.Mod", L"CAboutDlg::OnInitDialog", 96, ::GetLastError());
  }
  return FALSE;
}

bool CAboutDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (code == BN_CLICKED && (id == IDC_ABOUT_OK || id == IDC_ABOUT_CLOSE)) {
    EndDialog(IDOK);
    return true;
  }
  return CTWKPopupBase::OnCommand(id, code, control);
}
