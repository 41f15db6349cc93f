#pragma once
// A DOM document of the platform's parser ("Msxml2.DOMDocument"), with XPath
// selection. A default-constructed wrapper holds no parser until Create() or a load.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "XmlComRef.h"
#include "XmlNodeListWrapper.h"
#include "XmlNodeWrapper.h"

class CXmlDocumentWrapper {
 public:
  // The text of a new, empty configuration-style file.
  static constexpr wchar_t kConfigurationText[] =
      L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Configuration></Configuration>";

  CXmlDocumentWrapper() = default;

  // Makes a new, empty document; throws CXmlException when the parser cannot be created.
  void Create();
  bool IsEmpty() const { return !doc_; }
  IXMLDOMDocument2* Interface() const { return doc_.get(); }

  // Whitespace-only text is kept (set before loading).
  void SetPreserveWhiteSpace(bool preserve);

  // Synchronous loads into a new document; false when the text does not parse, in
  // which case the document is empty of nodes and ParseErrorReason() tells why.
  bool Load(const std::wstring& path);
  bool LoadXML(const std::wstring& text);
  // A new document holding kConfigurationText.
  bool CreateConfigurationDocument() { return LoadXML(kConfigurationText); }
  std::wstring ParseErrorReason() const;

  // Writes the document to path through the parser; false when it could not be written.
  bool Save(const std::wstring& path) const;
  // Writes "<?xml version="1.0" encoding="utf-16"?>" and the document element as one
  // UTF-16LE text (with byte order mark) to a temporary file beside path, then moves it
  // into place, so that path holds either the old or the whole new document. The
  // parser's own save is not used for this: Wine's writes UTF-8 bytes under a utf-16
  // declaration, which no parser reads back.
  bool SaveAsUtf16(const std::wstring& path) const;

  CXmlNodeWrapper Root() const;  // the document element, empty when there is none
  CXmlNodeWrapper SelectSingleNode(const std::wstring& path) const;
  CXmlNodeListWrapper SelectNodes(const std::wstring& path) const;
  CXmlNodeWrapper CreateElement(const std::wstring& name) const;
  std::wstring GetXML() const;

 private:
  void EnsureCreated();
  CXmlComRef<IXMLDOMDocument2> doc_;
  bool preserveWhiteSpace_ = false;
};
