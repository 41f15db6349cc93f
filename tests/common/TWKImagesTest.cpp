#include <gtest/gtest.h>

#include "FileBytes.h"
#include "SkinTestSupport.h"
#include "TWKImages.h"
#include "TempFolder.h"

namespace {

TEST(TWKImagesTest, HimetricToPixelsAt96PerInch) {
  struct Case {
    long himetric;
    int pixels;
  } cases[] = {{0, 0}, {2540, 96}, {1058, 40}, {26, 1}, {13, 0}, {794, 30}, {25400, 960}};
  for (const auto& c : cases) EXPECT_EQ(CTWKImages::HimetricToPixels(c.himetric), c.pixels) << c.himetric;
}

TEST(TWKImagesTest, ResourcePictureIsDrawnStretched) {
  CTWKImages images;
  ASSERT_TRUE(images.LoadFromResource(GetModuleHandleW(nullptr)));
  EXPECT_EQ(images.Width(), 40);
  EXPECT_EQ(images.Height(), 30);
  EXPECT_GT(images.DataSize(), 0u);
  skintest::Picture picture(100, 80);
  ASSERT_TRUE(images.Draw(picture.Dc(), 10, 10, 90, 70));
  COLORREF inside = picture.At(85, 65);
  EXPECT_LT(GetRValue(inside), 10);
  EXPECT_GT(GetGValue(inside), 110);
  EXPECT_LT(GetBValue(inside), 10);
  EXPECT_EQ(picture.At(5, 5), RGB(255, 0, 255)) << "nothing outside the rectangle";
  EXPECT_EQ(picture.At(95, 75), RGB(255, 0, 255));
  images.Release();
  EXPECT_FALSE(images.IsLoaded());
  EXPECT_FALSE(images.Draw(picture.Dc(), 0, 0, 10, 10));
}

TEST(TWKImagesTest, FilePictureAndFailures) {
  twktest::TempFolder folder;
  HRSRC jpeg = FindResourceW(nullptr, MAKEINTRESOURCEW(7203), MAKEINTRESOURCEW(10));
  ASSERT_TRUE(jpeg);
  std::string bytes(static_cast<const char*>(LockResource(LoadResource(nullptr, jpeg))), SizeofResource(nullptr, jpeg));
  ASSERT_TRUE(twktest::WriteFileBytes(folder / L"p.jpg", bytes));
  ASSERT_TRUE(twktest::WriteFileBytes(folder / L"broken.jpg", "not a picture at all"));
  CTWKImages images;
  ASSERT_TRUE(images.LoadFromFile(folder / L"p.jpg"));
  EXPECT_EQ(images.Width(), 40);
  EXPECT_EQ(images.DataSize(), bytes.size());
  EXPECT_FALSE(images.LoadFromFile(folder / L"broken.jpg"));
  EXPECT_FALSE(images.IsLoaded());
  EXPECT_FALSE(images.LoadFromFile(folder / L"missing.jpg"));
  EXPECT_FALSE(images.LoadFromResource(GetModuleHandleW(nullptr), 9999));
}

}  // namespace
