#include "Application.h"

#include "Dialog.h"

namespace wl {

namespace {
CApplication* theApplication = nullptr;
}

CApplication::CApplication() noexcept {
  if (!theApplication) theApplication = this;
}

CApplication::~CApplication() {
  if (theApplication == this) theApplication = nullptr;
}

CApplication* CApplication::Instance() noexcept { return theApplication; }

int CApplication::Main() {
  if (!InitInstance()) return ExitInstance();
  Run();
  return ExitInstance();
}

bool CApplication::PreTranslateMessage(MSG& msg) { return CDialog::PreTranslateModeless(msg); }

bool CApplication::PumpMessage() {
  MSG msg;
  BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    exitCode_ = got == 0 ? static_cast<int>(msg.wParam) : -1;
    return false;
  }
  if (!PreTranslateMessage(msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return true;
}

int CApplication::Run() {
  for (;;) {
    MSG peek;
    long idleCount = 0;
    while (!::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) break;
    }
    do {
      if (!PumpMessage()) return exitCode_;
    } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
  }
}

}  // namespace wl
