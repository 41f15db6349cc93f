#pragma once
// Skinned controls for every push button and static of a laid-out window, so that the
// renderer can give them their images, fonts and colours.
#include <windows.h>

#include <memory>
#include <vector>

#include "TWKButton.h"
#include "TWKStatic.h"
#include "Window.h"

class CSkinnedChildren {
 public:
  // Attaches a CTWKButton to each push button and a CTWKStatic to each static that no
  // object holds yet.
  void AttachAll(HWND window);
  // Flat, borderless buttons whose face is their picture (the look of every form).
  void FormButtonLook();
  CTWKButton* Button(int id) const;
  CTWKStatic* Static(int id) const;
  void Clear() { owned_.clear(); }

 private:
  std::vector<std::unique_ptr<wl::CWindow>> owned_;
};
