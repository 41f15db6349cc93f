#pragma once
// The base of the skinned pages of the main sheet: a background colour and brush
// (white), labels without background, and an optional background picture tiled,
// centred or stretched.
#include <memory>
#include <vector>

#include "Gdi.h"
#include "PropertySheet.h"
#include "SkinnedDialog.h"

class CTWKPropertyPage : public wl::CPropertyPage, public twk::skin::ISkinBackground {
 public:
  enum class BitmapMode { Tile = 0, Centre = 1, Stretch = 2 };

  explicit CTWKPropertyPage(UINT templateId, HINSTANCE resources = nullptr);
  ~CTWKPropertyPage() override;

  void SetSkinBackground(COLORREF colour) override;
  // Takes ownership of the bitmap.
  void SetBackgroundBitmap(HBITMAP bitmap, BitmapMode mode);
  COLORREF BackgroundColour() const noexcept { return colour_; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // Attaches skinned controls to every button and static of the page.
  void AttachSkinnedChildren();

 private:
  void EraseBackground(HDC dc);

  COLORREF colour_ = RGB(255, 255, 255);
  wl::CBrush brush_;
  wl::CBitmap bitmap_;
  BitmapMode mode_ = BitmapMode::Tile;
  std::vector<std::unique_ptr<wl::CWindow>> children_;
};

// A page that a later screen fills: white, nothing on it yet.
class CTWKPlainPage : public CTWKPropertyPage {
 public:
  CTWKPlainPage();
};
