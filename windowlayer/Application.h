#pragma once
// The program's one application object: start-up (InitInstance), the message loop with
// an idle hook, and the end (ExitInstance).
#include <windows.h>

namespace wl {

class CWindow;

class CApplication {
 public:
  CApplication() noexcept;
  virtual ~CApplication();
  CApplication(const CApplication&) = delete;
  CApplication& operator=(const CApplication&) = delete;

  static CApplication* Instance() noexcept;

  // InitInstance, then (when it succeeded) the message loop; returns ExitInstance's code.
  int Main();
  // The loop alone: until WM_QUIT, calling OnIdle whenever the queue is empty.
  int Run();
  // Dispatches one message (waiting for it); false on WM_QUIT.
  bool PumpMessage();

  CWindow* GetMainWindow() const noexcept { return mainWindow_; }
  void SetMainWindow(CWindow* window) noexcept { mainWindow_ = window; }
  int ExitCode() const noexcept { return exitCode_; }

 protected:
  virtual bool InitInstance() { return true; }
  virtual int ExitInstance() { return exitCode_; }
  // Called with 0, 1, 2... while the queue stays empty; return true for more calls.
  virtual bool OnIdle(long count) { return false; }
  // Return true when the message was handled (it is then not dispatched).
  virtual bool PreTranslateMessage(MSG& msg);

 private:
  CWindow* mainWindow_ = nullptr;
  int exitCode_ = 0;
};

}  // namespace wl
