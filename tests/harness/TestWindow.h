#pragma once
// A real top-level window for tests, and pumping messages until something holds.
#include <windows.h>

#include <functional>
#include <string>

namespace twktest {

class TestWindow {
 public:
  explicit TestWindow(const std::wstring& title = L"Tarnwick test window", int width = 400,
                      int height = 300);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  // Messages the window received, by message number.
  int Count(UINT message) const;
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool& handled)> onMessage;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  int counts_[0x400] = {};
};

// Dispatches messages until condition() holds or timeoutMs passes; returns condition().
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// Dispatches whatever is queued, for about durationMs.
void PumpFor(DWORD durationMs);

}  // namespace twktest
