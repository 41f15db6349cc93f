// The scan-results object model over a results file:
// <threats><threat name level actionRequested category><threatAdviceDetails/>
// <trace dispValue/>...</threat>...</threats>
#include <string>
#include <vector>

#include "ComObject.h"
#include "Dodadoza.h"
#include "XmlDom.h"

using engine::XmlDocument;
using engine::XmlElement;

namespace ddz {
namespace {

class CTrace : public ComObject<IDDZTrace> {
 public:
  CTrace(XmlDocument doc, XmlElement element, const void* collection, std::size_t index)
      : doc_(doc), element_(element), collection_(collection), index_(index) {}
  BSTR STDMETHODCALLTYPE Value() override {
    return engine::AllocBstr(engine::Attribute(element_.get(), L"dispValue"));
  }
  IXMLDOMElement* Element() const { return element_.get(); }
  // The collection that handed this trace out, and its place there.
  const void* Collection() const { return collection_; }
  std::size_t Index() const { return index_; }

 private:
  XmlDocument doc_;
  XmlElement element_;
  const void* collection_;
  std::size_t index_;
};

// A collection reads its elements once and then walks that list; Reset reads them
// again. Removed traces leave an empty place, so the places handed out stay valid.
class CTraceCollection : public ComObject<IDDZTraceCollection> {
 public:
  CTraceCollection(XmlDocument doc, XmlElement threat) : doc_(doc), threat_(threat) {}
  IDDZTrace* STDMETHODCALLTYPE Next() override {
    Load();
    while (position_ < traces_.size() && !traces_[position_]) ++position_;
    if (position_ >= traces_.size()) return nullptr;
    const std::size_t index = position_++;
    return new CTrace(doc_, traces_[index], this, index);
  }
  void STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    loaded_ = false;
  }
  long STDMETHODCALLTYPE Count() override {
    Load();
    return long(live_);
  }
  HRESULT STDMETHODCALLTYPE Remove(IDDZTrace* trace) override {
    if (!trace) return E_POINTER;
    // Only traces made by this library can be told apart by their element.
    auto* ours = dynamic_cast<CTrace*>(trace);
    if (!ours) return E_INVALIDARG;
    Load();
    if (ours->Collection() == this && ours->Index() < traces_.size()) {
      if (!traces_[ours->Index()]) return S_FALSE;  // removed already
      engine::Ptr<IXMLDOMNode> removed;
      if (threat_->removeChild(traces_[ours->Index()].get(), removed.put()) != S_OK) return S_FALSE;
      traces_[ours->Index()] = XmlElement();
      --live_;
      return S_OK;
    }
    // A trace of another collection: the parser's node objects have no stable
    // identity, so its place among the threat's traces tells which entry it is.
    std::size_t liveIndex = 0;
    engine::Ptr<IXMLDOMNode> sibling;
    ours->Element()->get_previousSibling(sibling.put());
    while (sibling) {
      if (auto e = sibling.As<IXMLDOMElement>(); e && engine::ElementName(e.get()) == L"trace") ++liveIndex;
      engine::Ptr<IXMLDOMNode> previous;
      sibling->get_previousSibling(previous.put());
      sibling = previous;
    }
    engine::Ptr<IXMLDOMNode> removed;
    if (threat_->removeChild(ours->Element(), removed.put()) != S_OK) return S_FALSE;
    for (std::size_t i = 0, seen = 0; i < traces_.size(); ++i) {
      if (!traces_[i]) continue;
      if (seen++ == liveIndex) {
        traces_[i] = XmlElement();
        --live_;
        break;
      }
    }
    return S_OK;
  }

 private:
  void Load() {
    if (loaded_) return;
    traces_ = engine::ChildElements(threat_.get(), L"trace");
    live_ = traces_.size();
    loaded_ = true;
  }
  XmlDocument doc_;
  XmlElement threat_;
  std::vector<XmlElement> traces_;
  std::size_t live_ = 0;
  bool loaded_ = false;
  std::size_t position_ = 0;
};

class CThreat : public ComObject<IDDZThreat> {
 public:
  CThreat(XmlDocument doc, XmlElement element) : doc_(doc), element_(element) {}
  BSTR STDMETHODCALLTYPE Name() override { return Text(L"name"); }
  long STDMETHODCALLTYPE Level() override {
    return engine::AttributeNumber(element_.get(), L"level", 0);
  }
  void STDMETHODCALLTYPE SetActionRequested(long action) override {
    engine::SetAttribute(element_.get(), L"actionRequested", std::to_wstring(action));
  }
  IDDZTraceCollection* STDMETHODCALLTYPE Traces() override {
    return new CTraceCollection(doc_, element_);
  }
  long STDMETHODCALLTYPE ActionRequested() override {
    return engine::AttributeNumber(element_.get(), L"actionRequested", 0);
  }
  BSTR STDMETHODCALLTYPE Category() override { return Text(L"category"); }
  BSTR STDMETHODCALLTYPE Advice() override {
    return engine::AllocBstr(
        engine::TextOf(engine::FirstChild(element_.get(), L"threatAdviceDetails").get()));
  }

 private:
  BSTR Text(const wchar_t* attribute) {
    return engine::AllocBstr(engine::Attribute(element_.get(), attribute));
  }
  XmlDocument doc_;
  XmlElement element_;
};

class CThreatCollection : public ComObject<IDDZThreatCollection> {
 public:
  explicit CThreatCollection(XmlDocument doc) : doc_(doc) {}
  IDDZThreat* STDMETHODCALLTYPE Next() override {
    const auto& threats = All();
    if (position_ >= threats.size()) return nullptr;
    return new CThreat(doc_, threats[position_++]);
  }
  void STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    loaded_ = false;
  }
  long STDMETHODCALLTYPE Count() override { return long(All().size()); }

 private:
  const std::vector<XmlElement>& All() {
    if (!loaded_) {
      threats_ = engine::Descendants(engine::DocumentElement(doc_.get()).get(), L"threat");
      loaded_ = true;
    }
    return threats_;
  }
  XmlDocument doc_;
  std::vector<XmlElement> threats_;
  bool loaded_ = false;
  std::size_t position_ = 0;
};

class CScanResults : public ComObject<IDDZScanResults> {
 public:
  explicit CScanResults(XmlDocument doc) : doc_(doc) {}
  IDDZThreatCollection* STDMETHODCALLTYPE Threats() override {
    if (!doc_ || !engine::DocumentElement(doc_.get())) return nullptr;
    return new CThreatCollection(doc_);
  }
  void STDMETHODCALLTYPE SaveToFile(const wchar_t* path, long* errorFlag, long) override {
    bool ok = path && *path && engine::SaveXmlFile(doc_.get(), path);
    if (errorFlag) *errorFlag = ok ? 0 : 1;
  }

 private:
  XmlDocument doc_;
};

class CScanResultsFactory : public ComObject<IDDZScanResultsFactory> {
 public:
  IDDZScanResults* STDMETHODCALLTYPE CreateFromFile(const wchar_t* path, long* errorFlag) override {
    XmlDocument doc = engine::NewXmlDocument();
    bool ok = doc && path && *path && engine::LoadXmlFile(doc.get(), path) &&
              engine::ElementName(engine::DocumentElement(doc.get()).get()) == L"threats";
    if (errorFlag) *errorFlag = ok ? 0 : 1;
    return new CScanResults(ok ? doc : XmlDocument());
  }
};

}  // namespace
}  // namespace ddz

DODADOZA_API IDDZScanResultsFactory* WINAPI GetNVScanResultsFactory() {
  return new ddz::CScanResultsFactory();
}
