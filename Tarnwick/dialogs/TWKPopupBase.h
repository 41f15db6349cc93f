#pragma once
// What the skinned pop-ups share: rounded corners, dragging by the background, white
// control backgrounds, skinned controls laid out once from the form's layout.
#include "Gdi.h"
#include "SkinnedChildren.h"
#include "SkinnedDialog.h"

class CTWKPopupBase : public twk::skin::CSkinnedDialog {
 public:
  explicit CTWKPopupBase(UINT templateId, COLORREF controlBack = RGB(255, 255, 255));

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // Attaches the skinned controls and renders form from layout resource number.
  void RenderForm(const wchar_t* number, const wchar_t* form);
  // Rounded window region over the whole window, corner ellipses of the given size.
  void RoundCorners(int corner = 20);
  void SetItemText(int id, const std::wstring& text);
  // Gives the window its size and centres it on its owner (the screen without one).
  void SizeAndCentre(int width, int height);
  // Shows the laid-out window; it takes the focus when the user turns to it.
  void ShowLaidOut();

  CSkinnedChildren children_;

 private:
  wl::CBrush controlBrush_;
};
