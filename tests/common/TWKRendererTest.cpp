#include <gtest/gtest.h>

#include <string>

#include "FileBytes.h"
#include "SkinBitmap.h"
#include "SkinTestSupport.h"
#include "TWKButton.h"
#include "TWKRenderer.h"
#include "TWKStatic.h"
#include "TempFolder.h"

namespace {

using skintest::Picture;

// Layouts given as text, images from this test program's resources.
class TextSkinSource : public twk::skin::ISkinSource {
 public:
  std::wstring layout;
  std::wstring FormLayout(UINT) const override { return layout; }
  std::wstring ControlLayout(UINT) const override { return layout; }
  HBITMAP Bitmap(UINT number) const override {
    return twk::skin::LoadBitmapResource(GetModuleHandleW(nullptr), number);
  }
};

const wchar_t kFormLayout[] =
    LR"(<Configuration><Form left="1" top="2" right="300" bottom="200" BackColor="10,20,30">
  <win2001 left="329" right="14" top="4" bottom="14" Font="Verdana" Height="-12" CharSet="0" Weight="700"
           FrontColor="255,255,0" BackColor="0,0,128" NormalImage="7201" HoverImage="7202"/>
  <win2003 left="5" top="60" right="120" bottom="16" Font="ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn" Height="-11"
           CharSet="0" Weight="400" Italic="2" FrontColor="1,2,3" BackColor="4,5,6"/>
  <win2012 left="200" top="100" right="20" bottom="20" FrontColor="0,0,0" BackColor="0,0,0" NormalImage="7201"/>
  <win2013 left="10" top="150" right="90" bottom="20" FrontColor="0,0,0" BackColor="0,0,0"/>
</Form></Configuration>)";

class TWKRendererTest : public ::testing::Test {
 protected:
  void Open(UINT templateId = IDD_SKIN_FORM) {
    dialog = std::make_unique<skintest::TestDialog>(templateId, [this](skintest::TestDialog& d) {
      button.SubclassDlgItem(IDC_SKIN_BUTTON, d);
      label.SubclassDlgItem(IDC_SKIN_LABEL, d);
    });
    ASSERT_TRUE(dialog->Open());
  }
  void TearDown() override { CTWKRenderer::SetReporting({}); }
  RECT Placed(int id) {
    wl::CWindow probe;
    RECT rect{};
    GetWindowRect(dialog->GetDlgItem(id), &rect);
    MapWindowPoints(HWND_DESKTOP, *dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  TextSkinSource source;
  std::unique_ptr<skintest::TestDialog> dialog;
  CTWKButton button;
  CTWKStatic label;
};

TEST_F(TWKRendererTest, FormLayoutPlacesColoursAndFontsEveryControl) {
  Open();
  source.layout = kFormLayout;
  CTWKRenderer renderer(&source);
  EXPECT_TRUE(renderer.RenderFormFromResource(L"287", L"Form", *dialog));

  RECT buttonRect = Placed(IDC_SKIN_BUTTON);
  EXPECT_EQ(buttonRect.left, 329);
  EXPECT_EQ(buttonRect.right, 343) << "right is the width";
  EXPECT_EQ(buttonRect.top, 4);
  EXPECT_EQ(buttonRect.bottom, 18);
  for (auto state : {CTWKButton::State::In, CTWKButton::State::Out, CTWKButton::State::Focus}) {
    EXPECT_EQ(button.GetColour(state, CTWKButton::Part::Background), RGB(0, 0, 128));
    EXPECT_EQ(button.GetColour(state, CTWKButton::Part::Text), RGB(255, 255, 0));
  }
  EXPECT_TRUE(button.HasImages());
  LOGFONTW buttonFont{};
  GetObjectW(reinterpret_cast<HFONT>(button.SendMessage(WM_GETFONT)), sizeof buttonFont, &buttonFont);
  EXPECT_STREQ(buttonFont.lfFaceName, L"Verdana");
  EXPECT_EQ(buttonFont.lfWeight, 700);
  // The images went in with white as the transparent colour: the white frame of the
  // red square shows the button's background.
  button.SetAlignment(3);
  button.SetFlat(true);  // no 3-D edge over the corner pixels
  Picture face = Picture::OfClient(button);
  EXPECT_EQ(face.At(6, 6), RGB(255, 0, 0));
  EXPECT_EQ(face.At(1, 1), RGB(0, 0, 128));

  LOGFONTW labelFont{};
  ASSERT_TRUE(GetObjectW(label.Font(), sizeof labelFont, &labelFont));
  EXPECT_EQ(labelFont.lfCharSet, DEFAULT_CHARSET) << "CharSet 0 becomes 1";
  EXPECT_TRUE(labelFont.lfItalic) << "Italic 2 is italic";
  EXPECT_EQ(std::wstring(labelFont.lfFaceName), std::wstring(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"));
  EXPECT_EQ(label.TextColor(), RGB(1, 2, 3));
  EXPECT_EQ(label.BkColor(), RGB(4, 5, 6));

  EXPECT_NE(SendMessageW(dialog->GetDlgItem(IDC_SKIN_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
      << "a plain picture static shows its image";
  RECT edit = Placed(IDC_SKIN_EDIT);
  EXPECT_EQ(edit.left, 10);
  EXPECT_EQ(edit.top, 150);
  EXPECT_EQ(edit.right - edit.left, 90);

  RECT group = Placed(IDC_SKIN_GROUP);
  EXPECT_EQ(group.left, 0) << "no element: moved to 0,0 with size 0,0";
  EXPECT_EQ(group.top, 0);
  EXPECT_EQ(group.right, 0);
  EXPECT_EQ(group.bottom, 0);

  ASSERT_TRUE(dialog->HasSkinBackground()) << "a #32770 dialog takes the form's BackColor";
  EXPECT_EQ(dialog->SkinBackground(), RGB(10, 20, 30));
}

TEST_F(TWKRendererTest, MalformedLayoutChangesNothing) {
  Open();
  RECT before = Placed(IDC_SKIN_BUTTON);
  RECT groupBefore = Placed(IDC_SKIN_GROUP);
  std::wstring logged;
  CTWKRenderer::SetReporting({[&](const std::wstring& line) { logged = line; }, nullptr});
  source.layout = L"<Configuration><Form><win2001 left=\"5\"></Form>";
  CTWKRenderer renderer(&source);
  EXPECT_TRUE(renderer.RenderFormFromResource(L"287", L"Form", *dialog));
  RECT after = Placed(IDC_SKIN_BUTTON);
  EXPECT_TRUE(EqualRect(&before, &after));
  RECT groupAfter = Placed(IDC_SKIN_GROUP);
  EXPECT_TRUE(EqualRect(&groupBefore, &groupAfter));
  EXPECT_FALSE(dialog->HasSkinBackground());
  EXPECT_EQ(logged, L"RenderFormFromResource - LoadXML Failed for form - Form");

  source.layout.clear();  // a missing resource reads as empty text
  EXPECT_TRUE(renderer.RenderFormFromResource(L"287", L"Form", *dialog));
  after = Placed(IDC_SKIN_BUTTON);
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(TWKRendererTest, SingleControlFromItsElement) {
  Open();
  source.layout = kFormLayout;
  RECT groupBefore = Placed(IDC_SKIN_GROUP);
  CTWKRenderer renderer(&source);
  EXPECT_TRUE(renderer.RenderControlFromResource(label, L"290", L"Form", IDC_SKIN_LABEL));
  RECT placed = Placed(IDC_SKIN_LABEL);
  EXPECT_EQ(placed.left, 5);
  EXPECT_EQ(placed.top, 60);
  EXPECT_EQ(placed.right, 125);
  EXPECT_EQ(label.TextColor(), RGB(1, 2, 3));
  RECT groupAfter = Placed(IDC_SKIN_GROUP);
  EXPECT_TRUE(EqualRect(&groupBefore, &groupAfter)) << "other controls are left alone";
}

TEST_F(TWKRendererTest, ShippedMessageBoxLayoutFromTheProgramsOwnResource) {
  Open(IDD_SKIN_MESSAGEBOX);
  twk::skin::CModuleSkinSource own({GetModuleHandleW(nullptr)}, GetModuleHandleW(nullptr));
  ASSERT_FALSE(twk::skin::LoadLayoutText(GetModuleHandleW(nullptr), 327).empty());
  CTWKRenderer renderer(&own);
  EXPECT_TRUE(renderer.RenderFormFromResource(L"327", L"MessageBox", *dialog));
  struct Expected {
    int id, x, y, w, h;
  } table[] = {{1010, 0, 0, 23, 21},   {150, 329, 4, 14, 14},   {1014, 0, 29, 349, 121}, {1011, 62, 38, 275, 50},
               {1009, 8, 38, 32, 33},  {1020, 8, 38, 45, 43},   {1012, 60, 65, 275, 36}, {1, 86, 98, 84, 33},
               {2, 176, 98, 84, 33},   {1013, 135, 98, 84, 33}, {3, 86, 98, 84, 33},     {4, 176, 98, 84, 33}};
  for (const auto& e : table) {
    RECT r = Placed(e.id);
    EXPECT_EQ(r.left, e.x) << e.id;
    EXPECT_EQ(r.top, e.y) << e.id;
    EXPECT_EQ(r.right - r.left, e.w) << e.id;
    EXPECT_EQ(r.bottom - r.top, e.h) << e.id;
  }
  EXPECT_EQ(dialog->SkinBackground(), RGB(204, 204, 204));
}

TEST_F(TWKRendererTest, FileVariantReadsLayoutAndImagesFromTheSkinFolder) {
  Open();
  twktest::TempFolder folder;
  CreateDirectoryW((folder / L"xml").c_str(), nullptr);
  CreateDirectoryW((folder / L"images").c_str(), nullptr);
  std::wstring layout = L"\xFEFF<Configuration><Form BackColor=\"1,1,1\"><win2012 left=\"7\" top=\"8\" right=\"20\" "
                        L"bottom=\"20\" NormalImage=\"face.BMP\"/><win2001 left=\"3\" top=\"4\" right=\"30\" "
                        L"bottom=\"20\" NormalImage=\"face.bmp\" HoverImage=\"missing.bmp\"/></Form></Configuration>";
  ASSERT_TRUE(twktest::WriteFileBytes(folder / L"xml\\Form.xml",
                                      std::string(reinterpret_cast<const char*>(layout.data()), layout.size() * 2)));
  HRSRC red = FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_TEST_RED), MAKEINTRESOURCEW(10));
  ASSERT_TRUE(red);
  std::string bmp(static_cast<const char*>(LockResource(LoadResource(nullptr, red))), SizeofResource(nullptr, red));
  ASSERT_TRUE(twktest::WriteFileBytes(folder / L"images\\face.bmp", bmp));
  CTWKRenderer::SetSkinFolder(folder.Path() + L"\\");
  CTWKRenderer renderer;
  EXPECT_TRUE(renderer.RenderForm(L"Form", *dialog));
  CTWKRenderer::SetSkinFolder(L"");
  RECT picture = Placed(IDC_SKIN_PICTURE);
  EXPECT_EQ(picture.left, 7);
  EXPECT_EQ(picture.top, 8);
  EXPECT_NE(SendMessageW(dialog->GetDlgItem(IDC_SKIN_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_TRUE(button.HasImages());
  EXPECT_EQ(dialog->SkinBackground(), RGB(1, 1, 1));
}

TEST(SkinBitmapTest, ImageResourcesDecodeToBitmaps) {
  struct Case {
    UINT number;
    int width, height;  // 0: no bitmap
  } cases[] = {{IDB_TEST_RED, 20, 20}, {7203, 40, 30}, {7204, 0, 0}, {9999, 0, 0}};
  for (const auto& c : cases) {
    wl::CBitmap bitmap(twk::skin::LoadBitmapResource(GetModuleHandleW(nullptr), c.number));
    if (c.width == 0) {
      EXPECT_FALSE(bitmap) << c.number;
      continue;
    }
    ASSERT_TRUE(bitmap) << c.number;
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, c.width) << c.number;
    EXPECT_EQ(info.bmHeight, c.height) << c.number;
    EXPECT_EQ(info.bmBits, nullptr) << "a device-dependent bitmap";
  }
}

}  // namespace
