#pragma once
// The owner-drawn push button of every window: three colour states, flat or 3-D look,
// normal and hover images with a transparent colour, hover tracking, hand cursor, tool
// tip and a check-box mode.
#include <windows.h>

#include <optional>
#include <string>

#include "Gdi.h"
#include "Window.h"

class CTWKButton : public wl::CWindow {
 public:
  enum class State { In = 0, Out = 1, Focus = 2 };  // pointer over or pressed / away / focused
  enum class Part { Background, Text };

  CTWKButton();
  ~CTWKButton() override;

  // Attaching makes the button owner-drawn (and remembers whether it was the default one).
  bool Attach(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent) { return Attach(::GetDlgItem(parent, id)); }

  void SetColour(State state, Part part, COLORREF colour, bool repaint = true);
  COLORREF GetColour(State state, Part part) const noexcept;
  void SetDefaultColours(bool repaint = true);

  // Takes ownership of both bitmaps; hover may be null (the normal image is used).
  void SetBitmaps(HBITMAP normal, COLORREF normalTransparent, HBITMAP hover, COLORREF hoverTransparent,
                  bool repaint = true);
  // Takes ownership of both icons.
  void SetIcons(HICON normal, HICON hover, bool repaint = true);
  bool HasImages() const noexcept { return normal_.bitmap || normalIcon_; }

  // Text colour while the button is disabled; the system's grey text colour by default.
  // A button disabled to mark it as the current choice keeps a readable caption this way.
  void SetDisabledTextColour(COLORREF colour, bool repaint = true);
  void SetFlat(bool flat, bool repaint = true);
  void SetDrawBorder(bool draw, bool repaint = true);
  void SetFocusOnFlat(bool focus, bool repaint = true);
  void SetTransparent(bool transparent, bool repaint = true);
  // 0 image left of the text, 1 above, 2 right, 3 full-size face at the top-left corner.
  void SetAlignment(int alignment, bool repaint = true);
  void SetCheckBoxMode(bool enable, bool repaint = true);
  void SetCheck(bool checked, bool repaint = true);
  bool GetCheck() const noexcept { return checked_; }
  // Takes ownership when owned is true; nullptr restores the hand cursor.
  void SetCursor(HCURSOR cursor, bool owned = false);
  void SetTooltipText(const std::wstring& text);
  // The font the text is drawn with (owned).
  void SetFont(const LOGFONTW& font, bool repaint = true);

  bool IsPointerOver() const noexcept { return pointerOver_; }
  bool IsFlat() const noexcept { return flat_; }
  int Alignment() const noexcept { return alignment_; }
  static constexpr int kPressedOffset = 1;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  struct Image {
    wl::CBitmap bitmap;
    wl::CBitmap mask;  // monochrome: 1 where the transparent colour is
    SIZE size{};
  };
  static void PrepareImage(Image& image, HBITMAP bitmap, COLORREF transparent);
  void Draw(const DRAWITEMSTRUCT& item);
  void DrawBackground(HDC dc, RECT& rect, bool pressed, bool focused);
  void DrawImage(HDC dc, const RECT& client, RECT& textRect, bool pressed, bool hasText);
  void OnMouseMove(WPARAM keys, POINT client);
  void ClearPointerOver();
  void Repaint(bool repaint);

  COLORREF colours_[3][2];
  std::optional<COLORREF> disabledText_;
  bool flat_ = false;
  bool drawBorder_ = true;
  bool focusOnFlat_ = true;
  bool transparent_ = false;
  int alignment_ = 0;
  bool pointerOver_ = false;
  bool checkBoxMode_ = false;
  bool checked_ = false;
  bool isDefault_ = false;
  Image normal_;
  Image hover_;
  wl::CIcon normalIcon_;
  wl::CIcon hoverIcon_;
  HCURSOR cursor_ = nullptr;
  wl::CCursor ownedCursor_;
  wl::CFont font_;
  HWND tooltip_ = nullptr;
  std::wstring tooltipText_;
};
