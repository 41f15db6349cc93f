#include <gtest/gtest.h>

#include <memory>

#include "Application.h"
#include "DocTemplate.h"
#include "PropertySheet.h"
#include "TestWindow.h"
#include "WindowLayerTestIds.h"

namespace {

class CountingPage : public wl::CPropertyPage {
 public:
  CountingPage() : CPropertyPage(IDD_TEST_PAGE) {}
  int initCalls = 0;
  int activations = 0;

 protected:
  BOOL OnInitDialog() override {
    ++initCalls;
    return TRUE;
  }
  bool OnSetActive() override {
    ++activations;
    return true;
  }
};

TEST(PropertySheetTest, ChildSheetWithHiddenTabsChangesPagesByProgram) {
  twktest::TestWindow host(L"sheet host", 600, 400);
  CountingPage pages[3];
  wl::CPropertySheet sheet;
  for (auto& page : pages) sheet.AddPage(&page);
  ASSERT_TRUE(sheet.CreateChild(host.Handle(), 105, 58));
  EXPECT_EQ(GetParent(sheet), host.Handle());
  EXPECT_TRUE(GetWindowLongW(sheet, GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(GetWindowLongW(sheet, GWL_STYLE) & WS_CAPTION);
  RECT placed = sheet.GetWindowRectInParent();
  EXPECT_EQ(placed.left, 105);
  EXPECT_EQ(placed.top, 58);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, IDOK)));

  sheet.HideTabStrip();
  EXPECT_FALSE(IsWindowVisible(sheet.GetTabControl()));
  sheet.Resize(400, 300);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(sheet.SetActivePage(i)) << i;
    EXPECT_EQ(sheet.GetActiveIndex(), i);
    EXPECT_TRUE(pages[i].IsAttached());
    RECT pageRect = pages[i].GetWindowRectInParent();
    EXPECT_EQ(pageRect.left, 0) << "pages fill the sheet when the tabs are hidden";
    EXPECT_EQ(pageRect.top, 0);
    EXPECT_EQ(pageRect.right, 400);
    EXPECT_EQ(pageRect.bottom, 300);
  }
  EXPECT_EQ(pages[1].initCalls, 1);
  EXPECT_GE(pages[1].activations, 1);
  EXPECT_TRUE(sheet.SetActivePage(1));
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
  EXPECT_FALSE(sheet.SetActivePage(3));
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
  EXPECT_EQ(pages[1].initCalls, 1) << "a page window is made once";
}

class ProbeDocument : public wl::CDocument {
 public:
  bool OnNewDocument() override {
    SetTitle(L"doc");
    return true;
  }
};

class ProbeView : public wl::CFormView {
 public:
  ProbeView() : CFormView(IDD_TEST_VIEW) {}
  int initialUpdates = 0;
  int viewButtonClicks = 0;
  bool documentSeen = false;
  void OnInitialUpdate() override {
    ++initialUpdates;
    documentSeen = GetDocument() && GetDocument()->Title() == L"doc";
  }

 protected:
  bool OnCommand(WORD id, WORD code, HWND) override {
    if (id == IDC_VIEW_BUTTON && code == BN_CLICKED) {
      ++viewButtonClicks;
      return true;
    }
    return false;
  }
};

class ProbeFrame : public wl::CFrameWindow {
 public:
  int creates = 0;
  int activations = 0;
  void ActivateFrame(int) override {
    ++activations;
    CFrameWindow::ActivateFrame(SW_SHOWNOACTIVATE);
  }

 protected:
  bool PreCreateWindow(CREATESTRUCTW& create) override {
    // No system menu: such a popup would be handed to the window manager.
    create.style = WS_POPUP | WS_MINIMIZEBOX;
    create.x = 10;
    create.y = 10;
    create.cx = 300;
    create.cy = 200;
    return true;
  }
  int OnCreate(CREATESTRUCTW*) override {
    ++creates;
    return 0;
  }
};

TEST(DocTemplateTest, MakesDocumentFrameAndViewAndRoutesCommands) {
  wl::CSingleDocTemplate docTemplate(
      128, [] { return std::make_unique<ProbeDocument>(); }, [] { return std::make_unique<ProbeFrame>(); },
      [] { return std::make_unique<ProbeView>(); });
  ASSERT_TRUE(docTemplate.OpenNewDocument(L"Main", WS_OVERLAPPEDWINDOW, true));
  auto* frame = static_cast<ProbeFrame*>(docTemplate.Frame());
  auto* view = static_cast<ProbeView*>(docTemplate.View());
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(frame->creates, 1);
  EXPECT_EQ(frame->activations, 1);
  EXPECT_FALSE(GetWindowLongW(*frame, GWL_STYLE) & WS_CAPTION) << "PreCreateWindow decided the style";
  EXPECT_EQ(frame->GetActiveView(), view);
  EXPECT_EQ(GetParent(*view), frame->Handle());
  EXPECT_EQ(view->initialUpdates, 1);
  EXPECT_TRUE(view->documentSeen);

  frame->FitToView();
  RECT client = frame->GetClientRect();
  EXPECT_EQ(client.right, view->TemplateSize().cx);
  EXPECT_EQ(client.bottom, view->TemplateSize().cy);

  // A click in the view reaches the view's handler; a menu command sent to the frame
  // is routed to the view too.
  HWND button = view->GetDlgItem(IDC_VIEW_BUTTON);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(view->viewButtonClicks, 1);
  frame->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_VIEW_BUTTON, BN_CLICKED), 0);
  EXPECT_EQ(view->viewButtonClicks, 2);
}

TEST(DocTemplateTest, ViewWithoutTemplateFailsAndKeepsNothing) {
  wl::CSingleDocTemplate docTemplate(
      0, nullptr, [] { return std::make_unique<wl::CFrameWindow>(); },
      [] { return std::make_unique<wl::CFormView>(9999); });
  EXPECT_FALSE(docTemplate.OpenNewDocument(L"Broken"));
  EXPECT_EQ(docTemplate.Frame(), nullptr);
  EXPECT_EQ(docTemplate.View(), nullptr);
}

}  // namespace

namespace {

class FrameApplication : public wl::CApplication {
 public:
  bool initialised = false;
  bool exited = false;

 protected:
  bool InitInstance() override {
    docTemplate = std::make_unique<wl::CSingleDocTemplate>(
        0, nullptr, [] { return std::make_unique<ProbeFrame>(); }, [] { return std::make_unique<ProbeView>(); });
    if (!docTemplate->OpenNewDocument(L"Main", WS_POPUP, false)) return false;
    SetMainWindow(docTemplate->Frame());
    initialised = true;
    docTemplate->Frame()->PostMessage(WM_CLOSE);  // the user closes the main window
    return true;
  }
  int ExitInstance() override {
    exited = true;
    docTemplate.reset();
    return 23;
  }

 public:
  std::unique_ptr<wl::CSingleDocTemplate> docTemplate;
};

TEST(ApplicationTest, LoopEndsWhenTheMainWindowIsDestroyed) {
  FrameApplication app;
  EXPECT_EQ(app.Main(), 23);
  EXPECT_TRUE(app.initialised);
  EXPECT_TRUE(app.exited);
}

}  // namespace
