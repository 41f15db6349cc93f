#include "XmlDocumentWrapper.h"

#include "XmlException.h"

namespace {

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

}  // namespace

void CXmlDocumentWrapper::Create() {
  CLSID clsid{};
  ThrowIfXmlFailed(CLSIDFromProgID(L"Msxml2.DOMDocument", &clsid));
  CXmlComRef<IXMLDOMDocument2> doc;
  ThrowIfXmlFailed(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument2,
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
