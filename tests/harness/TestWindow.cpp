#include "TestWindow.h"

#include <stdexcept>

namespace twktest {

namespace {
constexpr wchar_t kClassName[] = L"TarnwickTestWindow";

void RegisterOnce() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  registered = true;
}
}  // namespace

TestWindow::TestWindow(const std::wstring& title, int width, int height) {
  RegisterOnce();
  hwnd_ = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, width, height,
                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) throw std::runtime_error("CreateWindowEx failed: is there a display?");
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TestWindow::Proc));
}

TestWindow::~TestWindow() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

int TestWindow::Count(UINT message) const { return message < 0x400 ? counts_[message] : 0; }

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    if (msg < 0x400) ++self->counts_[msg];
    if (self->onMessage) {
      bool handled = false;
      LRESULT result = self->onMessage(hwnd, msg, wp, lp, handled);
      if (handled) return result;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= deadline) return condition();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(DWORD durationMs) {
  PumpUntil([] { return false; }, durationMs);
}

}  // namespace twktest
