#pragma once
// A report-mode list view with 25-pixel gradient rows, a gradient header, Verdana
// items, cell tips and a column fit that widens columns to their content.
#include <windows.h>

#include <commctrl.h>

#include "Gdi.h"
#include "GradientHeaderCtrl.h"
#include "ListCtrlToolTip.h"
#include "Window.h"

class CGradientListCtrl : public wl::CWindow {
 public:
  static constexpr int kRowHeight = 25;
  static constexpr int kIconSize = 16;

  CGradientListCtrl();
  ~CGradientListCtrl() override;

  bool Attach(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent) { return Attach(::GetDlgItem(parent, id)); }

  // Verdana of 12 points with 25-pixel rows; the second variant is Verdana with a cell
  // height of 10 points and normal weight.
  enum class FontVariant { Large, Compact };
  void SetItemFont(FontVariant variant = FontVariant::Large);
  HFONT ItemFont() const noexcept { return font_.Get(); }
  // The small icons of column 0 (not owned).
  void SetIconList(HIMAGELIST icons) noexcept { icons_ = icons; }
  // Widens every visible column whose content is wider than it; hidden (width 0)
  // columns stay hidden.
  void FitColumns();

  // The background as rows of 25 pixels from the top of the item area.
  void PaintBackground(HDC dc);
  int ItemAreaTop() const;
  CGradientHeaderCtrl& Header() noexcept { return header_; }
  CListCtrlToolTip& ToolTip() noexcept { return toolTip_; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
  void DrawCell(HDC dc, int item, int column);
  void ApplyRowHeight();
  void CalibrateRowHeight();

  CGradientHeaderCtrl header_;
  CListCtrlToolTip toolTip_;
  wl::CFont font_;
  HIMAGELIST icons_ = nullptr;
  HIMAGELIST spacer_ = nullptr;  // sets the row height
  int spacerHeight_ = kRowHeight;
};
