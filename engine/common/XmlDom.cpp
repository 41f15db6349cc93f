#include "XmlDom.h"

#include <cwchar>

namespace engine {

namespace {

Ptr<IXMLDOMNode> AsNode(IXMLDOMElement* e) {
  Ptr<IXMLDOMNode> n;
  if (e) e->QueryInterface(__uuidof(IXMLDOMNode), n.put_void());
  return n;
}

VARIANT StringVariant(BSTR b) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = b;
  return v;
}

}  // namespace

XmlDocument NewXmlDocument() {
  CLSID clsid;
  XmlDocument doc;
  if (FAILED(CLSIDFromProgID(L"Msxml2.DOMDocument", &clsid))) return doc;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IXMLDOMDocument),
                              doc.put_void())))
    return XmlDocument();
  doc->put_async(VARIANT_FALSE);
  doc->put_validateOnParse(VARIANT_FALSE);
  doc->put_resolveExternals(VARIANT_FALSE);
  doc->put_preserveWhiteSpace(VARIANT_FALSE);
  return doc;
}

bool LoadXmlText(IXMLDOMDocument* doc, const std::wstring& text) {
  if (!doc) return false;
  Bstr b(text);
  VARIANT_BOOL ok = VARIANT_FALSE;
  return SUCCEEDED(doc->loadXML(b.get(), &ok)) && ok == VARIANT_TRUE && DocumentElement(doc);
}

bool LoadXmlFile(IXMLDOMDocument* doc, const std::wstring& path) {
  if (!doc) return false;
  Bstr b(path);
  VARIANT v = StringVariant(b.get());
  VARIANT_BOOL ok = VARIANT_FALSE;
  return SUCCEEDED(doc->load(v, &ok)) && ok == VARIANT_TRUE && DocumentElement(doc);
}

bool SaveXmlFile(IXMLDOMDocument* doc, const std::wstring& path) {
  if (!doc) return false;
  Bstr b(path);
  return SUCCEEDED(doc->save(StringVariant(b.get())));
}

std::wstring XmlText(IXMLDOMDocument* doc) {
  Bstr b;
  if (!doc || FAILED(doc->get_xml(b.put()))) return L"";
  return b.str();
}

XmlElement DocumentElement(IXMLDOMDocument* doc) {
  XmlElement e;
  if (doc) doc->get_documentElement(e.put());
  return e;
}

XmlElement SetDocumentElement(IXMLDOMDocument* doc, const wchar_t* name) {
  XmlElement e;
  Bstr b(name);
  if (!doc || FAILED(doc->createElement(b.get(), e.put()))) return XmlElement();
  if (FAILED(doc->putref_documentElement(e.get()))) return XmlElement();
  return e;
}

std::wstring ElementName(IXMLDOMElement* element) {
  Bstr b;
  if (!element || FAILED(element->get_tagName(b.put()))) return L"";
  return b.str();
}

std::wstring Attribute(IXMLDOMElement* element, const wchar_t* name, bool* present) {
  if (present) *present = false;
  if (!element) return L"";
  Bstr b(name);
  VARIANT v;
  VariantInit(&v);
  std::wstring out;
  if (element->getAttribute(b.get(), &v) == S_OK && v.vt == VT_BSTR) {
    if (present) *present = true;
    out.assign(v.bstrVal ? v.bstrVal : L"", v.bstrVal ? SysStringLen(v.bstrVal) : 0);
  }
  VariantClear(&v);
  return out;
}

void SetAttribute(IXMLDOMElement* element, const wchar_t* name, const std::wstring& value) {
  if (!element) return;
  Bstr b(name);
  Bstr val(value);
  element->setAttribute(b.get(), StringVariant(val.get()));
}

void RemoveAttribute(IXMLDOMElement* element, const wchar_t* name) {
  if (!element) return;
  Bstr b(name);
  element->removeAttribute(b.get());
}

long AttributeNumber(IXMLDOMElement* element, const wchar_t* name, long fallback) {
  bool present = false;
  std::wstring text = Attribute(element, name, &present);
  if (!present || text.empty()) return fallback;
  wchar_t* end = nullptr;
  long value = std::wcstol(text.c_str(), &end, 10);
  return (end && *end == 0) ? value : fallback;
}

std::vector<XmlElement> ChildElements(IXMLDOMNode* parent, const wchar_t* name) {
  std::vector<XmlElement> out;
  if (!parent) return out;
  Ptr<IXMLDOMNode> child;
  parent->get_firstChild(child.put());
  while (child) {
    DOMNodeType type;
    if (SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT) {
      XmlElement e = child.As<IXMLDOMElement>();
      if (e && (!name || ElementName(e.get()) == name)) out.push_back(e);
    }
    Ptr<IXMLDOMNode> next;
    child->get_nextSibling(next.put());
    child = next;
  }
  return out;
}

XmlElement FirstChild(IXMLDOMNode* parent, const wchar_t* name) {
  auto all = ChildElements(parent, name);
  return all.empty() ? XmlElement() : all.front();
}

XmlElement AppendChild(IXMLDOMDocument* doc, IXMLDOMNode* parent, const wchar_t* name) {
  XmlElement e;
  Bstr b(name);
  if (!doc || !parent || FAILED(doc->createElement(b.get(), e.put()))) return XmlElement();
  Ptr<IXMLDOMNode> added;
  if (FAILED(parent->appendChild(AsNode(e.get()).get(), added.put()))) return XmlElement();
  return e;
}

XmlElement EnsureChild(IXMLDOMDocument* doc, IXMLDOMNode* parent, const wchar_t* name) {
  XmlElement e = FirstChild(parent, name);
  return e ? e : AppendChild(doc, parent, name);
}

void RemoveChild(IXMLDOMNode* parent, IXMLDOMNode* child) {
  if (!parent || !child) return;
  Ptr<IXMLDOMNode> removed;
  parent->removeChild(child, removed.put());
}

void RemoveAllChildren(IXMLDOMNode* parent) {
  if (!parent) return;
  for (;;) {
    Ptr<IXMLDOMNode> child;
    if (parent->get_firstChild(child.put()) != S_OK || !child) break;
    RemoveChild(parent, child.get());
  }
}

std::wstring TextOf(IXMLDOMNode* node) {
  Bstr b;
  if (!node || FAILED(node->get_text(b.put()))) return L"";
  return b.str();
}

void SetText(IXMLDOMNode* node, const std::wstring& text) {
  if (!node) return;
  Bstr b(text);
  node->put_text(b.get());
}

std::vector<XmlElement> Descendants(IXMLDOMNode* node, const wchar_t* name) {
  std::vector<XmlElement> out;
  for (auto& child : ChildElements(node)) {
    if (ElementName(child.get()) == name) out.push_back(child);
    auto deeper = Descendants(child.As<IXMLDOMNode>().get(), name);
    out.insert(out.end(), deeper.begin(), deeper.end());
  }
  return out;
}

}  // namespace engine
