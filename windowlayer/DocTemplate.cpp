#include "DocTemplate.h"

namespace wl {

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame,
                                       ViewFactory view)
    : resourceId_(resourceId),
      makeDocument_(std::move(document)),
      makeFrame_(std::move(frame)),
      makeView_(std::move(view)) {}

CSingleDocTemplate::~CSingleDocTemplate() { Close(); }

void CSingleDocTemplate::Close() {
  view_.reset();
  frame_.reset();
  document_.reset();
}

bool CSingleDocTemplate::OpenNewDocument(const wchar_t* title, DWORD frameStyle, bool makeVisible) {
  Close();
  document_ = makeDocument_ ? makeDocument_() : std::make_unique<CDocument>();
  if (!document_ || !document_->OnNewDocument()) {
    Close();
    return false;
  }
  frame_ = makeFrame_ ? makeFrame_() : std::make_unique<CFrameWindow>();
  if (!frame_ || !frame_->CreateFrame(title, frameStyle)) {
    Close();
    return false;
  }
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (resourceId_ && ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId_), RT_MENU)) {
    ::SetMenu(frame_->Handle(), ::LoadMenuW(instance, MAKEINTRESOURCEW(resourceId_)));
  }
  view_ = makeView_ ? makeView_() : nullptr;
  if (!view_) {
    Close();
    return false;
  }
  view_->SetDocument(document_.get());
  if (!view_->CreateView(frame_->Handle())) {
    Close();
    return false;
  }
  frame_->SetActiveView(view_.get());
  view_->OnInitialUpdate();
  if (makeVisible) frame_->ActivateFrame(SW_SHOW);
  return true;
}

}  // namespace wl
