#pragma once
// The application object of the window tests: one per test process, without a service
// connection, with the shipped language module's texts and skin, settings in a scratch
// key; and a way to press a button of a modal pop-up once it is open.
#include <windows.h>

#include <functional>

#include "ScratchRegKey.h"
#include "SettingValues.h"
#include "TarnwickApp.h"

namespace apptest {

// The application with its strings and skin (made on first use, never destroyed: the
// windows would stall the end of the run under a display without window manager).
CTarnwickApp& TheApp();
// The application with its hidden main window.
CTarnwickApp& AppWithMainWindow();

// Points the settings at a fresh scratch key for the life of the object.
class ScratchSettings {
 public:
  ScratchSettings();
  ~ScratchSettings();
  const twktest::ScratchRegKey& Key() const { return key_; }

 private:
  twktest::ScratchRegKey key_;
  twk::SettingsLocation previous_;
};

// Once a visible dialog of this thread titled "Tarnwick Pro" is open, calls inspect
// with it and then presses control id (a WM_COMMAND as a click sends). Works inside
// modal loops; one at a time.
void PressWhenOpen(int id, std::function<void(HWND)> inspect = {});
// Clears the flags a test may leave set.
void ResetFlags(CTarnwickApp& app);

}  // namespace apptest
