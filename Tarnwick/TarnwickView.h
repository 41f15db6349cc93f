#pragma once
// The form view of the main window: the navigation column, the main sheet with its six
// pages, the overlay around modal dialogs and the reaction to the service's coming and
// going.
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "Dialog.h"
#include "FrameWindow.h"
#include "Gdi.h"
#include "MainSheet.h"
#include "GenericSinkCoupler.h"
#include "ServerConnectionStateChange.h"
#include "SinkImplInterfaces.h"
#include "TWKButton.h"
#include "TWKStatic.h"

class CTWKTranslucentDlg;

class CTarnwickView : public wl::CFormView, public IServerConnectionStateChange, public ISBServiceEventsSinkImpl {
 public:
  CTarnwickView();
  ~CTarnwickView() override;

  void OnInitialUpdate() override;

  CTWKMainSheet& Sheet() noexcept { return sheet_; }
  int ActivePage() const noexcept { return sheet_.GetActiveIndex(); }
  void ShowPage(int index) { sheet_.SetActivePage(index); }
  void SelectNavButton(int id);
  // The navigation button currently marked (0 when none).
  int SelectedNavButton() const noexcept { return selectedNav_; }

  void OnStartScanMsg();
  void OnStopScanMsg(int reason);
  void OnScanButtonClick();
  void OnShowStatusPage();
  void OnShowReviewPage();
  void OnShowOptionsPage();
  void OnShowSupportDialog();
  void OnShowAboutDialog();
  void StartCompulsoryScan();
  void ShowOverlay();
  void HideOverlay();
  // Runs a modal dialog between ShowOverlay and HideOverlay.
  INT_PTR RunOverlaid(const std::function<INT_PTR()>& modal);
  void SetBottomBgdFixImage(bool fix);
  // The scan page's Scan now, and the review page's Fix Now.
  void InvokeScanNow();
  void FixNow();
  bool NavSelected(int index) const noexcept { return navSelected_[index]; }
  // Where a stopped scan goes next (kGo* destinations).
  int pendingNavigation = 0;
  // ISBServiceEventsSinkImpl
  void ServiceStateCBImpl(long state) override;
  void PrivateConfigChangeCBImpl(long) override {}
  void ServiceConfigChangeCBImpl() override {}
  void SystemErrorStateChangeCBImpl(bool) override {}
  void SystemEventNotifyCBImpl(long) override {}
  HWND OverlayWindow() const;

  // IServerConnectionStateChange
  void OnNotifyStateChange(bool connected) override;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool OnTimer(UINT_PTR id) override;

 private:
  void CreateUI();
  void SetXMLCaptionText();
  void OnNavigation(WORD id);

  std::vector<std::unique_ptr<CTWKPropertyPage>> pages_;
  CTWKMainSheet sheet_;
  std::array<bool, 4> navSelected_{};
  std::array<CTWKButton, 8> buttons_;  // 1572 1574 1576 1578 1580 1581 1248 1013
  std::array<CTWKStatic, 5> pictures_;  // 1570 1571 1573 1575 1577
  std::unique_ptr<CTWKTranslucentDlg> overlay_;
  std::unique_ptr<CSBServiceEventsSinkCoupler> serviceEvents_;
  int selectedNav_ = 0;
  bool subscribed_ = false;
  wl::CBrush nullBrush_;
};
