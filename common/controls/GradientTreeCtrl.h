#pragma once
// A tree view painted double-buffered with 24-pixel gradient rows, Verdana 8 items and
// check boxes whose clicks are reported to a registered owner.
#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "Gdi.h"
#include "Window.h"

class CGradientTreeCtrl : public wl::CWindow {
 public:
  static constexpr int kItemHeight = 24;
  using CheckClick = std::function<void(POINT client, HTREEITEM item)>;

  bool Attach(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent) { return Attach(::GetDlgItem(parent, id)); }

  // The page that wants to hear check-box clicks (nullptr: nobody).
  void SetCheckClickOwner(CheckClick owner) { checkClick_ = std::move(owner); }
  bool GetCheck(HTREEITEM item) const;
  void SetCheck(HTREEITEM item, bool checked);

  void Paint(HDC dc);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnLeftPress(POINT client);
  void DrawItem(HDC dc, HTREEITEM item, const RECT& client);

  wl::CFont font_;
  CheckClick checkClick_;
};
