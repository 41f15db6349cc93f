#pragma once
// A reference results object model for the benchmark: the same interfaces as the
// engine's library, over one DOM document, with each collection taken once and
// walked in order. It tells the filters' own cost apart from the cost of the engine
// library's walks; the product itself always uses the engine's library.
#include <vector>

#include "ComObject.h"
#include "ComPtr.h"
#include "Dodadoza.h"
#include "XmlDocumentWrapper.h"

namespace bench {

template <typename I>
using Counted = ddz::ComObject<I>;

inline BSTR Bstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

class Trace : public Counted<IDDZTrace> {
 public:
  explicit Trace(CXmlNodeWrapper element) : element_(element) {}
  BSTR STDMETHODCALLTYPE Value() override { return Bstr(element_.GetValue(L"dispValue")); }
  const CXmlNodeWrapper& Element() const { return element_; }

 private:
  CXmlNodeWrapper element_;
};

class TraceCollection : public Counted<IDDZTraceCollection> {
 public:
  explicit TraceCollection(CXmlNodeWrapper threat) : threat_(threat) {
    for (auto child = threat.FirstChild(); !child.IsEmpty(); child = child.NextSibling()) {
      if (child.IsElement() && child.Name() == L"trace") traces_.push_back(child);
    }
  }
  IDDZTrace* STDMETHODCALLTYPE Next() override {
    while (position_ < traces_.size() && traces_[position_].IsEmpty()) ++position_;
    if (position_ >= traces_.size()) return nullptr;
    current_ = position_;
    return new Trace(traces_[position_++]);
  }
  void STDMETHODCALLTYPE Reset() override { position_ = 0; }
  long STDMETHODCALLTYPE Count() override { return CountLive(); }
  HRESULT STDMETHODCALLTYPE Remove(IDDZTrace* trace) override {
    auto* ours = dynamic_cast<Trace*>(trace);
    if (!ours) return E_INVALIDARG;
    // The trace handed out last is the usual case; others are looked for.
    std::size_t at = current_ < traces_.size() && !traces_[current_].IsEmpty() &&
                             traces_[current_].Interface() == ours->Element().Interface()
                         ? current_
                         : traces_.size();
    if (at == traces_.size()) return S_FALSE;
    IXMLDOMNode* removed = nullptr;
    if (threat_.Interface()->removeChild(traces_[at].Interface(), &removed) != S_OK) return S_FALSE;
    if (removed) removed->Release();
    traces_[at] = CXmlNodeWrapper();
    return S_OK;
  }

 private:
  long CountLive() const {
    long n = 0;
    for (const auto& t : traces_) n += t.IsEmpty() ? 0 : 1;
    return n;
  }
  CXmlNodeWrapper threat_;
  std::vector<CXmlNodeWrapper> traces_;
  std::size_t position_ = 0, current_ = static_cast<std::size_t>(-1);
};

class Threat : public Counted<IDDZThreat> {
 public:
  explicit Threat(CXmlNodeWrapper element) : element_(element) {}
  BSTR STDMETHODCALLTYPE Name() override { return Bstr(element_.GetValue(L"name")); }
  long STDMETHODCALLTYPE Level() override { return _wtol(element_.GetValue(L"level").c_str()); }
  void STDMETHODCALLTYPE SetActionRequested(long action) override {
    element_.SetValue(L"actionRequested", std::to_wstring(action));
  }
  IDDZTraceCollection* STDMETHODCALLTYPE Traces() override { return new TraceCollection(element_); }
  long STDMETHODCALLTYPE ActionRequested() override { return _wtol(element_.GetValue(L"actionRequested").c_str()); }
  BSTR STDMETHODCALLTYPE Category() override { return Bstr(element_.GetValue(L"category")); }
  BSTR STDMETHODCALLTYPE Advice() override { return Bstr(element_.SelectSingleNode(L"threatAdviceDetails").GetText()); }

 private:
  CXmlNodeWrapper element_;
};

class ThreatCollection : public Counted<IDDZThreatCollection> {
 public:
  explicit ThreatCollection(const CXmlDocumentWrapper& doc) : threats_(doc.SelectNodes(L"//threat")) {}
  IDDZThreat* STDMETHODCALLTYPE Next() override {
    if (position_ >= threats_.Count()) return nullptr;
    return new Threat(threats_.Node(position_++));
  }
  void STDMETHODCALLTYPE Reset() override { position_ = 0; }
  long STDMETHODCALLTYPE Count() override { return threats_.Count(); }

 private:
  CXmlNodeListWrapper threats_;
  long position_ = 0;
};

class Results : public Counted<IDDZScanResults> {
 public:
  explicit Results(CXmlDocumentWrapper doc) : doc_(doc) {}
  IDDZThreatCollection* STDMETHODCALLTYPE Threats() override {
    return doc_.Root().IsEmpty() ? nullptr : new ThreatCollection(doc_);
  }
  void STDMETHODCALLTYPE SaveToFile(const wchar_t* path, long* errorFlag, long) override {
    *errorFlag = doc_.Save(path) ? 0 : 1;
  }

 private:
  CXmlDocumentWrapper doc_;
};

class ResultsFactory : public Counted<IDDZScanResultsFactory> {
 public:
  IDDZScanResults* STDMETHODCALLTYPE CreateFromFile(const wchar_t* path, long* errorFlag) override {
    CXmlDocumentWrapper doc;
    *errorFlag = doc.Load(path) ? 0 : 1;
    return new Results(doc);
  }
};

inline twk::CComPtr<IDDZScanResultsFactory> SiblingWalkFactory() {
  return twk::CComPtr<IDDZScanResultsFactory>::Attach(new ResultsFactory());
}

}  // namespace bench
