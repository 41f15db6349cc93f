#include <gtest/gtest.h>

#include <map>

#include "ControlSkin.h"

namespace {

using twk::skin::ControlSkin;

ControlSkin Read(const std::map<std::wstring, std::wstring>& attributes) {
  return twk::skin::ReadControlSkin([&](const wchar_t* name) {
    auto found = attributes.find(name);
    return found == attributes.end() ? std::wstring() : found->second;
  });
}

TEST(ControlSkinTest, RightAndBottomAreWidthAndHeight) {
  ControlSkin skin = Read({{L"left", L"329"}, {L"right", L"14"}, {L"top", L"4"}, {L"bottom", L"14"}});
  EXPECT_EQ(skin.x, 329);
  EXPECT_EQ(skin.y, 4);
  EXPECT_EQ(skin.width, 14);
  EXPECT_EQ(skin.height, 14);
}

TEST(ControlSkinTest, FontFields) {
  struct Case {
    const wchar_t* charSet;
    const wchar_t* italic;
    const wchar_t* underline;
    BYTE expectedCharSet;
    bool italicExpected;
    bool underlineExpected;
  } cases[] = {
      {L"0", L"0", L"0", 1, false, false}, {L"", L"2", L"", 1, true, false},  {L"1", L"3", L"1", 1, true, true},
      {L"2", L"1", L"5", 2, true, true},    {L"204", L"", L"0", 204, false, false},
  };
  for (const auto& c : cases) {
    ControlSkin skin = Read({{L"CharSet", c.charSet}, {L"Italic", c.italic}, {L"Underline", c.underline}});
    EXPECT_EQ(skin.font.lfCharSet, c.expectedCharSet) << c.charSet;
    EXPECT_EQ(skin.font.lfItalic != 0, c.italicExpected) << c.italic;
    EXPECT_EQ(skin.font.lfUnderline != 0, c.underlineExpected) << c.underline;
  }
  ControlSkin skin = Read({{L"Font", L"Verdana"}, {L"Height", L"-12"}, {L"Weight", L"700"}});
  EXPECT_STREQ(skin.font.lfFaceName, L"Verdana");
  EXPECT_EQ(skin.font.lfHeight, -12);
  EXPECT_EQ(skin.font.lfWeight, 700);
  EXPECT_EQ(skin.font.lfWidth, 0);
  EXPECT_FALSE(skin.font.lfStrikeOut);
}

TEST(ControlSkinTest, FaceNameIsCutTo31Characters) {
  std::wstring forty(40, L'F');
  ControlSkin skin = Read({{L"Font", forty}});
  EXPECT_EQ(std::wstring(skin.font.lfFaceName), std::wstring(31, L'F'));
}

TEST(ControlSkinTest, ColoursAndImages) {
  ControlSkin skin = Read({{L"FrontColor", L"255,255,255"}, {L"BackColor", L"242,243,247"},
                           {L"NormalImage", L"323"}, {L"HoverImage", L"336"}});
  EXPECT_EQ(skin.frontColour, RGB(255, 255, 255));
  EXPECT_EQ(skin.backColour, RGB(242, 243, 247));
  EXPECT_EQ(skin.normalImage, L"323");
  EXPECT_EQ(skin.hoverImage, L"336");
}

TEST(ControlSkinTest, MissingOrBrokenValuesReadAsZero) {
  ControlSkin skin = Read({{L"left", L"abc"}, {L"top", L"12px"}, {L"FrontColor", L"1,2"},
                           {L"BackColor", L"300,0,0"}});
  EXPECT_EQ(skin.x, 0);
  EXPECT_EQ(skin.y, 12) << "leading digits count";
  EXPECT_EQ(skin.width, 0);
  EXPECT_EQ(skin.frontColour, 0u);
  EXPECT_EQ(skin.backColour, 0u);
  EXPECT_TRUE(skin.normalImage.empty());
  EXPECT_EQ(skin.font.lfFaceName[0], L'\0');
}

TEST(ControlSkinTest, ColourParsing) {
  struct Case {
    const wchar_t* text;
    bool ok;
    COLORREF colour;
  } cases[] = {
      {L"0,0,0", true, RGB(0, 0, 0)},       {L"204,204,204", true, RGB(204, 204, 204)},
      {L"1, 2, 3", true, RGB(1, 2, 3)},      {L"", false, 0},
      {L"256,0,0", false, 0},                {L"1,2", false, 0},
      {L"a,b,c", false, 0},                  {L"10,20,30", true, RGB(10, 20, 30)},
  };
  for (const auto& c : cases) {
    COLORREF colour = 0x00ABCDEF;
    EXPECT_EQ(twk::skin::ParseColour(c.text, colour), c.ok) << c.text;
    EXPECT_EQ(colour, c.ok ? c.colour : 0x00ABCDEFu) << c.text;
  }
}

}  // namespace
