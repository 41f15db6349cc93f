// The settings objects. Each wraps one XML document of the engine's settings format:
//   <threatEngineSettings option1..3><profiles><profile kind o1..o20/></profiles>
//     <locations><location path type recursion kind final/></locations></threatEngineSettings>
//   <definitionUpdateSettings option1..2><updateServer address number language vendor flag/>
//   <serviceSettings option1><proxy enabled server port/></serviceSettings>
//   <softwareUpdateSettings option1..2><updateServer .../></softwareUpdateSettings>
#include <string>

#include "ComObject.h"
#include "Dodadoza.h"
#include "XmlDom.h"

using engine::XmlDocument;
using engine::XmlElement;

namespace ddz {
namespace {

std::wstring FlagText(BOOL value) { return value ? L"1" : L"0"; }

long Tristate(IXMLDOMElement* element, const std::wstring& name) {
  bool present = false;
  std::wstring text = engine::Attribute(element, name.c_str(), &present);
  if (!present) return -1;
  return text == L"1" ? 1 : 0;
}

// Loads text into a document whose element must be rootName; empty text gives the
// bare default document. False when the text is not usable.
bool LoadSettings(XmlDocument& doc, const wchar_t* xml, const wchar_t* rootName) {
  doc = engine::NewXmlDocument();
  if (!doc) return false;
  if (xml && *xml) {
    if (engine::LoadXmlText(doc.get(), xml) &&
        engine::ElementName(engine::DocumentElement(doc.get()).get()) == rootName)
      return true;
    doc = engine::NewXmlDocument();
    engine::SetDocumentElement(doc.get(), rootName);
    return false;
  }
  engine::SetDocumentElement(doc.get(), rootName);
  return true;
}

template <typename I, long kGeneralOptions>
class CSettingsBase : public ComObject<I> {
 public:
  explicit CSettingsBase(XmlDocument doc) : doc_(doc) {}
  void STDMETHODCALLTYPE SetGeneralOption(long number, BOOL value) override {
    if (number < 1 || number > kGeneralOptions) return;
    engine::SetAttribute(Root().get(), OptionName(number).c_str(), FlagText(value));
  }
  long STDMETHODCALLTYPE GeneralOption(long number) override {
    if (number < 1 || number > kGeneralOptions) return -1;
    return Tristate(Root().get(), OptionName(number));
  }
  BSTR STDMETHODCALLTYPE ToXml() override { return engine::AllocBstr(engine::XmlText(doc_.get())); }

 protected:
  static std::wstring OptionName(long number) { return L"option" + std::to_wstring(number); }
  XmlElement Root() { return engine::DocumentElement(doc_.get()); }
  XmlElement Section(const wchar_t* name) {
    return engine::EnsureChild(doc_.get(), Root().get(), name);
  }
  XmlDocument doc_;
};

// ---- threat-engine settings ----

class CScanProfile : public ComObject<IDDZScanProfile> {
 public:
  CScanProfile(XmlDocument doc, XmlElement e) : doc_(doc), e_(e) {}
  long STDMETHODCALLTYPE Kind() override { return engine::AttributeNumber(e_.get(), L"kind", -1); }
  void STDMETHODCALLTYPE SetOption(long number, BOOL value) override {
    if (number < 1 || number > 20) return;
    engine::SetAttribute(e_.get(), (L"o" + std::to_wstring(number)).c_str(), FlagText(value));
  }
  long STDMETHODCALLTYPE Option(long number) override {
    if (number < 1 || number > 20) return -1;
    return Tristate(e_.get(), L"o" + std::to_wstring(number));
  }

 private:
  XmlDocument doc_;
  XmlElement e_;
};

class CScanProfileList : public ComObject<IDDZScanProfileList> {
 public:
  CScanProfileList(XmlDocument doc, XmlElement e) : doc_(doc), e_(e) {}
  long STDMETHODCALLTYPE Count() override { return long(All().size()); }
  IDDZScanProfile* STDMETHODCALLTYPE Item(long index) override {
    auto all = All();
    if (index < 0 || std::size_t(index) >= all.size()) return nullptr;
    return new CScanProfile(doc_, all[index]);
  }
  IDDZScanProfile* STDMETHODCALLTYPE Find(long kind) override {
    for (auto& p : All())
      if (engine::AttributeNumber(p.get(), L"kind", -1) == kind) return new CScanProfile(doc_, p);
    return nullptr;
  }
  IDDZScanProfile* STDMETHODCALLTYPE Add(long kind) override {
    XmlElement p = engine::AppendChild(doc_.get(), e_.get(), L"profile");
    if (!p) return nullptr;
    engine::SetAttribute(p.get(), L"kind", std::to_wstring(kind));
    return new CScanProfile(doc_, p);
  }

 private:
  std::vector<XmlElement> All() { return engine::ChildElements(e_.get(), L"profile"); }
  XmlDocument doc_;
  XmlElement e_;
};

class CScanLocation : public ComObject<IDDZScanLocation> {
 public:
  CScanLocation(XmlDocument doc, XmlElement e) : doc_(doc), e_(e) {}
  BSTR STDMETHODCALLTYPE Path() override { return engine::AllocBstr(engine::Attribute(e_.get(), L"path")); }
  long STDMETHODCALLTYPE Type() override { return Number(L"type"); }
  long STDMETHODCALLTYPE Recursion() override { return Number(L"recursion"); }
  long STDMETHODCALLTYPE Kind() override { return Number(L"kind"); }
  long STDMETHODCALLTYPE Final() override { return Number(L"final"); }

 private:
  long Number(const wchar_t* name) { return engine::AttributeNumber(e_.get(), name, 0); }
  XmlDocument doc_;
  XmlElement e_;
};

class CScanLocationList : public ComObject<IDDZScanLocationList> {
 public:
  CScanLocationList(XmlDocument doc, XmlElement e) : doc_(doc), e_(e) {}
  long STDMETHODCALLTYPE Count() override { return long(All().size()); }
  IDDZScanLocation* STDMETHODCALLTYPE Item(long index) override {
    auto all = All();
    if (index < 0 || std::size_t(index) >= all.size()) return nullptr;
    return new CScanLocation(doc_, all[index]);
  }
  void STDMETHODCALLTYPE Clear() override { engine::RemoveAllChildren(e_.get()); }
  HRESULT STDMETHODCALLTYPE Add(const wchar_t* path, long type, long recursion, long kind,
                                long final) override {
    XmlElement l = engine::AppendChild(doc_.get(), e_.get(), L"location");
    if (!l) return E_FAIL;
    engine::SetAttribute(l.get(), L"path", path ? path : L"");
    engine::SetAttribute(l.get(), L"type", std::to_wstring(type));
    engine::SetAttribute(l.get(), L"recursion", std::to_wstring(recursion));
    engine::SetAttribute(l.get(), L"kind", std::to_wstring(kind));
    engine::SetAttribute(l.get(), L"final", std::to_wstring(final));
    return S_OK;
  }

 private:
  std::vector<XmlElement> All() { return engine::ChildElements(e_.get(), L"location"); }
  XmlDocument doc_;
  XmlElement e_;
};

class CThreatEngineSettings : public CSettingsBase<IDDZThreatEngineSettings, 3> {
 public:
  using CSettingsBase::CSettingsBase;
  IDDZScanProfileList* STDMETHODCALLTYPE Profiles() override {
    return new CScanProfileList(doc_, Section(L"profiles"));
  }
  IDDZScanLocationList* STDMETHODCALLTYPE Locations() override {
    return new CScanLocationList(doc_, Section(L"locations"));
  }
};

// ---- update servers, proxy ----

class CUpdateServer : public ComObject<IDDZUpdateServer> {
 public:
  CUpdateServer(XmlDocument doc, XmlElement e) : doc_(doc), e_(e) {}
  void STDMETHODCALLTYPE SetAddress(const wchar_t* v) override { Set(L"address", v); }
  BSTR STDMETHODCALLTYPE Address() override { return Get(L"address"); }
  void STDMETHODCALLTYPE SetNumber(long v) override { engine::SetAttribute(e_.get(), L"number", std::to_wstring(v)); }
  long STDMETHODCALLTYPE Number() override { return engine::AttributeNumber(e_.get(), L"number", 0); }
  void STDMETHODCALLTYPE SetLanguage(const wchar_t* v) override { Set(L"language", v); }
  BSTR STDMETHODCALLTYPE Language() override { return Get(L"language"); }
  void STDMETHODCALLTYPE SetVendor(const wchar_t* v) override { Set(L"vendor", v); }
  BSTR STDMETHODCALLTYPE Vendor() override { return Get(L"vendor"); }
  void STDMETHODCALLTYPE SetFlag(BOOL v) override { engine::SetAttribute(e_.get(), L"flag", FlagText(v)); }
  BOOL STDMETHODCALLTYPE Flag() override { return engine::Attribute(e_.get(), L"flag") == L"1"; }

 private:
  void Set(const wchar_t* name, const wchar_t* v) { engine::SetAttribute(e_.get(), name, v ? v : L""); }
  BSTR Get(const wchar_t* name) { return engine::AllocBstr(engine::Attribute(e_.get(), name)); }
  XmlDocument doc_;
  XmlElement e_;
};

class CProxySettings : public ComObject<IDDZProxySettings> {
 public:
  CProxySettings(XmlDocument doc, XmlElement e) : doc_(doc), e_(e) {}
  void STDMETHODCALLTYPE SetEnabled(BOOL v) override { engine::SetAttribute(e_.get(), L"enabled", FlagText(v)); }
  BOOL STDMETHODCALLTYPE Enabled() override { return engine::Attribute(e_.get(), L"enabled") == L"1"; }
  void STDMETHODCALLTYPE SetServer(const wchar_t* v) override { engine::SetAttribute(e_.get(), L"server", v ? v : L""); }
  BSTR STDMETHODCALLTYPE Server() override { return engine::AllocBstr(engine::Attribute(e_.get(), L"server")); }
  void STDMETHODCALLTYPE SetPort(const wchar_t* v) override { engine::SetAttribute(e_.get(), L"port", v ? v : L""); }
  BSTR STDMETHODCALLTYPE Port() override { return engine::AllocBstr(engine::Attribute(e_.get(), L"port")); }

 private:
  XmlDocument doc_;
  XmlElement e_;
};

class CDefinitionUpdateSettings : public CSettingsBase<IDDZDefinitionUpdateSettings, 2> {
 public:
  using CSettingsBase::CSettingsBase;
  IDDZUpdateServer* STDMETHODCALLTYPE UpdateServer() override {
    return new CUpdateServer(doc_, Section(L"updateServer"));
  }
};

class CSoftwareUpdateSettings : public CSettingsBase<IDDZSoftwareUpdateSettings, 2> {
 public:
  using CSettingsBase::CSettingsBase;
  IDDZUpdateServer* STDMETHODCALLTYPE UpdateServer() override {
    return new CUpdateServer(doc_, Section(L"updateServer"));
  }
};

class CServiceSettings : public CSettingsBase<IDDZServiceSettings, 1> {
 public:
  using CSettingsBase::CSettingsBase;
  IDDZProxySettings* STDMETHODCALLTYPE Proxy() override {
    return new CProxySettings(doc_, Section(L"proxy"));
  }
};

// ---- factories ----

template <typename FactoryI, typename ObjectI, typename Object>
class CSettingsFactory : public ComObject<FactoryI> {
 public:
  explicit CSettingsFactory(const wchar_t* root) : root_(root) {}
  ObjectI* STDMETHODCALLTYPE Create(const wchar_t* xml, long* errorFlag) override {
    XmlDocument doc;
    bool ok = LoadSettings(doc, xml, root_);
    if (errorFlag) *errorFlag = ok ? 0 : 1;
    if (!doc) return nullptr;
    return new Object(doc);
  }

 private:
  const wchar_t* root_;
};

}  // namespace
}  // namespace ddz

DODADOZA_API IDDZThreatEngineSettingsFactory* WINAPI GetThreatEngineSettingsFactory() {
  return new ddz::CSettingsFactory<IDDZThreatEngineSettingsFactory, IDDZThreatEngineSettings,
                                   ddz::CThreatEngineSettings>(L"threatEngineSettings");
}
DODADOZA_API IDDZServiceSettingsFactory* WINAPI GetServiceSettingsFactory() {
  return new ddz::CSettingsFactory<IDDZServiceSettingsFactory, IDDZServiceSettings,
                                   ddz::CServiceSettings>(L"serviceSettings");
}
DODADOZA_API IDDZDefinitionUpdateSettingsFactory* WINAPI GetDefinitionUpdateSettingsFactory() {
  return new ddz::CSettingsFactory<IDDZDefinitionUpdateSettingsFactory,
                                   IDDZDefinitionUpdateSettings, ddz::CDefinitionUpdateSettings>(
      L"definitionUpdateSettings");
}
DODADOZA_API IDDZSoftwareUpdateSettingsFactory* WINAPI GetSoftwareUpdateSettingsFactory() {
  return new ddz::CSettingsFactory<IDDZSoftwareUpdateSettingsFactory, IDDZSoftwareUpdateSettings,
                                   ddz::CSoftwareUpdateSettings>(L"softwareUpdateSettings");
}
