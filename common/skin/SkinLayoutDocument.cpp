#include "SkinLayoutDocument.h"

#include <ole2.h>

namespace twk::skin {

namespace {
// The platform's version-independent DOM document class ("Msxml2.DOMDocument").
constexpr CLSID kDomDocumentClass = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};

class CBstr {
 public:
  explicit CBstr(const std::wstring& text) : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~CBstr() { ::SysFreeString(value_); }
  CBstr(const CBstr&) = delete;
  CBstr& operator=(const CBstr&) = delete;
  BSTR get() const noexcept { return value_; }

 private:
  BSTR value_;
};

template <typename T>
class CComRelease {
 public:
  ~CComRelease() {
    if (p) p->Release();
  }
  T* p = nullptr;
};
}  // namespace

CSkinLayoutDocument::CSkinLayoutDocument() {
  HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  uninitialize_ = init == S_OK || init == S_FALSE;
  if (FAILED(::CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(&document_)))) {
    document_ = nullptr;
    return;
  }
  ::OleRun(document_);
  document_->put_async(VARIANT_FALSE);
  document_->put_validateOnParse(VARIANT_FALSE);
  document_->put_resolveExternals(VARIANT_FALSE);
}

CSkinLayoutDocument::~CSkinLayoutDocument() {
  if (document_) document_->Release();
  if (uninitialize_) ::CoUninitialize();
}

bool CSkinLayoutDocument::LoadText(const std::wstring& text) {
  if (!document_ || text.empty()) return false;
  // A byte-order mark at the start is not part of the markup.
  std::wstring markup = text[0] == 0xFEFF ? text.substr(1) : text;
  CBstr source(markup);
  VARIANT_BOOL loaded = VARIANT_FALSE;
  return SUCCEEDED(document_->loadXML(source.get(), &loaded)) && loaded == VARIANT_TRUE;
}

bool CSkinLayoutDocument::LoadFile(const std::wstring& path) {
  if (!document_) return false;
  VARIANT location;
  ::VariantInit(&location);
  location.vt = VT_BSTR;
  location.bstrVal = ::SysAllocString(path.c_str());
  VARIANT_BOOL loaded = VARIANT_FALSE;
  HRESULT hr = document_->load(location, &loaded);
  ::VariantClear(&location);
  return SUCCEEDED(hr) && loaded == VARIANT_TRUE;
}

ControlSkin CSkinLayoutDocument::ReadElement(const std::wstring& form, int id) const {
  auto nothing = [](const wchar_t*) { return std::wstring(); };
  if (!document_) return ReadControlSkin(nothing);
  std::wstring path = L"//Configuration/" + form;
  if (id != 0) path += L"/win" + std::to_wstring(id);
  CBstr query(path);
  CComRelease<IXMLDOMNode> node;
  if (document_->selectSingleNode(query.get(), &node.p) != S_OK || !node.p) {
    return ReadControlSkin(nothing);
  }
  CComRelease<IXMLDOMElement> element;
  if (FAILED(node.p->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(&element.p))) || !element.p) {
    return ReadControlSkin(nothing);
  }
  return ReadControlSkin([&element](const wchar_t* name) {
    CBstr attributeName(name);
    VARIANT value;
    ::VariantInit(&value);
    std::wstring text;
    if (element.p->getAttribute(attributeName.get(), &value) == S_OK && value.vt == VT_BSTR && value.bstrVal) {
      text.assign(value.bstrVal, ::SysStringLen(value.bstrVal));
    }
    ::VariantClear(&value);
    return text;
  });
}

}  // namespace twk::skin
