#include "StringsDocument.h"

#include "ActivityLog.h"
#include "WideFormat.h"

namespace {

void ReplaceAll(std::wstring& text, const std::wstring& marker, const std::wstring& replacement) {
  std::wstring out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (;;) {
    const auto at = text.find(marker, from);
    if (at == std::wstring::npos) break;
    out.append(text, from, at - from);
    out += replacement;
    from = at + marker.size();
  }
  out.append(text, from, std::wstring::npos);
  text.swap(out);
}

}  // namespace

std::wstring TextFromResourceBytes(const void* data, DWORD bytes) {
  if (!data) return {};
  return std::wstring(static_cast<const wchar_t*>(data), bytes / sizeof(wchar_t));
}

std::wstring ApplyStringsMarkers(std::wstring raw) {
  ReplaceAll(raw, L"~DATA~", L"%s");
  ReplaceAll(raw, L"~APPNAME~", L"Tarnwick Pro");
  ReplaceAll(raw, L"~NEWLINE~", L"\r\n");
  ReplaceAll(raw, L"@", L"%d");
  return raw;
}

bool LoadStringsDocument(CXmlDocumentWrapper& strings, const std::wstring& text, std::wstring& reason) {
  CXmlDocumentWrapper fresh;
  // Texts may begin or end with a line break or a space that must survive.
  fresh.SetPreserveWhiteSpace(true);
  fresh.Create();
  const bool parsed = fresh.LoadXML(text);
  if (!parsed) reason = fresh.ParseErrorReason();
  strings = fresh;
  return parsed;
}

bool GetStringById(const CXmlDocumentWrapper& strings, int number, std::wstring& text) {
  text.clear();
  if (strings.Root().IsEmpty()) return true;
  CXmlNodeWrapper node = strings.SelectSingleNode(twk::Format(L"//Strings/S%d", number));
  if (!node.IsEmpty()) text = node.GetText();
  return true;
}

std::wstring GetStringById(const CXmlDocumentWrapper& strings, int number) {
  std::wstring text;
  GetStringById(strings, number, text);
  return text;
}

std::wstring GetXMLFromHTMLResource(HMODULE module, UINT id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kHtmlResourceType));
  if (!found) return {};
  const DWORD bytes = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return {};
  return TextFromResourceBytes(LockResource(loaded), bytes);
}

int LoadStringsResource(HMODULE module, UINT id, CXmlDocumentWrapper& strings,
                        const std::function<void(const std::wstring& reason)>& onParseError) {
  if (!FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kHtmlResourceType))) return 0;
  std::wstring reason;
  if (!LoadStringsDocument(strings, ApplyStringsMarkers(GetXMLFromHTMLResource(module, id)), reason) &&
      onParseError) {
    onParseError(reason);
  }
  return 1;
}

int LoadStringsResourceLogged(HMODULE module, UINT id, CXmlDocumentWrapper& strings,
                              const CActivityLog& log, const wchar_t* operationName) {
  try {
    return LoadStringsResource(module, id, strings, [&log](const std::wstring& reason) {
      log.WriteFormat(L"Critian StringsFile Error. Reason=%s", reason.c_str());
    });
  } catch (...) {
    log.WriteFormat(L"%s - Exception. Error = %d", operationName, static_cast<int>(GetLastError()));
    return 0;
  }
}

std::wstring GetXMLFromHTMLResourceLogged(HMODULE module, UINT id, const CActivityLog& log) {
  try {
    return GetXMLFromHTMLResource(module, id);
  } catch (...) {
    log.WriteFormat(L"GetXMLFromHTMLResource - Exception. Error = %d", static_cast<int>(GetLastError()));
    return {};
  }
}
