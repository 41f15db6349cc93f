#pragma once
// Document, and the single-document template that makes one document with its frame
// and form view: document first, then the frame, then the view inside the frame.
#include "FrameWindow.h"

#include <functional>
#include <memory>
#include <string>

namespace wl {

class CDocument {
 public:
  virtual ~CDocument() = default;
  virtual bool OnNewDocument() { return true; }
  const std::wstring& Title() const noexcept { return title_; }
  void SetTitle(std::wstring title) { title_ = std::move(title); }

 private:
  std::wstring title_;
};

class CSingleDocTemplate {
 public:
  using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
  using FrameFactory = std::function<std::unique_ptr<CFrameWindow>()>;
  using ViewFactory = std::function<std::unique_ptr<CFormView>()>;

  // resourceId: the frame's menu resource (0 or missing: no menu) and title string.
  CSingleDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame, ViewFactory view);
  ~CSingleDocTemplate();
  CSingleDocTemplate(const CSingleDocTemplate&) = delete;
  CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

  // Creates document, frame and view and runs the view's OnInitialUpdate; shows the
  // frame through ActivateFrame when makeVisible. False (and nothing kept) on failure.
  bool OpenNewDocument(const wchar_t* title, DWORD frameStyle = WS_OVERLAPPEDWINDOW, bool makeVisible = true);

  CDocument* Document() const noexcept { return document_.get(); }
  CFrameWindow* Frame() const noexcept { return frame_.get(); }
  CFormView* View() const noexcept { return view_.get(); }

 private:
  void Close();

  UINT resourceId_;
  DocumentFactory makeDocument_;
  FrameFactory makeFrame_;
  ViewFactory makeView_;
  std::unique_ptr<CDocument> document_;
  std::unique_ptr<CFrameWindow> frame_;
  std::unique_ptr<CFormView> view_;
};

}  // namespace wl
