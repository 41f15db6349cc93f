#include "TarnwickTexts.h"

#include <utility>

#include "MessageStep.h"
#include "StringsDocument.h"

int TarnwickLoadXMLResource(HMODULE languageModule, CXmlDocumentWrapper& strings) {
  try {
    return LoadStringsResource(languageModule, kMainStringsResource, strings, [](const std::wstring& reason) {
      ShowTarnwickMessage(L"Critical StringsFile Error", MB_ICONERROR);
      ShowTarnwickMessage(reason, MB_ICONERROR);
    });
  } catch (...) {
    ReportUnexpectedError(L"TarnwickApp.Mod", L"CTarnwickApp::LoadXMLResource", 1164);
    return 0;
  }
}

std::wstring TarnwickGetXMLFromHTMLResource(HMODULE languageModule, UINT id) {
  try {
    return GetXMLFromHTMLResource(languageModule, id);
  } catch (...) {
    ReportUnexpectedError(L"TarnwickApp.Mod", L"CTarnwickApp::GetXMLFromHTMLResource", 3999);
    return {};
  }
}
