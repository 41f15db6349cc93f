#include "ResultsTreeBuilder.h"

#include "RiskClass.h"

namespace {

class CTreeBuilder {
 public:
  std::vector<ResultsTreeItem> items;

  void Visit(const CXmlNodeWrapper& node, int parent) {
    if (!node.IsElement()) return;
    const std::wstring name = node.Name();
    if (name == L"threat") {
      // Threats the engine or the filters leave alone are not shown, nor are their
      // traces (shown under the threat's parent they would look like threats).
      if (node.GetValue(L"actionRequested") == L"2") return;
      const RiskClass risk = RiskClassOfLevel(node.GetValue(L"level"));
      items.push_back({node.GetValue(L"name"), ThreatImage(risk), true, parent, true});
      lastThreatRisk_ = risk;
      VisitChildren(node, static_cast<int>(items.size()) - 1);
      return;
    }
    if (name == L"trace") {
      const std::wstring text = node.GetValue(L"dispValue");
      if (!text.empty()) items.push_back({text, TraceImage(lastThreatRisk_), false, parent, false});
      VisitChildren(node, parent);
      return;
    }
    VisitChildren(node, parent);  // "threats" and any other element
  }

 private:
  void VisitChildren(const CXmlNodeWrapper& node, int parent) {
    for (CXmlNodeWrapper child = node.FirstChild(); !child.IsEmpty(); child = child.NextSibling()) {
      Visit(child, parent);
    }
  }
  RiskClass lastThreatRisk_ = RiskClass::Low;
};

}  // namespace

std::vector<ResultsTreeItem> BuildResultsTree(const CXmlNodeWrapper& documentElement) {
  CTreeBuilder builder;
  if (!documentElement.IsEmpty()) builder.Visit(documentElement, -1);
  return std::move(builder.items);
}
