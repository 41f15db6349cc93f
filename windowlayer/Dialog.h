#pragma once
// Dialogs from .rc templates, modal (DoModal) or modeless (CreateModeless). The dialog
// window is subclassed at WM_INITDIALOG, so it takes its messages through WindowProc
// like every other window; the dialog procedure itself only starts that.
#include "Window.h"

namespace wl {

class CDialog : public CWindow {
 public:
  // templateId names a DIALOG resource of resources (nullptr: the program's module).
  explicit CDialog(UINT templateId, HINSTANCE resources = nullptr) noexcept
      : templateId_(templateId), resources_(resources) {}

  // Runs the dialog modally; returns the EndDialog code or -1 when it cannot be created.
  INT_PTR DoModal(HWND parent);
  bool CreateModeless(HWND parent);
  // Ends a modal dialog, or destroys a modeless one.
  void EndDialog(INT_PTR result);
  bool IsModal() const noexcept { return modal_; }
  UINT TemplateId() const noexcept { return templateId_; }
  HINSTANCE Resources() const noexcept;

  // Lets modeless dialogs take their keyboard messages; the application calls it.
  static bool PreTranslateModeless(MSG& msg);

 protected:
  // Called once the controls exist; attach controls (SubclassDlgItem) here.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // IDOK and IDCANCEL go to OnOK and OnCancel; overrides call this for the rest.
  bool OnCommand(WORD id, WORD code, HWND control) override;

  // For dialog-like windows created by others (property pages): start the object at
  // WM_INITDIALOG.
  static INT_PTR CALLBACK StartingDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static INT_PTR StartDialog(CDialog* self, HWND hwnd);

 private:
  UINT templateId_;
  HINSTANCE resources_;
  bool modal_ = false;
};

}  // namespace wl
