#pragma once
// The threat definitions: a versioned XML file.
//   <definitions version="N" date="MM/DD/YYYY">
//     <threat name level="1..5" category><advice>text</advice>
//       <file name="wildcard"/> <file marker="text in the file"/>
//       <registry key="HKCU\..." [value="name"]/> <process image="name.exe"/>
//       <cookie domain="text"/>
//     </threat>
//   </definitions>
#include <string>
#include <vector>

namespace engine {

struct DetectionRule {
  enum Kind { kFileName, kFileMarker, kRegistry, kProcess, kCookie } kind;
  std::wstring text;     // wildcard, key, image name or domain (lower case for matching)
  std::string marker;    // kFileMarker: the bytes looked for
  std::wstring value;    // kRegistry: value name, empty for the key itself
};

struct ThreatDefinition {
  std::wstring name;
  long level = 5;
  std::wstring category;
  std::wstring advice;
  std::vector<DetectionRule> rules;
};

struct Definitions {
  unsigned long version = 0;
  std::wstring date;
  std::vector<ThreatDefinition> threats;

  bool Installed() const { return !date.empty(); }
  // False (and this left as it was) when the file is missing or not a definitions file.
  bool Load(const std::wstring& path);
};

}  // namespace engine
