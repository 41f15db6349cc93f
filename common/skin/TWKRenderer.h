#pragma once
// Applies a skin layout to a window: position, size, font, colours and images of every
// child control (whole form), or of one control.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ControlSkin.h"
#include "Gdi.h"
#include "SkinLayoutDocument.h"
#include "SkinSource.h"
#include "TWKImages.h"

class CTWKRenderer {
 public:
  // Where failures go. In the main program exceptions reach the error report; the
  // download library and the updater write lines to their activity log.
  struct Reporting {
    std::function<void(const std::wstring& line)> activityLog;
    std::function<void(const wchar_t* function, DWORD lastError)> exception;
  };
  static void SetReporting(Reporting reporting);
  // The folder of the file variant's "xml" and "images" folders, ending in a backslash;
  // empty restores the default (<program folder>\Skin\).
  static void SetSkinFolder(const std::wstring& folder);

  // source: where layouts and images come from (nullptr: the default source).
  explicit CTWKRenderer(const twk::skin::ISkinSource* source = nullptr);
  ~CTWKRenderer();
  CTWKRenderer(const CTWKRenderer&) = delete;
  CTWKRenderer& operator=(const CTWKRenderer&) = delete;

  // The whole form from its layout resource (number as decimal text).
  bool RenderFormFromResource(const wchar_t* number, const wchar_t* form, HWND window);
  // The same with the layout read from a given module (download library, updater).
  bool RenderFormFromResource(const wchar_t* number, const wchar_t* form, HWND window, HMODULE module);
  // One control: element id of the form's layout applied to window.
  bool RenderControlFromResource(HWND window, const wchar_t* number, const wchar_t* form, int id);
  // The file variant: <program folder>\Skin\xml\<form>.xml, images under \Skin\images\.
  bool RenderForm(const wchar_t* form, HWND window);
  // Lays out window from a layout text (what the resource variants do once they have it).
  bool RenderFormFromText(const std::wstring& layout, const wchar_t* form, HWND window);

  const twk::skin::ControlSkin& CurrentSkin() const noexcept { return skin_; }

 private:
  enum class ImageOrigin { Resource, File };
  bool RenderLoadedForm(const wchar_t* form, HWND window, ImageOrigin images);
  void ApplyFormBackground(const std::wstring& form, HWND window);
  void ApplyToControl(HWND control, ImageOrigin images);
  HBITMAP LoadImageBitmap(const std::wstring& image, ImageOrigin origin, HWND control);
  HANDLE LoadFileImage(const std::wstring& image, HWND control, UINT& type);
  static std::wstring SkinFolder();

  const twk::skin::ISkinSource* source_;
  twk::skin::CSkinLayoutDocument document_;
  twk::skin::ControlSkin skin_;
  std::wstring normalImage_;
  std::wstring hoverImage_;
  CTWKImages images_;
  // Pictures given to plain statics, which do not own them.
  std::vector<wl::CBitmap> staticPictures_;
  std::vector<HANDLE> staticIcons_;
};
