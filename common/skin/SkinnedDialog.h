#pragma once
// A window whose background the renderer sets from the form's BackColor, and a dialog
// that paints with it.
#include <windows.h>

#include "Dialog.h"
#include "Gdi.h"

namespace twk::skin {

class ISkinBackground {
 public:
  virtual ~ISkinBackground() = default;
  virtual void SetSkinBackground(COLORREF colour) = 0;
};

class CSkinnedDialog : public wl::CDialog, public ISkinBackground {
 public:
  using wl::CDialog::CDialog;
  void SetSkinBackground(COLORREF colour) override;
  bool HasSkinBackground() const noexcept { return static_cast<bool>(backBrush_); }
  COLORREF SkinBackground() const noexcept { return backColour_; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  COLORREF backColour_ = 0;
  wl::CBrush backBrush_;
};

}  // namespace twk::skin
