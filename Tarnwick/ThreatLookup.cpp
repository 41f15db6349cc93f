#include "ThreatLookup.h"

std::wstring XPathLiteral(const std::wstring& text) {
  if (text.find(L'\'') == std::wstring::npos) return L"'" + text + L"'";
  if (text.find(L'"') == std::wstring::npos) return L"\"" + text + L"\"";
  // Both kinds: apostrophe-free pieces joined with "'" by concat().
  std::wstring out = L"concat(";
  std::size_t start = 0;
  for (;;) {
    const auto quote = text.find(L'\'', start);
    const std::wstring piece = text.substr(start, quote == std::wstring::npos ? std::wstring::npos : quote - start);
    if (!piece.empty()) out += L"'" + piece + L"', ";
    if (quote == std::wstring::npos) break;
    out += L"\"'\", ";
    start = quote + 1;
  }
  // concat() needs two arguments at least; a trailing empty literal makes sure.
  out += L"'')";
  return out;
}

ThreatDetails LookUpThreat(const CXmlDocumentWrapper& results, const std::wstring& name) {
  ThreatDetails details;
  CXmlNodeWrapper threat = results.SelectSingleNode(L"//threat[@name=" + XPathLiteral(name) + L"]");
  if (threat.IsEmpty()) return details;
  details.level = threat.GetValue(L"level");
  details.category = threat.GetValue(L"category");
  details.advice = threat.SelectSingleNode(L"threatAdviceDetails").GetText();
  return details;
}
