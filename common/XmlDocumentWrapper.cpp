#include "XmlDocumentWrapper.h"

#include "WinHandle.h"
#include "XmlException.h"

namespace {

// The system's import libraries lack this one identifier.
constexpr IID kIXMLDOMDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

VARIANT TextVariant(const std::wstring& text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

void SetProperty(IXMLDOMDocument2* doc, const wchar_t* name, const wchar_t* value) {
  CXmlBstr property(name);
  VARIANT v = TextVariant(value);
  HRESULT hr = doc->setProperty(property.get(), v);
  VariantClear(&v);
  ThrowIfXmlFailed(hr);
}

std::wstring Escaped(const std::wstring& text, bool inAttribute) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += inAttribute ? L"&quot;" : L"\""; break;
      case L'\t': out += inAttribute ? L"&#9;" : L"\t"; break;
      case L'\n': out += inAttribute ? L"&#10;" : L"\n"; break;
      case L'\r': out += L"&#13;"; break;
      default: out += c;
    }
  }
  return out;
}

std::wstring NodeText(IXMLDOMNode* node, HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*get)(BSTR*)) {
  CXmlBstr text;
  ThrowIfXmlFailed((node->*get)(text.put()));
  return text.str();
}

// The document element and everything below it, written compactly: no whitespace
// is added between elements (the parser's own text output indents under Wine).
void Serialize(IXMLDOMNode* node, std::wstring& out) {
  DOMNodeType type = NODE_INVALID;
  ThrowIfXmlFailed(node->get_nodeType(&type));
  switch (type) {
    case NODE_ELEMENT: {
      const std::wstring name = NodeText(node, &IXMLDOMNode::get_nodeName);
      out += L'<';
      out += name;
      CXmlComRef<IXMLDOMNamedNodeMap> attributes;
      ThrowIfXmlFailed(node->get_attributes(attributes.put()));
      long count = 0;
      if (attributes) ThrowIfXmlFailed(attributes->get_length(&count));
      for (long i = 0; i < count; ++i) {
        CXmlComRef<IXMLDOMNode> attribute;
        ThrowIfXmlFailed(attributes->get_item(i, attribute.put()));
        if (!attribute) continue;
        out += L' ';
        out += NodeText(attribute.get(), &IXMLDOMNode::get_nodeName);
        out += L"=\"";
        out += Escaped(NodeText(attribute.get(), &IXMLDOMNode::get_text), true);
        out += L'"';
      }
      CXmlComRef<IXMLDOMNode> child;
      ThrowIfXmlFailed(node->get_firstChild(child.put()));
      if (!child) {
        out += L"/>";
        return;
      }
      out += L'>';
      while (child) {
        Serialize(child.get(), out);
        CXmlComRef<IXMLDOMNode> next;
        ThrowIfXmlFailed(child->get_nextSibling(next.put()));
        child = std::move(next);
      }
      out += L"</";
      out += name;
      out += L'>';
      return;
    }
    case NODE_TEXT:
      out += Escaped(NodeText(node, &IXMLDOMNode::get_text), false);
      return;
    case NODE_CDATA_SECTION:
      out += L"<![CDATA[" + NodeText(node, &IXMLDOMNode::get_text) + L"]]>";
      return;
    case NODE_COMMENT:
      out += L"<!--" + NodeText(node, &IXMLDOMNode::get_text) + L"-->";
      return;
    default:
      return;
  }
}

}  // namespace

void CXmlDocumentWrapper::Create() {
  CLSID clsid{};
  ThrowIfXmlFailed(CLSIDFromProgID(L"Msxml2.DOMDocument", &clsid));
  CXmlComRef<IXMLDOMDocument2> doc;
  ThrowIfXmlFailed(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIXMLDOMDocument2,
                                    reinterpret_cast<void**>(doc.put())));
  ThrowIfXmlFailed(doc->put_async(VARIANT_FALSE));
  ThrowIfXmlFailed(doc->put_validateOnParse(VARIANT_FALSE));
  // Documents come from files others may write: never fetch what they point at.
  ThrowIfXmlFailed(doc->put_resolveExternals(VARIANT_FALSE));
  ThrowIfXmlFailed(doc->put_preserveWhiteSpace(preserveWhiteSpace_ ? VARIANT_TRUE : VARIANT_FALSE));
  // The paths of the system ("//Strings/S12", "//trace[@DispValue]", concat()) are XPath.
  SetProperty(doc.get(), L"SelectionLanguage", L"XPath");
  doc_ = std::move(doc);
}

void CXmlDocumentWrapper::EnsureCreated() {
  if (!doc_) Create();
}

void CXmlDocumentWrapper::SetPreserveWhiteSpace(bool preserve) {
  preserveWhiteSpace_ = preserve;
  if (doc_) ThrowIfXmlFailed(doc_->put_preserveWhiteSpace(preserve ? VARIANT_TRUE : VARIANT_FALSE));
}

bool CXmlDocumentWrapper::Load(const std::wstring& path) {
  EnsureCreated();
  VARIANT source = TextVariant(path);
  VARIANT_BOOL ok = VARIANT_FALSE;
  HRESULT hr = doc_->load(source, &ok);
  VariantClear(&source);
  ThrowIfXmlFailed(hr);
  return ok == VARIANT_TRUE;
}

bool CXmlDocumentWrapper::LoadXML(const std::wstring& text) {
  EnsureCreated();
  CXmlBstr source(text);
  VARIANT_BOOL ok = VARIANT_FALSE;
  ThrowIfXmlFailed(doc_->loadXML(source.get(), &ok));
  return ok == VARIANT_TRUE;
}

std::wstring CXmlDocumentWrapper::ParseErrorReason() const {
  if (!doc_) return {};
  CXmlComRef<IXMLDOMParseError> error;
  if (FAILED(doc_->get_parseError(error.put())) || !error) return {};
  CXmlBstr reason;
  if (FAILED(error->get_reason(reason.put()))) return {};
  return reason.str();
}

bool CXmlDocumentWrapper::Save(const std::wstring& path) const {
  if (!doc_) return false;
  VARIANT target = TextVariant(path);
  HRESULT hr = doc_->save(target);
  VariantClear(&target);
  return hr == S_OK;
}

bool CXmlDocumentWrapper::SaveAsUtf16(const std::wstring& path) const {
  CXmlNodeWrapper root = Root();
  if (root.IsEmpty()) return false;
  std::wstring text = L"\xFEFF<?xml version=\"1.0\" encoding=\"utf-16\"?>";
  Serialize(root.Interface(), text);

  const std::wstring temporary = path + L".new";
  {
    twk::CFileHandle file(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    if (!WriteFile(file.get(), text.data(), bytes, &written, nullptr) || written != bytes ||
        !FlushFileBuffers(file.get())) {
      file.reset();
      DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

CXmlNodeWrapper CXmlDocumentWrapper::Root() const {
  if (!doc_) return {};
  CXmlComRef<IXMLDOMElement> root;
  ThrowIfXmlFailed(doc_->get_documentElement(root.put()));
  if (!root) return {};
  return CXmlNodeWrapper(root.As<IXMLDOMNode>(IID_IXMLDOMNode).get());
}

CXmlNodeWrapper CXmlDocumentWrapper::SelectSingleNode(const std::wstring& path) const {
  if (!doc_) return {};
  CXmlBstr query(path);
  CXmlComRef<IXMLDOMNode> found;
  ThrowIfXmlFailed(doc_->selectSingleNode(query.get(), found.put()));
  return CXmlNodeWrapper(found.get());
}

CXmlNodeListWrapper CXmlDocumentWrapper::SelectNodes(const std::wstring& path) const {
  if (!doc_) return {};
  CXmlBstr query(path);
  CXmlComRef<IXMLDOMNodeList> found;
  ThrowIfXmlFailed(doc_->selectNodes(query.get(), found.put()));
  return CXmlNodeListWrapper(found.get());
}

CXmlNodeWrapper CXmlDocumentWrapper::CreateElement(const std::wstring& name) const {
  if (!doc_) throw CXmlException(E_POINTER);
  CXmlBstr tag(name);
  CXmlComRef<IXMLDOMElement> element;
  ThrowIfXmlFailed(doc_->createElement(tag.get(), element.put()));
  return CXmlNodeWrapper(element.As<IXMLDOMNode>(IID_IXMLDOMNode).get());
}

std::wstring CXmlDocumentWrapper::GetXML() const {
  if (!doc_) return {};
  CXmlBstr xml;
  ThrowIfXmlFailed(doc_->get_xml(xml.put()));
  return xml.str();
}
