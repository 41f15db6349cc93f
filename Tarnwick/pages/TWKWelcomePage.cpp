#include "TWKWelcomePage.h"

#include "PrivateMessages.h"
#include "Resource.h"
#include "TWKButton.h"
#include "TWKRenderer.h"
#include "TWKStatic.h"
#include "TarnwickApp.h"

namespace {
constexpr int kTipIds[] = {IDC_WELCOME_TIP1, IDC_WELCOME_TIP2, IDC_WELCOME_TIP3, IDC_WELCOME_TIP4};
constexpr int kTipTexts[][2] = {{19944, 21019}, {19946, 21020}, {19945, 21021}, {2051, 21022}};

std::wstring Trimmed(std::wstring text) {
  const auto first = text.find_first_not_of(L" \t\r\n");
  if (first == std::wstring::npos) return {};
  const auto last = text.find_last_not_of(L" \t\r\n");
  return text.substr(first, last - first + 1);
}
}  // namespace

CTWKWelcomePage::CTWKWelcomePage() : CTWKPropertyPage(IDD_WELCOME_PAGE) {}

BOOL CTWKWelcomePage::OnInitDialog() {
  try {
    for (size_t i = 0; i < tips_.size(); ++i) tips_[i].SubclassDlgItem(kTipIds[i], Handle());
    AttachSkinnedChildren();
    CreateUI();
    SetXMLCaptionText();
  } catch (...) {
    App().ShowErrorReport(L"TWKWelcome.Mod", L"CTWKWelcomePage::OnInitDialog", 118, ::GetLastError());
  }
  return FALSE;
}

void CTWKWelcomePage::CreateUI() {
  CTWKRenderer renderer;
  renderer.RenderFormFromResource(L"304", L"Welcome", Handle());
  for (int id : {IDC_WELCOME_SCAN, IDC_WELCOME_SCAN2}) {
    if (auto* button = dynamic_cast<CTWKButton*>(wl::CWindow::FromHandle(GetDlgItem(id)))) {
      button->SetFlat(true, false);
      button->SetDrawBorder(false, false);
      button->SetFocusOnFlat(false, false);
      button->SetAlignment(3);
      button->SetTransparent(true);
    }
  }
}

void CTWKWelcomePage::SetXMLCaptionText() {
  CTarnwickApp& app = App();
  ::SetDlgItemTextW(Handle(), IDC_WELCOME_TITLE, app.Text(2029).c_str());
  ::SetDlgItemTextW(Handle(), IDC_WELCOME_TEXT1, app.Text(21003).c_str());
  ::SetDlgItemTextW(Handle(), IDC_WELCOME_TEXT2, app.Text(21004).c_str());
  for (size_t i = 0; i < tips_.size(); ++i) {
    const std::wstring title = app.Text(kTipTexts[i][0]);
    const std::wstring text = app.Text(kTipTexts[i][1]);
    ::SetDlgItemTextW(Handle(), kTipIds[i], Trimmed(title + L"\r\n" + text).c_str());
    tips_[i].SetTipTitle(Trimmed(title));
  }
  ::SetDlgItemTextW(Handle(), IDC_WELCOME_SCAN, app.Text(2036).c_str());
  ::SetDlgItemTextW(Handle(), IDC_WELCOME_SCAN2, app.Text(21243).c_str());
}

bool CTWKWelcomePage::OnCommand(WORD id, WORD code, HWND control) {
  if ((id == IDC_WELCOME_SCAN || id == IDC_WELCOME_SCAN2) && code == BN_CLICKED) {
    if (wl::CWindow* frame = App().GetMainWindow()) frame->PostMessage(WM_TWK_COMPULSORYSCAN);
    return true;
  }
  return CTWKPropertyPage::OnCommand(id, code, control);
}
