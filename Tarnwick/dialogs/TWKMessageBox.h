#pragma once
// Every message of the main program: a skinned box with the system message box's codes
// for buttons (0 OK, 1 OK/Cancel, 4 Yes/No), icons (16 error, 32 question, 48 warning)
// and results (1, 2, 6, 7), in three width classes.
#include <string>

#include "TWKPopupBase.h"

class CTWKMessageBox : public CTWKPopupBase {
 public:
  struct WidthClass {
    int width;
    int closeX;       // 0: from the layout
    int okX, cancelX, singleX;
    int textWidth;    // 0: from the layout
  };
  static const WidthClass& ClassOf(int widthClass);
  static constexpr int kHeight = 151;

  CTWKMessageBox(int widthClass, HWND parent);

  int Show(const std::wstring& text, int buttons, int icon);
  int Show(const std::wstring& text, bool flag1, const std::wstring& second, bool flag2, int buttons, int icon);

  // What the close button (150) ends the box with for a buttons code; 0: nothing.
  static int CloseResult(int buttons);

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  void OnOK() override { Finish(IDOK); }
  void OnCancel() override;

 private:
  void Finish(int result);
  void PlaceControls();

  std::wstring text_;
  std::wstring second_;
  unsigned char flag1_ = 0;
  unsigned char flag2_ = 0;
  int buttons_ = 0;
  int icon_ = 0;
  int widthClass_ = 0;
  int width_ = 350;
  int height_ = kHeight;
  HWND parent_ = nullptr;
};

// Shows a message in the skinned box (width class 0) over the main window.
int TWKMessage(const std::wstring& text, int buttons, int icon);
