#pragma once
// The tip of the tip controls: a topmost tool-tip window with one tracked tool at an
// absolute position, shown while the pointer is over the owner's text area and hidden
// by a timer (identifier 1, every 80 ms) once it has left.
#include <windows.h>

#include <string>

#include "Gdi.h"

class CTrackedTip {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kTimerPeriodMs = 80;

  ~CTrackedTip();
  bool Create(HWND owner, HFONT font);
  // The text area of the owner: its client area less system metric 10 and 2 pixels.
  static RECT TextArea(HWND owner);
  // Pointer moved to a client point of the owner: shows the tip when inside.
  void OnMouseMove(POINT client, const std::wstring& text);
  // The 80 ms check; true when the message was the tip's timer.
  bool OnTimer(UINT_PTR id);
  void SetTitle(const std::wstring& title, int icon);
  bool IsShown() const noexcept { return shown_; }
  HWND Window() const noexcept { return tip_; }
  void Hide();

 private:
  HWND owner_ = nullptr;
  HWND tip_ = nullptr;
  bool shown_ = false;
  std::wstring text_;
  std::wstring title_;
};
