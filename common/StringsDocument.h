#pragma once
// The strings document: every user-visible text, fetched by number from the language
// module's HTML resource. Also the loading of other XML texts stored as resources.
#include <windows.h>

#include <functional>
#include <string>

#include "XmlDocumentWrapper.h"

class CActivityLog;

inline constexpr UINT kHtmlResourceType = 23;
inline constexpr UINT kMainStringsResource = 305;     // TWKLang.dll
inline constexpr UINT kUpdaterStringsResource = 111;  // TWKDefsUpdaterLang.dll

// Resource bytes as UTF-16 text: size / 2 characters, no terminator needed.
std::wstring TextFromResourceBytes(const void* data, DWORD bytes);

// "~DATA~" -> "%s", "~APPNAME~" -> "Tarnwick Pro", "~NEWLINE~" -> CR LF, "@" -> "%d",
// each of every occurrence, in this order.
std::wstring ApplyStringsMarkers(std::wstring raw);

// Parses text into a new document that replaces strings. On a parse error strings is
// left an empty document (every lookup gives the empty text), reason gets the parser's
// description and the result is false. Throws CXmlException when no parser can be made.
bool LoadStringsDocument(CXmlDocumentWrapper& strings, const std::wstring& text, std::wstring& reason);

// The text of element S<number> below a Strings element; empty when missing. Always true.
bool GetStringById(const CXmlDocumentWrapper& strings, int number, std::wstring& text);
std::wstring GetStringById(const CXmlDocumentWrapper& strings, int number);

// The text of HTML resource id of module; empty when missing.
std::wstring GetXMLFromHTMLResource(HMODULE module, UINT id);

// Finds the strings resource, applies the markers and loads it. Returns 1 when the
// resource was found (parsed or not; onParseError gets the reason when it did not
// parse), 0 when it is missing. Parser creation failures propagate.
int LoadStringsResource(HMODULE module, UINT id, CXmlDocumentWrapper& strings,
                        const std::function<void(const std::wstring& reason)>& onParseError);

// The forms used by the download library and the updater, which report to their
// activity log and never throw.
int LoadStringsResourceLogged(HMODULE module, UINT id, CXmlDocumentWrapper& strings,
                              const CActivityLog& log, const wchar_t* operationName);
std::wstring GetXMLFromHTMLResourceLogged(HMODULE module, UINT id, const CActivityLog& log);
