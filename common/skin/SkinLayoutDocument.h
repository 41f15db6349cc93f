#pragma once
// The layout document the renderer reads: a private, narrow use of the platform's DOM
// ("Msxml2.DOMDocument"): load a text or a file, find one element, read its attributes.
#include <windows.h>

#include <msxml2.h>

#include <string>

#include "ControlSkin.h"

namespace twk::skin {

class CSkinLayoutDocument {
 public:
  // Initialises COM for the thread and creates the document (running state).
  CSkinLayoutDocument();
  ~CSkinLayoutDocument();
  CSkinLayoutDocument(const CSkinLayoutDocument&) = delete;
  CSkinLayoutDocument& operator=(const CSkinLayoutDocument&) = delete;

  bool IsCreated() const noexcept { return document_ != nullptr; }
  // False when the text is empty or not well-formed.
  bool LoadText(const std::wstring& text);
  bool LoadFile(const std::wstring& path);
  // The element at //Configuration/<form>[/win<id>] (id 0: the form itself); every
  // field keeps its missing value when there is no such element.
  ControlSkin ReadElement(const std::wstring& form, int id) const;

 private:
  IXMLDOMDocument* document_ = nullptr;
  bool uninitialize_ = false;
};

}  // namespace twk::skin
