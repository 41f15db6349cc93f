#pragma once
// The tool tip of the gradient list: shows the full text of the cell under the pointer.
#include <windows.h>

#include <string>

#include "Window.h"

class CListCtrlToolTip : public wl::CWindow {
 public:
  // Creates the tip window for a list view.
  bool CreateFor(HWND list);
  // The text of the cell at a client point of the list (empty when none).
  static std::wstring CellTextAt(HWND list, POINT client);
  // Mouse moved over the list: a new cell restarts the tip.
  void OnListMouseMove(POINT client);
  void Hide();

 protected:
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  HWND list_ = nullptr;
  int item_ = -1;
  int column_ = -1;
  std::wstring text_;
};
