#pragma once
// Property sheets and their pages. A sheet is either modal (DoModal) or a modeless child
// of another window (CreateChild), whose tab strip and buttons can be hidden so that
// pages change only by program.
#include "Dialog.h"

#include <commctrl.h>

#include <vector>

namespace wl {

class CPropertyPage : public CDialog {
 public:
  explicit CPropertyPage(UINT templateId, HINSTANCE resources = nullptr) noexcept
      : CDialog(templateId, resources) {}

  // The page description handed to the sheet.
  HPROPSHEETPAGE CreatePageHandle();

 protected:
  // PSN_SETACTIVE / PSN_KILLACTIVE; return true to accept.
  virtual bool OnSetActive() { return true; }
  virtual bool OnKillActive() { return true; }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // A page has no OK/Cancel of its own: the sheet decides.
  bool OnCommand(WORD id, WORD code, HWND control) override { return false; }

 private:
  static INT_PTR CALLBACK PageDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

class CPropertySheet : public CWindow {
 public:
  CPropertySheet() noexcept = default;

  // Pages are not owned; they must outlive the sheet window.
  void AddPage(CPropertyPage* page) { pages_.push_back(page); }
  int PageCount() const noexcept { return static_cast<int>(pages_.size()); }
  CPropertyPage* GetPage(int index) const noexcept;

  // A modeless sheet as a child window of parent (no caption, no OK/Cancel/Apply).
  bool CreateChild(HWND parent, int x, int y, DWORD extraStyle = 0, DWORD exStyle = WS_EX_CONTROLPARENT);
  // A modal sheet with the given caption; returns the sheet's result.
  INT_PTR DoModal(HWND parent, const wchar_t* caption);

  bool SetActivePage(int index);
  int GetActiveIndex() const noexcept;
  HWND GetTabControl() const noexcept;
  // Hides the tab strip; pages then fill the sheet's client area from its top-left
  // corner.
  void HideTabStrip();
  bool TabStripHidden() const noexcept { return tabHidden_; }
  // Gives the sheet a new size; the active page follows.
  void Resize(int width, int height);

 protected:
  // Called once the sheet window exists (before the first page is shown).
  virtual void OnSheetCreated() {}
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM lp);
  bool BuildHeader(PROPSHEETHEADERW& header, std::vector<HPROPSHEETPAGE>& handles, HWND parent);
  void PlaceActivePage();

  std::vector<CPropertyPage*> pages_;
  bool child_ = false;
  bool tabHidden_ = false;
};

}  // namespace wl
