#include "XmlNodeWrapper.h"

#include "XmlException.h"
#include "XmlNodeListWrapper.h"

namespace {

std::wstring TextOfVariant(VARIANT& value) {
  std::wstring text;
  if (value.vt == VT_BSTR && value.bstrVal) text.assign(value.bstrVal, SysStringLen(value.bstrVal));
  VariantClear(&value);
  return text;
}

CXmlComRef<IXMLDOMElement> AsElement(const CXmlComRef<IXMLDOMNode>& node) {
  return node.As<IXMLDOMElement>(IID_IXMLDOMElement);
}

}  // namespace

std::wstring CXmlNodeWrapper::Name() const {
  if (!node_) return {};
  CXmlBstr name;
  ThrowIfXmlFailed(node_->get_nodeName(name.put()));
  return name.str();
}

std::wstring CXmlNodeWrapper::GetText() const {
  if (!node_) return {};
  CXmlBstr text;
  ThrowIfXmlFailed(node_->get_text(text.put()));
  return text.str();
}

std::wstring CXmlNodeWrapper::GetValue(const std::wstring& attribute) const {
  auto element = AsElement(node_);
  if (!element) return {};
  CXmlBstr name(attribute);
  VARIANT value;
  VariantInit(&value);
  ThrowIfXmlFailed(element->getAttribute(name.get(), &value));
  return TextOfVariant(value);
}

bool CXmlNodeWrapper::HasAttribute(const std::wstring& attribute) const {
  auto element = AsElement(node_);
  if (!element) return false;
  CXmlBstr name(attribute);
  CXmlComRef<IXMLDOMAttribute> node;
  ThrowIfXmlFailed(element->getAttributeNode(name.get(), node.put()));
  return static_cast<bool>(node);
}

void CXmlNodeWrapper::SetValue(const std::wstring& attribute, const std::wstring& value) {
  auto element = AsElement(node_);
  if (!element) throw CXmlException(E_NOINTERFACE);
  CXmlBstr name(attribute);
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  HRESULT hr = element->setAttribute(name.get(), v);
  VariantClear(&v);
  ThrowIfXmlFailed(hr);
}

bool CXmlNodeWrapper::IsElement() const {
  if (!node_) return false;
  DOMNodeType type = NODE_INVALID;
  ThrowIfXmlFailed(node_->get_nodeType(&type));
  return type == NODE_ELEMENT;
}

CXmlNodeWrapper CXmlNodeWrapper::FirstChild() const {
  if (!node_) return {};
  CXmlComRef<IXMLDOMNode> child;
  ThrowIfXmlFailed(node_->get_firstChild(child.put()));
  return CXmlNodeWrapper(child.get());
}

CXmlNodeWrapper CXmlNodeWrapper::NextSibling() const {
  if (!node_) return {};
  CXmlComRef<IXMLDOMNode> next;
  ThrowIfXmlFailed(node_->get_nextSibling(next.put()));
  return CXmlNodeWrapper(next.get());
}

CXmlNodeListWrapper CXmlNodeWrapper::ChildNodes() const {
  if (!node_) return {};
  CXmlComRef<IXMLDOMNodeList> list;
  ThrowIfXmlFailed(node_->get_childNodes(list.put()));
  return CXmlNodeListWrapper(list.get());
}

CXmlNodeWrapper CXmlNodeWrapper::SelectSingleNode(const std::wstring& path) const {
  if (!node_) return {};
  CXmlBstr query(path);
  CXmlComRef<IXMLDOMNode> found;
  ThrowIfXmlFailed(node_->selectSingleNode(query.get(), found.put()));
  return CXmlNodeWrapper(found.get());
}

CXmlNodeListWrapper CXmlNodeWrapper::SelectNodes(const std::wstring& path) const {
  if (!node_) return {};
  CXmlBstr query(path);
  CXmlComRef<IXMLDOMNodeList> found;
  ThrowIfXmlFailed(node_->selectNodes(query.get(), found.put()));
  return CXmlNodeListWrapper(found.get());
}

CXmlNodeWrapper CXmlNodeWrapper::AppendChild(const CXmlNodeWrapper& child) {
  if (!node_ || child.IsEmpty()) throw CXmlException(E_POINTER);
  CXmlComRef<IXMLDOMNode> appended;
  ThrowIfXmlFailed(node_->appendChild(child.Interface(), appended.put()));
  return CXmlNodeWrapper(appended.get());
}
