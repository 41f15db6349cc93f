#pragma once
// A node of a parsed XML document, possibly empty. Copies share the node.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "XmlComRef.h"

class CXmlNodeListWrapper;

class CXmlNodeWrapper {
 public:
  CXmlNodeWrapper() = default;
  explicit CXmlNodeWrapper(IXMLDOMNode* node) : node_(node) {}

  bool IsEmpty() const { return !node_; }
  IXMLDOMNode* Interface() const { return node_.get(); }

  std::wstring Name() const;
  // All descendant text, concatenated.
  std::wstring GetText() const;
  // Empty for an empty node, a node without attributes or a missing attribute.
  std::wstring GetValue(const std::wstring& attribute) const;
  bool HasAttribute(const std::wstring& attribute) const;
  void SetValue(const std::wstring& attribute, const std::wstring& value);

  bool IsElement() const;
  CXmlNodeListWrapper ChildNodes() const;
  // Sibling walking, cheaper than indexing a child list of a large element.
  CXmlNodeWrapper FirstChild() const;
  CXmlNodeWrapper NextSibling() const;
  CXmlNodeWrapper SelectSingleNode(const std::wstring& path) const;
  CXmlNodeListWrapper SelectNodes(const std::wstring& path) const;
  // Appends child and returns the appended node.
  CXmlNodeWrapper AppendChild(const CXmlNodeWrapper& child);

 private:
  CXmlComRef<IXMLDOMNode> node_;
};
