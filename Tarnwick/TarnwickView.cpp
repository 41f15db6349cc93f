#include "TarnwickView.h"

#include "ClientLog.h"
#include "MainFrame.h"
#include "PrivateMessages.h"
#include "Resource.h"
#include "ServerConnection.h"
#include "ServiceWrapper.h"
#include "SettingValues.h"
#include "SkinSource.h"
#include "TWKRenderer.h"
#include "TarnwickApp.h"
#include "WindowShape.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/TWKChoiceDialogs.h"
#include "dialogs/TWKMessageBox.h"
#include "dialogs/TWKTranslucentDlg.h"
#include "pages/TWKWelcomePage.h"

namespace {
constexpr int kButtonIds[] = {IDC_NAV_SCAN, IDC_NAV_REVIEW, IDC_NAV_STATUS, IDC_NAV_SETTINGS,
                              IDC_SUPPORT,  IDC_ABOUT,      IDC_MINIMISE,   IDC_CLOSE};
constexpr int kNavIds[] = {IDC_NAV_SCAN, IDC_NAV_REVIEW, IDC_NAV_STATUS, IDC_NAV_SETTINGS};
constexpr int kPictureIds[] = {IDC_FRAME_TOP, IDC_FRAME_LEFT, IDC_FRAME_RIGHT, IDC_FRAME_BOTTOM, IDC_FRAME_BOTTOM_FIX};
// Faces of the four navigation buttons in the "MainForm" layout: normal, hover.
constexpr UINT kNavFaces[][2] = {{410, 411}, {412, 413}, {414, 415}, {416, 417}};
constexpr int kNavTexts[] = {21249, 21250, 21251, 21252};  // Scan, Review, Status, Settings
}  // namespace

CTarnwickView::CTarnwickView() : CFormView(IDD_TARNWICK_FORM), nullBrush_(nullptr) {
  // Page objects live as long as the view; the sheet does not own them.
  pages_.push_back(std::make_unique<CTWKWelcomePage>());
  for (int i = kStatusPage; i <= kOptionsPage; ++i) pages_.push_back(std::make_unique<CTWKPlainPage>());
  for (auto& page : pages_) sheet_.AddPage(page.get());
}

CTarnwickView::~CTarnwickView() {
  serviceEvents_.reset();
  if (subscribed_) CServerConnection::UnsubscribeStateChanges(this);
}

void CTarnwickView::OnInitialUpdate() {
  CTarnwickApp& app = App();
  try {
    for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i].SubclassDlgItem(kButtonIds[i], Handle());
    for (size_t i = 0; i < pictures_.size(); ++i) pictures_[i].SubclassDlgItem(kPictureIds[i], Handle());
    // 1. The sheet with every page made once.
    sheet_.CreateInView(Handle(), 657, 473);
    // 2. The presence poll.
    SetTimer(kPresencePollTimerId, kPresencePollPeriodMs);
    // 3. Connection state changes.
    subscribed_ = CServerConnection::Instance() && CServerConnection::SubscribeStateChanges(this);
    if (!subscribed_) {
      ClientLog(LOG_ERROR, kTarnwickSystemName, L"CServerConnection::SubscribeStateChanges",
                L"Failed to get the ServerConnection instance.");
    } else {
      // The service's own events (state changes) reach the view while the program runs.
      serviceEvents_ = std::make_unique<CSBServiceEventsSinkCoupler>();
      serviceEvents_->Advise(this);
    }
    // 5. Navigation state and the first page.
    for (size_t i = 0; i < 4; ++i) ::EnableWindow(buttons_[i], TRUE);
    SetBottomBgdFixImage(false);
    if (!twk::SettingIsEmpty(twk::setting::kInstallTime)) {
      SelectNavButton(IDC_NAV_SCAN);
      ShowPage(kWelcomePage);
      twk::WriteSetting(twk::setting::kInstallTime, L"");
    } else {
      SelectNavButton(IDC_NAV_STATUS);
      ShowPage(kStatusPage);
    }
    // 6. Skins of the frame pictures and buttons.
    CreateUI();
    SetXMLCaptionText();
    // The layout gave every button its normal face; the marked one shows its own again.
    SelectNavButton(selectedNav_);
    // 7. The rounded shape.
    wl::SetRoundedWindowRegion(Handle(), RECT{2, 2, CMainFrame::kWidth, CMainFrame::kHeight}, 20, 20, false);
    ::SetWindowPos(Handle(), nullptr, 0, 0, CMainFrame::kWidth, CMainFrame::kHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Invalidate();
  } catch (...) {
    app.ShowErrorReport(L"TarnwickView.Mod", L"CTarnwickView::OnInitialUpdate", 312, ::GetLastError());
  }
}

void CTarnwickView::CreateUI() {
  CTWKRenderer renderer;
  for (int id : kPictureIds) renderer.RenderControlFromResource(GetDlgItem(id), L"290", L"MainForm", id);
  for (int id : kButtonIds) renderer.RenderControlFromResource(GetDlgItem(id), L"290", L"MainForm", id);
  for (CTWKButton& button : buttons_) {
    button.SetFlat(true, false);
    button.SetDrawBorder(false, false);
    button.SetFocusOnFlat(false, false);
    button.SetAlignment(3, false);
    button.SetTransparent(true);
  }
  SetBottomBgdFixImage(false);
}

void CTarnwickView::SetXMLCaptionText() {
  CTarnwickApp& app = App();
  for (size_t i = 0; i < 4; ++i) ::SetWindowTextW(GetDlgItem(kNavIds[i]), app.Text(kNavTexts[i]).c_str());
  ::SetWindowTextW(GetDlgItem(IDC_SUPPORT), app.Text(21247).c_str());
  ::SetWindowTextW(GetDlgItem(IDC_ABOUT), app.Text(21248).c_str());
}

void CTarnwickView::SelectNavButton(int id) {
  bool known = false;
  for (int nav : kNavIds) known = known || nav == id;
  if (!known) return;
  for (size_t i = 0; i < 4; ++i) {
    CTWKButton& button = buttons_[i];
    const bool current = kNavIds[i] == id;
    // The current one wears its hover face for good; the others hover again.
    const bool wasCurrent = navSelected_[i];
    navSelected_[i] = current;
    if (current != wasCurrent || current) {
      const twk::skin::ISkinSource& skin = twk::skin::DefaultSkinSource();
      HBITMAP normal = skin.Bitmap(kNavFaces[i][current ? 1 : 0]);
      if (normal) button.SetBitmaps(normal, RGB(255, 255, 255), skin.Bitmap(kNavFaces[i][1]), RGB(255, 255, 255), false);
    }
    // Disabled marks the current page; its caption stays as readable as the others'.
    button.SetDisabledTextColour(button.GetColour(CTWKButton::State::Out, CTWKButton::Part::Text), false);
    ::EnableWindow(button, current ? FALSE : TRUE);
    button.Invalidate();
  }
  selectedNav_ = id;
}

void CTarnwickView::SetBottomBgdFixImage(bool fix) {
  ::ShowWindow(GetDlgItem(IDC_FRAME_BOTTOM_FIX), fix ? SW_SHOWNA : SW_HIDE);
  ::ShowWindow(GetDlgItem(IDC_FRAME_BOTTOM), fix ? SW_HIDE : SW_SHOWNA);
}

HWND CTarnwickView::OverlayWindow() const { return overlay_ && overlay_->IsAttached() ? overlay_->Handle() : nullptr; }

void CTarnwickView::ShowOverlay() {
  if (overlay_) overlay_->DestroyWindow();
  overlay_ = std::make_unique<CTWKTranslucentDlg>();
  if (overlay_->CreateModeless(Handle())) {
    RECT view{};
    ::GetWindowRect(Handle(), &view);
    ::SetWindowPos(*overlay_, nullptr, view.left, view.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  App().overlayShown = 1;
}

void CTarnwickView::HideOverlay() {
  App().overlayShown = 0;
  if (overlay_) {
    overlay_->DestroyWindow();
    overlay_.reset();
  }
  if (ActivePage() == kFixPage) SelectNavButton(IDC_NAV_REVIEW);
}

INT_PTR CTarnwickView::RunOverlaid(const std::function<INT_PTR()>& modal) {
  ShowOverlay();
  const INT_PTR result = modal();
  HideOverlay();
  return result;
}

void CTarnwickView::OnStartScanMsg() {
  const int page = ActivePage();
  if (page < kWelcomePage || page > kScanPage) return;
  SelectNavButton(IDC_NAV_SCAN);
  ShowPage(kScanPage);
  InvokeScanNow();
}

void CTarnwickView::StartCompulsoryScan() {
  SelectNavButton(IDC_NAV_SCAN);
  ShowPage(kScanPage);
  InvokeScanNow();
}

void CTarnwickView::InvokeScanNow() {
  // The scan page's Scan now operation arrives with that page.
  ClientLog(LOG_TRACE, kTarnwickSystemName, L"CTarnwickView::InvokeScanNow", L"Scan of type %d requested.",
            App().scanType);
}

void CTarnwickView::FixNow() {
  SelectNavButton(IDC_NAV_REVIEW);
  ShowPage(kFixPage);
}

void CTarnwickView::OnStopScanMsg(int reason) {
  if (ActivePage() != kScanPage) return;
  CTarnwickApp& app = App();
  auto stopScan = [this] {
    // The scan page's stop: asks with the stop-recommended dialog, then stops.
    CTarnwickApp& a = App();
    CTWKStopRecommendedDlg dialog;
    if (RunOverlaid([&] { return dialog.DoModal(::GetParent(Handle())); }) == CTWKStopRecommendedDlg::kStop) {
      a.scanInProgress = 0;
      a.lastScanStopped = 1;
    }
  };
  if (app.alertSettingsPending) {
    pendingNavigation = kGoOptions;
    stopScan();
    if (app.lastScanStopped) {
      app.ShowOptionsScreen();
      app.alertSettingsPending = 0;
    }
    return;
  }
  pendingNavigation = reason;
  stopScan();
  if (app.lastScanStopped && reason != kGoStatus && reason != kGoReview && reason != kGoOptions) {
    SelectNavButton(IDC_NAV_STATUS);
    ShowPage(kStatusPage);
  }
}

void CTarnwickView::OnScanButtonClick() {
  CTarnwickApp& app = App();
  const int page = ActivePage();
  if (!(page == kWelcomePage || page == kScanPage || app.scanInProgress)) {
    if (app.scanCompleted && !app.lastScanStopped) {
      if (!app.cleaningEnded && (page == kReviewPage || page == kFixPage)) {
        SelectNavButton(IDC_NAV_SCAN);
        ShowPage(kScanPage);
      } else {
        SelectNavButton(IDC_NAV_SCAN);
        InvokeScanNow();
      }
    } else if (CMainFrame* frame = app.MainFrame()) {
      frame->scheduleTimerEnabled = 0;
      // The custom scan dialog arrives with the scan settings; until then the scan page.
      SelectNavButton(IDC_NAV_SCAN);
      ShowPage(kScanPage);
    }
  }
  const std::wstring next = twk::ReadSetting(twk::setting::kNextScanning);
  if (!next.empty() && next != L"0") {
    if (CMainFrame* frame = app.MainFrame()) frame->scheduleTimerEnabled = 1;
  }
}

void CTarnwickView::OnShowStatusPage() {
  if (App().scanInProgress) {
    ::PostMessageW(::GetParent(Handle()), WM_TWK_STOPSCAN, kGoStatus, 0);
    return;
  }
  SelectNavButton(IDC_NAV_STATUS);
  ShowPage(kStatusPage);
}

void CTarnwickView::OnShowReviewPage() {
  CTarnwickApp& app = App();
  if (CMainFrame* frame = app.MainFrame()) frame->scheduleTimerEnabled = 0;
  if (app.scanInProgress) {
    ::PostMessageW(::GetParent(Handle()), WM_TWK_STOPSCAN, kGoReview, 0);
    return;
  }
  const std::wstring scanned = twk::ReadSetting(twk::setting::kScannedCompleteTime);
  if (!scanned.empty() && twk::ParseSettingsDate(scanned) && app.results.itemsFound == 0) {
    CTWKScanRecommendedDlg dialog;
    RunOverlaid([&] { return dialog.DoModal(::GetParent(Handle())); });
    return;
  }
  SelectNavButton(IDC_NAV_REVIEW);
  const int page = ActivePage();
  if (page == kReviewPage || page == kFixPage) return;
  if (app.scanCompleted && (app.results.itemsFound == 0 || app.results.itemsRemaining == 0)) {
    RunOverlaid([&] { return static_cast<INT_PTR>(TWKMessage(app.Text(20038), MB_OK, MB_ICONQUESTION)); });
  } else {
    SelectNavButton(IDC_NAV_REVIEW);
    ShowPage(kReviewPage);
  }
}

void CTarnwickView::OnShowOptionsPage() {
  if (App().scanInProgress) {
    ::PostMessageW(::GetParent(Handle()), WM_TWK_STOPSCAN, kGoOptions, 0);
    return;
  }
  SelectNavButton(IDC_NAV_SETTINGS);
  ShowPage(kOptionsPage);
}

void CTarnwickView::OnShowSupportDialog() {
  // The support dialog arrives with the error report; the about box stands in.
  OnShowAboutDialog();
}

void CTarnwickView::OnShowAboutDialog() {
  CAboutDlg about;
  RunOverlaid([&] { return about.DoModal(::GetParent(Handle())); });
}

void CTarnwickView::OnNotifyStateChange(bool connected) {
  CTarnwickApp& app = App();
  if (connected) {
    long state = 0;
    CServiceWrapper::GetServiceState(state);
    ClientLog(LOG_TRACE, kTarnwickSystemName, L"CTarnwickView::OnNotifyStateChange", L"Reconnected to the service.");
    return;
  }
  if (app.scanInProgress || app.fixInProgress) {
    // The scan and fix pages react themselves once they exist.
    return;
  }
  ClientLog(LOG_ERROR, kTarnwickSystemName, L"CTarnwickView::OnNotifyStateChange", L"ServiceStopEventCaptured");
  if (app.trayWindow) ::EnableMenuItem(::GetMenu(app.trayWindow), 3009, MF_BYCOMMAND | MF_ENABLED);
  RunOverlaid([&] { return static_cast<INT_PTR>(TWKMessage(app.Text(19985), MB_OK, MB_ICONERROR)); });
}

void CTarnwickView::ServiceStateCBImpl(long state) {
  LogServiceStateChange(L"CTarnwickView::ServiceStateCBImpl", state);
}

void CTarnwickView::OnNavigation(WORD id) {
  CTarnwickApp& app = App();
  HWND frame = ::GetParent(Handle());
  const bool scanning = app.scanInProgress != 0;
  switch (id) {
    case IDC_NAV_SCAN: OnScanButtonClick(); break;
    case IDC_NAV_REVIEW: scanning ? (void)::PostMessageW(frame, WM_TWK_STOPSCAN, kGoReview, 0) : OnShowReviewPage(); break;
    case IDC_NAV_STATUS: scanning ? (void)::PostMessageW(frame, WM_TWK_STOPSCAN, kGoStatus, 0) : OnShowStatusPage(); break;
    case IDC_NAV_SETTINGS: scanning ? (void)::PostMessageW(frame, WM_TWK_STOPSCAN, kGoOptions, 0) : OnShowOptionsPage(); break;
    case IDC_SUPPORT: scanning ? (void)::PostMessageW(frame, WM_TWK_STOPSCAN, kGoSupport, 0) : OnShowSupportDialog(); break;
    case IDC_ABOUT: scanning ? (void)::PostMessageW(frame, WM_TWK_STOPSCAN, kGoAbout, 0) : OnShowAboutDialog(); break;
    case IDC_MINIMISE: ::ShowWindow(frame, SW_MINIMIZE); break;
    case IDC_CLOSE: ::ShowWindow(frame, SW_HIDE); break;
    default: break;
  }
}

bool CTarnwickView::OnCommand(WORD id, WORD code, HWND control) {
  if (code == BN_CLICKED) {
    for (int known : kButtonIds) {
      if (known == id) {
        OnNavigation(id);
        return true;
      }
    }
  }
  return CFormView::OnCommand(id, code, control);
}

bool CTarnwickView::OnTimer(UINT_PTR id) { return CServerConnection::OnPresencePollTimer(id); }

LRESULT CTarnwickView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_DESTROY:
      if (subscribed_) {
        CServerConnection::UnsubscribeStateChanges(this);
        subscribed_ = false;
      }
      break;
    default:
      break;
  }
  return CFormView::WindowProc(msg, wp, lp);
}
