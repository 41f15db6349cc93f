// Pictures of every skinned control and every laid-out form, for a person to look at.
// Not part of the normal run: scripts/screenshots.sh runs these with
// --gtest_also_run_disabled_tests and TWK_SCREENSHOTS_DIR set.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <memory>
#include <string>
#include <vector>

#include "ColorTabCtrl.h"
#include "CustomProgressCtrl.h"
#include "GradientListCtrl.h"
#include "GradientTreeCtrl.h"
#include "HScrollListBox.h"
#include "SkinBitmap.h"
#include "SkinTestSupport.h"
#include "TWKButton.h"
#include "TWKRenderer.h"
#include "TWKStatic.h"
#include "TWKTipComboBox.h"

namespace {

std::wstring OutputFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetEnvironmentVariableW(L"TWK_SCREENSHOTS_DIR", folder, MAX_PATH);
  return folder;
}

HMODULE Module(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetEnvironmentVariableW(L"TWK_DIST_DIR", folder, MAX_PATH);
  std::wstring path = std::wstring(folder) + L"\\" + name;
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

bool SavePng(HBITMAP bitmap, const std::wstring& path) {
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory)))) {
    return false;
  }
  bool saved = false;
  IWICBitmap* source = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  if (SUCCEEDED(factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source)) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr))) {
    UINT width = 0, height = 0;
    source->GetSize(&width, &height);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    frame->SetSize(width, height);
    frame->SetPixelFormat(&format);
    IWICFormatConverter* converter = nullptr;
    if (SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom))) {
      saved = SUCCEEDED(frame->WriteSource(converter, nullptr)) && SUCCEEDED(frame->Commit()) &&
              SUCCEEDED(encoder->Commit());
    }
    if (converter) converter->Release();
  }
  if (frame) frame->Release();
  if (encoder) encoder->Release();
  if (stream) stream->Release();
  if (source) source->Release();
  factory->Release();
  return saved;
}

// What the window shows on the screen now, or a part of it (client coordinates).
bool Shoot(HWND window, const wchar_t* name, const RECT* part);
bool Shoot(HWND window, const wchar_t* name) { return Shoot(window, name, nullptr); }
bool Shoot(HWND window, const wchar_t* name, const RECT& part) { return Shoot(window, name, &part); }
bool Shoot(HWND window, const wchar_t* name, const RECT* part) {
  twktest::PumpFor(150);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT area{};
  GetClientRect(window, &area);
  if (part) area = *part;
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(window, source);
  bool saved = SavePng(bitmap, OutputFolder() + L"\\" + name + L".png");
  DeleteObject(bitmap);
  return saved;
}

RECT PartOf(HWND dialog, HWND control, int margin = 2) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  InflateRect(&rect, margin, margin);
  return rect;
}

// Attaches a skinned control to every button and static of a dialog.
class SkinnedChildren {
 public:
  void AttachAll(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t name[32] = {};
      GetClassNameW(child, name, 32);
      if (lstrcmpiW(name, L"Button") == 0) {
        auto button = std::make_unique<CTWKButton>();
        button->Attach(child);
        buttons.push_back(button.get());
        owned.push_back(std::move(button));
      } else if (lstrcmpiW(name, L"Static") == 0) {
        auto label = std::make_unique<CTWKStatic>();
        label->Attach(child);
        owned.push_back(std::move(label));
      } else if (lstrcmpiW(name, L"SysListView32") == 0) {
        auto list = std::make_unique<CGradientListCtrl>();
        list->Attach(child);
        list->SetItemFont();
        for (int column = 0; column < 2; ++column) {
          LVCOLUMNW info{};
          info.mask = LVCF_WIDTH;
          info.cx = column == 0 ? 210 : 380;
          list->SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        }
        const wchar_t* rows[][2] = {{L"explorer.exe", L"C:\\windows\\explorer.exe"},
                                    {L"services.exe", L"C:\\windows\\system32\\services.exe"}};
        for (int row = 0; row < 2; ++row) {
          LVITEMW item{};
          item.mask = LVIF_TEXT;
          item.iItem = row;
          item.pszText = const_cast<wchar_t*>(rows[row][0]);
          list->SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
          item.iSubItem = 1;
          item.pszText = const_cast<wchar_t*>(rows[row][1]);
          list->SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        }
        owned.push_back(std::move(list));
      } else if (lstrcmpiW(name, L"msctls_progress32") == 0) {
        auto progress = std::make_unique<CCustomProgressCtrl>();
        progress->Attach(child);
        owned.push_back(std::move(progress));
      }
    }
  }
  // The display options the pages give their buttons.
  void PageButtonLook() {
    for (CTWKButton* button : buttons) {
      button->SetFlat(true);
      button->SetDrawBorder(false);
      button->SetFocusOnFlat(false);
      button->SetAlignment(3);
    }
  }
  std::vector<std::unique_ptr<wl::CWindow>> owned;
  std::vector<CTWKButton*> buttons;
};

void Hover(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  POINT client{(rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2};
  SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
}

class ScreenshotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (OutputFolder().empty()) GTEST_SKIP() << "TWK_SCREENSHOTS_DIR is not set";
    GetCursorPos(&saved);
  }
  void TearDown() override { SetCursorPos(saved.x, saved.y); }
  POINT saved{};
};

TEST_F(ScreenshotsTest, DISABLED_Controls) {
  CTWKButton faceButton, checkButton;
  CTWKStatic label;
  CTWKStatic group;
  CGradientListCtrl list;
  CGradientTreeCtrl tree;
  CCustomProgressCtrl progress;
  CColorTabCtrl tabs;
  CHScrollListBox listBox;
  CTWKTipComboBox combo;
  skintest::TestDialog dialog(IDD_SKIN_CONTROLS, [&](skintest::TestDialog& d) {
    d.SetSkinBackground(RGB(255, 255, 255));
    faceButton.SubclassDlgItem(IDC_SKIN_BUTTON, d);
    checkButton.SubclassDlgItem(IDC_SKIN_CHECK, d);
    label.SubclassDlgItem(IDC_SKIN_LABEL, d);
    group.SubclassDlgItem(IDC_SKIN_GROUP, d);
    list.SubclassDlgItem(IDC_SKIN_LIST, d);
    tree.SubclassDlgItem(IDC_SKIN_TREE, d);
    progress.SubclassDlgItem(IDC_SKIN_PROGRESS, d);
    tabs.SubclassDlgItem(IDC_SKIN_TAB, d);
    listBox.SubclassDlgItem(IDC_SKIN_LISTBOX, d);
    combo.SubclassDlgItem(IDC_SKIN_COMBO, d);
  });
  ASSERT_TRUE(dialog.Open());
  HMODULE language = Module(L"TWKLang.dll");
  ASSERT_TRUE(language);

  faceButton.SetText(L"Scan");
  faceButton.SetFlat(true);
  faceButton.SetAlignment(3);
  faceButton.SetColour(CTWKButton::State::Out, CTWKButton::Part::Text, RGB(255, 255, 255));
  faceButton.SetColour(CTWKButton::State::In, CTWKButton::Part::Text, RGB(255, 255, 255));
  for (auto state : {CTWKButton::State::In, CTWKButton::State::Out, CTWKButton::State::Focus}) {
    faceButton.SetColour(state, CTWKButton::Part::Background, RGB(255, 255, 255));
  }
  faceButton.SetBitmaps(twk::skin::LoadBitmapResource(language, 410), RGB(255, 255, 255),
                        twk::skin::LoadBitmapResource(language, 411), RGB(255, 255, 255));
  faceButton.MoveWindow(15, 15, 95, 40);
  checkButton.SetCheckBoxMode(true);
  checkButton.SetCheck(true);
  checkButton.MoveWindow(120, 15, 90, 30);
  label.SetTransparent(true);
  label.SetFont(L"Verdana", 10, true);
  label.SetTextColor(RGB(228, 109, 17));
  label.SetText(L"Transparent label");
  group.SetTextColor(RGB(0, 0, 160));

  list.SetItemFont();
  const wchar_t* columns[] = {L"Process", L"Path"};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(columns[i]);
    column.cx = 90;
    list.SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  const wchar_t* rows[][2] = {{L"explorer.exe", L"C:\\windows"}, {L"tarnwick.exe", L"C:\\Program Files"},
                              {L"notepad.exe", L"C:\\windows\\system32"}};
  for (int r = 0; r < 3; ++r) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    item.pszText = const_cast<wchar_t*>(rows[r][0]);
    list.SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(rows[r][1]);
    list.SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
  }
  LVITEMW selected{};
  selected.stateMask = LVIS_SELECTED;
  selected.state = LVIS_SELECTED;
  list.SendMessage(LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));

  auto insert = [&](HTREEITEM parent, const wchar_t* text) {
    TVINSERTSTRUCTW data{};
    data.hParent = parent;
    data.hInsertAfter = TVI_LAST;
    data.item.mask = TVIF_TEXT;
    data.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&data)));
  };
  HTREEITEM severe = insert(TVI_ROOT, L"Severe threats (2)");
  insert(severe, L"Trojan.Example");
  HTREEITEM cookie = insert(severe, L"Tracking cookie");
  insert(TVI_ROOT, L"Low threats (1)");
  tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(severe));
  tree.SetCheck(cookie, true);

  progress.SendMessage(PBM_SETRANGE32, 0, 100);
  progress.SendMessage(PBM_SETPOS, 60);
  for (const wchar_t* text : {L"Scan", L"Review", L"Fix"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    tabs.SendMessage(TCM_INSERTITEMW, tabs.SendMessage(TCM_GETITEMCOUNT), reinterpret_cast<LPARAM>(&item));
  }
  tabs.EnableTab(2, false);
  for (const wchar_t* text : {L"C:\\Windows\\Temp", L"C:\\Documents and Settings\\All Users\\Application Data"}) {
    listBox.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Every day at 10:00 AM"));
  combo.SendMessage(CB_SETCURSEL, 0);

  EXPECT_TRUE(Shoot(dialog, L"controls"));
  EXPECT_TRUE(Shoot(dialog, L"button_normal", PartOf(dialog, faceButton)));
  Hover(faceButton);
  EXPECT_TRUE(Shoot(dialog, L"button_hover", PartOf(dialog, faceButton)));
  SetCursorPos(1200, 1000);
  twktest::PumpUntil([&] { return !faceButton.IsPointerOver(); }, 2000);
  EXPECT_TRUE(Shoot(dialog, L"button_checkbox", PartOf(dialog, checkButton)));
  EXPECT_TRUE(Shoot(dialog, L"static_transparent", PartOf(dialog, label)));
  EXPECT_TRUE(Shoot(dialog, L"static_groupbox", PartOf(dialog, group)));
  EXPECT_TRUE(Shoot(dialog, L"list", PartOf(dialog, list)));
  EXPECT_TRUE(Shoot(dialog, L"tree", PartOf(dialog, tree)));
  EXPECT_TRUE(Shoot(dialog, L"progress", PartOf(dialog, progress)));
  EXPECT_TRUE(Shoot(dialog, L"tabs", PartOf(dialog, tabs)));
  EXPECT_TRUE(Shoot(dialog, L"listbox", PartOf(dialog, listBox)));
  EXPECT_TRUE(Shoot(dialog, L"combo", PartOf(dialog, combo)));
  FreeLibrary(language);
}

struct FormScene {
  UINT templateId;
  const wchar_t* module;
  UINT layout;
  const wchar_t* form;
  int width, height;
  const wchar_t* picture;
  int hoverId;
};

void ShootForm(const FormScene& scene, HMODULE layouts) {
  HMODULE module = Module(scene.module);
  ASSERT_TRUE(module);
  twk::skin::CModuleSkinSource source({layouts ? layouts : module}, module);
  SkinnedChildren children;
  skintest::TestDialog dialog(scene.templateId, [&](skintest::TestDialog& d) { children.AttachAll(d); });
  ASSERT_TRUE(dialog.Open());
  SetWindowPos(dialog, nullptr, 20, 20, scene.width, scene.height, SWP_NOZORDER | SWP_NOACTIVATE);
  CTWKRenderer renderer(&source);
  renderer.RenderFormFromResource(std::to_wstring(scene.layout).c_str(), scene.form, dialog, layouts ? layouts : module);
  children.PageButtonLook();
  if (scene.form == std::wstring(L"UpdaterSchedulePopUp")) {
    auto* background = dynamic_cast<CTWKStatic*>(wl::CWindow::FromHandle(dialog.GetDlgItem(1014)));
    if (background) background->SetBitmap(twk::skin::LoadBitmapResource(module, 101));
  }
  EXPECT_TRUE(Shoot(dialog, scene.picture));
  if (scene.hoverId) {
    Hover(dialog.GetDlgItem(scene.hoverId));
    EXPECT_TRUE(Shoot(dialog, (std::wstring(scene.picture) + L"_hover").c_str()));
  }
  FreeLibrary(module);
}

TEST_F(ScreenshotsTest, DISABLED_Forms) {
  const FormScene scenes[] = {
      {IDD_SKIN_MAINFORM, L"TWKLang.dll", 290, L"MainForm", 771, 551, L"form_mainform", 1574},
      {IDD_SKIN_DOWNLOAD, L"TWKDefsUpdaterLang.dll", 113, L"DownloadDefinitions", 420, 250, L"form_downloaddefinitions",
       1248},
      {IDD_SKIN_POPUP, L"TWKDefsUpdaterLang.dll", 112, L"UpdaterSchedulePopUp", 250, 152, L"form_updaterschedulepopup",
       1017},
      {IDD_SKIN_STATUS, L"TWKLang.dll", 297, L"Status", 657, 473, L"form_status", 1475},
      {IDD_SKIN_FIX, L"TWKLang.dll", 287, L"Fix", 657, 473, L"form_fix", 1013},
      {IDD_SKIN_SCAN, L"TWKLang.dll", 295, L"Scan", 657, 473, L"form_scan", 1181},
      {IDD_SKIN_ERROR, L"TWKLang.dll", 285, L"ErrorDialog", 430, 350, L"form_errordialog", 1201},
      {IDD_SKIN_WARNING, L"TWKLang.dll", 303, L"Warning", 400, 210, L"form_warning", 1013},
      {IDD_SKIN_OPTIONS, L"TWKLang.dll", 292, L"Options", 657, 473, L"form_options", 1442},
      {IDD_SKIN_PROCEXP, L"TWKLang.dll", 300, L"SubProcessExplorer", 617, 370, L"form_subprocessexplorer", 1219},
  };
  for (const auto& scene : scenes) ShootForm(scene, nullptr);
}

TEST_F(ScreenshotsTest, DISABLED_MessageBox) {
  HMODULE language = Module(L"TWKLang.dll");
  ASSERT_TRUE(language);
  twk::skin::CModuleSkinSource source({GetModuleHandleW(nullptr)}, language);
  SkinnedChildren children;
  skintest::TestDialog dialog(IDD_SKIN_MESSAGEBOX, [&](skintest::TestDialog& d) { children.AttachAll(d); });
  ASSERT_TRUE(dialog.Open());
  SetWindowPos(dialog, nullptr, 20, 20, 349, 151, SWP_NOZORDER | SWP_NOACTIVATE);
  CTWKRenderer renderer(&source);
  renderer.RenderFormFromResource(L"327", L"MessageBox", dialog);
  children.PageButtonLook();
  // An OK/Cancel question: the other variants are hidden, as the message box does.
  for (int id : {1015, 1016, 1018, 1019, 1020, 1013, 3, 4}) ShowWindow(dialog.GetDlgItem(id), SW_HIDE);
  SetDlgItemTextW(dialog, 1011, L"The scan found 3 threats on this computer.");
  SetDlgItemTextW(dialog, 1012, L"Do you want to remove them now?");
  EXPECT_TRUE(Shoot(dialog, L"form_messagebox"));
  Hover(dialog.GetDlgItem(IDOK));
  EXPECT_TRUE(Shoot(dialog, L"form_messagebox_hover"));
  FreeLibrary(language);
}

}  // namespace
