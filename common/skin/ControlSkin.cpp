#include "ControlSkin.h"

#include <cwchar>
#include <cwctype>

namespace twk::skin {

long ParseLeadingInteger(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && std::iswspace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;  // held, never overflowed
  }
  return static_cast<long>(negative ? -value : value);
}

bool ParseColour(const std::wstring& text, COLORREF& colour) {
  unsigned parts[3] = {};
  size_t i = 0;
  for (int part = 0; part < 3; ++part) {
    while (i < text.size() && text[i] == L' ') ++i;
    size_t start = i;
    unsigned value = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9' && value <= 255) value = value * 10 + (text[i++] - L'0');
    if (i == start || value > 255) return false;
    parts[part] = value;
    while (i < text.size() && text[i] == L' ') ++i;
    if (part < 2) {
      if (i >= text.size() || text[i] != L',') return false;
      ++i;
    }
  }
  colour = RGB(parts[0], parts[1], parts[2]);
  return true;
}

ControlSkin ReadControlSkin(const AttributeReader& attribute) {
  ControlSkin skin;
  skin.x = ParseLeadingInteger(attribute(L"left"));
  skin.y = ParseLeadingInteger(attribute(L"top"));
  skin.width = ParseLeadingInteger(attribute(L"right"));
  skin.height = ParseLeadingInteger(attribute(L"bottom"));

  LOGFONTW& font = skin.font;
  std::wstring face = attribute(L"Font");
  if (face.size() > LF_FACESIZE - 1) face.resize(LF_FACESIZE - 1);
  wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  font.lfHeight = ParseLeadingInteger(attribute(L"Height"));
  long charSet = ParseLeadingInteger(attribute(L"CharSet"));
  font.lfCharSet = static_cast<BYTE>(charSet == 0 ? DEFAULT_CHARSET : charSet);
  font.lfWeight = ParseLeadingInteger(attribute(L"Weight"));
  font.lfUnderline = ParseLeadingInteger(attribute(L"Underline")) != 0;
  font.lfItalic = ParseLeadingInteger(attribute(L"Italic")) != 0;
  font.lfWidth = 0;
  font.lfEscapement = 0;
  font.lfOrientation = 0;
  font.lfStrikeOut = FALSE;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;

  ParseColour(attribute(L"FrontColor"), skin.frontColour);
  ParseColour(attribute(L"BackColor"), skin.backColour);
  skin.normalImage = attribute(L"NormalImage");
  skin.hoverImage = attribute(L"HoverImage");
  return skin;
}

}  // namespace twk::skin
