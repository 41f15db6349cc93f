#pragma once
// The main program's loading of its texts from TWKLang.dll.
#include <windows.h>

#include <string>

#include "XmlDocumentWrapper.h"

// Loads resource 305 of the language module as the strings document. 1 when the
// resource was found (a parse error shows "Critical StringsFile Error" and the
// parser's reason, and leaves an empty document), 0 when it is missing or an
// unexpected error was reported.
int TarnwickLoadXMLResource(HMODULE languageModule, CXmlDocumentWrapper& strings);
// The text of HTML resource id of the language module; empty when missing.
std::wstring TarnwickGetXMLFromHTMLResource(HMODULE languageModule, UINT id);
