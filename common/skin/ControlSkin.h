#pragma once
// The attributes of one form or control element of a skin layout, parsed.
#include <windows.h>

#include <functional>
#include <string>

namespace twk::skin {

struct ControlSkin {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  LOGFONTW font{};
  COLORREF frontColour = 0;
  COLORREF backColour = 0;
  std::wstring normalImage;
  std::wstring hoverImage;
};

// A decimal integer from the leading characters (optional sign); 0 when there is none.
long ParseLeadingInteger(const std::wstring& text);
// "r,g,b" with each part 0..255; false (colour untouched) when it does not parse.
bool ParseColour(const std::wstring& text, COLORREF& colour);

// Builds a ControlSkin from an attribute reader that gives "" for missing attributes:
// right and bottom are width and height, CharSet 0 becomes 1, any non-zero Italic or
// Underline is set, the face name is cut to 31 characters, missing colours are black.
using AttributeReader = std::function<std::wstring(const wchar_t* name)>;
ControlSkin ReadControlSkin(const AttributeReader& attribute);

}  // namespace twk::skin
