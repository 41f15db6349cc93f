#include "Definitions.h"

#include "EngineConfig.h"
#include "XmlDom.h"

namespace engine {

namespace {

std::string Narrow(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

bool Definitions::Load(const std::wstring& path) {
  XmlDocument doc = NewXmlDocument();
  if (!doc || !LoadXmlFile(doc.get(), path)) return false;
  XmlElement root = DocumentElement(doc.get());
  if (ElementName(root.get()) != L"definitions") return false;
  Definitions loaded;
  long version = AttributeNumber(root.get(), L"version", -1);
  loaded.date = Attribute(root.get(), L"date");
  if (version <= 0 || loaded.date.empty()) return false;
  loaded.version = static_cast<unsigned long>(version);
  for (auto& t : ChildElements(root.get(), L"threat")) {
    ThreatDefinition def;
    def.name = Attribute(t.get(), L"name");
    def.level = AttributeNumber(t.get(), L"level", 5);
    def.category = Attribute(t.get(), L"category");
    def.advice = TextOf(FirstChild(t.get(), L"advice").get());
    if (def.name.empty() || def.level < 1 || def.level > 5) return false;
    for (auto& r : ChildElements(t.get())) {
      std::wstring tag = ElementName(r.get());
      DetectionRule rule{};
      if (tag == L"file") {
        bool hasMarker = false;
        std::wstring marker = Attribute(r.get(), L"marker", &hasMarker);
        if (hasMarker && !marker.empty()) {
          rule.kind = DetectionRule::kFileMarker;
          rule.marker = Narrow(marker);
        } else {
          rule.kind = DetectionRule::kFileName;
          rule.text = Lower(Attribute(r.get(), L"name"));
        }
      } else if (tag == L"registry") {
        rule.kind = DetectionRule::kRegistry;
        rule.text = Attribute(r.get(), L"key");
        rule.value = Attribute(r.get(), L"value");
      } else if (tag == L"process") {
        rule.kind = DetectionRule::kProcess;
        rule.text = Lower(Attribute(r.get(), L"image"));
      } else if (tag == L"cookie") {
        rule.kind = DetectionRule::kCookie;
        rule.text = Lower(Attribute(r.get(), L"domain"));
      } else {
        continue;
      }
      if (rule.text.empty() && rule.marker.empty()) return false;
      def.rules.push_back(rule);
    }
    loaded.threats.push_back(std::move(def));
  }
  *this = std::move(loaded);
  return true;
}

}  // namespace engine
