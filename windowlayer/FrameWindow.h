#pragma once
// A top-level frame window holding one view, and the form view (a child dialog from a
// template) that it shows. The single-document template (DocTemplate.h) creates both.
#include "Dialog.h"

namespace wl {

class CDocument;
class CFormView;

class CFrameWindow : public CWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TwkFrameWindow";
  static constexpr int kViewId = 0xE900;

  // Creates the frame; PreCreateWindow may change the description first.
  bool CreateFrame(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr);
  // Shows the frame; the default shows it with the given command and brings it up.
  virtual void ActivateFrame(int showCommand);

  void SetActiveView(CFormView* view) noexcept { activeView_ = view; }
  CFormView* GetActiveView() const noexcept { return activeView_; }
  // Sizes the frame so that its client area holds the view exactly.
  void FitToView();
  // Makes the view fill the client area (default on WM_SIZE).
  virtual void RecalcLayout();

 protected:
  virtual bool PreCreateWindow(CREATESTRUCTW& create) { return true; }
  // WM_CREATE; return -1 to fail the creation.
  virtual int OnCreate(CREATESTRUCTW* create) { return 0; }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // Commands of the frame's menus and accelerators not taken by the frame go to the
  // active view.
  bool OnCommand(WORD id, WORD code, HWND control) override;

 private:
  CFormView* activeView_ = nullptr;
  bool fitToView_ = false;
};

class CFormView : public CDialog {
 public:
  // The template must have the WS_CHILD style.
  explicit CFormView(UINT templateId, HINSTANCE resources = nullptr) noexcept
      : CDialog(templateId, resources) {}

  bool CreateView(HWND frame, int id = CFrameWindow::kViewId);
  CDocument* GetDocument() const noexcept { return document_; }
  void SetDocument(CDocument* document) noexcept { document_ = document; }
  // The size of the template as created (what the frame fits itself to).
  SIZE TemplateSize() const noexcept { return templateSize_; }

  // Called once after the view, its frame and its document exist.
  virtual void OnInitialUpdate() {}
  // Commands the frame passes on.
  bool RouteCommand(WORD id, WORD code, HWND control) { return OnCommand(id, code, control); }

 protected:
  BOOL OnInitDialog() override { return FALSE; }
  // A view has no OK/Cancel: Enter and Escape do not end it.
  bool OnCommand(WORD id, WORD code, HWND control) override { return false; }

 private:
  CDocument* document_ = nullptr;
  SIZE templateSize_{};
};

}  // namespace wl
