#pragma once
// Small helpers over the platform's XML DOM ("Msxml2.DOMDocument").
#include <windows.h>
#include <msxml2.h>

#include <string>
#include <vector>

#include "EnginePtr.h"

// The platform header declares these interfaces without their ids for __uuidof.
__CRT_UUID_DECL(IXMLDOMNode, 0x2933bf80, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMDocument, 0x2933bf81, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMElement, 0x2933bf86, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)

namespace engine {

using XmlDocument = Ptr<IXMLDOMDocument>;
using XmlElement = Ptr<IXMLDOMElement>;

// An empty, synchronous document; empty pointer when the parser is missing.
XmlDocument NewXmlDocument();
bool LoadXmlText(IXMLDOMDocument* doc, const std::wstring& text);
bool LoadXmlFile(IXMLDOMDocument* doc, const std::wstring& path);
bool SaveXmlFile(IXMLDOMDocument* doc, const std::wstring& path);
std::wstring XmlText(IXMLDOMDocument* doc);

XmlElement DocumentElement(IXMLDOMDocument* doc);
// Creates the document element (replacing any).
XmlElement SetDocumentElement(IXMLDOMDocument* doc, const wchar_t* name);
std::wstring ElementName(IXMLDOMElement* element);

std::wstring Attribute(IXMLDOMElement* element, const wchar_t* name, bool* present = nullptr);
void SetAttribute(IXMLDOMElement* element, const wchar_t* name, const std::wstring& value);
void RemoveAttribute(IXMLDOMElement* element, const wchar_t* name);
long AttributeNumber(IXMLDOMElement* element, const wchar_t* name, long fallback);

// Element children, all or by name (exact), in document order.
std::vector<XmlElement> ChildElements(IXMLDOMNode* parent, const wchar_t* name = nullptr);
XmlElement FirstChild(IXMLDOMNode* parent, const wchar_t* name);
XmlElement AppendChild(IXMLDOMDocument* doc, IXMLDOMNode* parent, const wchar_t* name);
// The child named name, created when missing.
XmlElement EnsureChild(IXMLDOMDocument* doc, IXMLDOMNode* parent, const wchar_t* name);
void RemoveChild(IXMLDOMNode* parent, IXMLDOMNode* child);
void RemoveAllChildren(IXMLDOMNode* parent);

std::wstring TextOf(IXMLDOMNode* node);
void SetText(IXMLDOMNode* node, const std::wstring& text);

// All elements with this name below node, in document order.
std::vector<XmlElement> Descendants(IXMLDOMNode* node, const wchar_t* name);

}  // namespace engine
