#pragma once
// The details of one threat of a loaded results document, found by its name.
#include <string>

#include "XmlDocumentWrapper.h"

struct ThreatDetails {
  std::wstring level;
  std::wstring category;
  std::wstring advice;
};

// The XPath string literal that stands for text exactly, whatever quotes it holds.
std::wstring XPathLiteral(const std::wstring& text);

// The first threat whose name attribute equals name; all three empty when none does.
ThreatDetails LookUpThreat(const CXmlDocumentWrapper& results, const std::wstring& name);
