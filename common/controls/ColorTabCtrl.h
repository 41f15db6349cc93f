#pragma once
// An owner-drawn tab control: the selected tab and the others have their own colours;
// tabs can be disabled (not selectable by click, skipped by the keyboard).
#include <windows.h>

#include <vector>

#include "Window.h"

class CColorTabCtrl : public wl::CWindow {
 public:
  bool Attach(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent) { return Attach(::GetDlgItem(parent, id)); }

  void SetColours(COLORREF selectedBack, COLORREF selectedText, COLORREF otherBack, COLORREF otherText);
  void EnableTab(int index, bool enable);
  bool IsTabEnabled(int index) const;
  // Selects a tab as the user would (notifying the parent); false for a disabled tab.
  bool SelectTab(int index);
  static constexpr int kSelectedTextOffset = 5;
  static constexpr int kOtherTextOffset = 3;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void DrawTab(const DRAWITEMSTRUCT& item);
  int NextEnabled(int from, int direction) const;
  bool Notify(UINT code);

  COLORREF selectedBack_ = RGB(255, 255, 255);
  COLORREF selectedText_ = RGB(0, 0, 0);
  COLORREF otherBack_ = RGB(228, 109, 17);
  COLORREF otherText_ = RGB(255, 255, 255);
  std::vector<int> disabled_;
};
