#pragma once
// A list of nodes (a selection or a node's children), possibly empty.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "XmlComRef.h"
#include "XmlNodeWrapper.h"

class CXmlNodeListWrapper {
 public:
  CXmlNodeListWrapper() = default;
  explicit CXmlNodeListWrapper(IXMLDOMNodeList* list) : list_(list) {}

  bool IsEmpty() const { return !list_; }
  long Count() const;  // 0 for an empty list
  // The node at a 0-based index; an empty node beyond the end.
  CXmlNodeWrapper Node(long index) const;
  std::wstring GetText(long index) const { return Node(index).GetText(); }
  std::wstring GetValue(long index, const std::wstring& attribute) const {
    return Node(index).GetValue(attribute);
  }

 private:
  CXmlComRef<IXMLDOMNodeList> list_;
};
