#pragma once
// A static text or picture (or a group box) that draws with its own colours and font,
// or transparently over its parent's background without leaving old text behind.
#include <windows.h>

#include <string>

#include "Gdi.h"
#include "Window.h"

class CTWKStatic : public wl::CWindow {
 public:
  static constexpr COLORREF kDefaultBackColour = RGB(242, 243, 247);

  CTWKStatic();

  void SetText(const std::wstring& text);
  // From a full description (as the skin layout gives it).
  void SetFont(const LOGFONTW& font);
  // From a face, a size in points and bold.
  void SetFont(const wchar_t* face, int points, bool bold);
  void SetBkColor(COLORREF colour);
  void SetTextColor(COLORREF colour);
  void SetTransparent(bool transparent);
  // Shows a picture (owned); the static becomes a bitmap static.
  void SetBitmap(HBITMAP bitmap);
  // Cursor shown while the pointer is over the static (not owned).
  void SetCursor(HCURSOR cursor) noexcept { cursor_ = cursor; }

  bool IsTransparent() const noexcept { return transparent_; }
  COLORREF BkColor() const noexcept { return backColour_; }
  COLORREF TextColor() const noexcept { return textColour_; }
  HFONT Font() const noexcept { return font_.Get(); }
  HBITMAP Bitmap() const noexcept { return bitmap_.Get(); }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void RepaintParentArea();

  bool transparent_ = false;
  COLORREF backColour_ = kDefaultBackColour;
  COLORREF textColour_ = RGB(0, 0, 0);
  wl::CBrush backBrush_;
  wl::CFont font_;
  wl::CBitmap bitmap_;
  HCURSOR cursor_ = nullptr;
};
