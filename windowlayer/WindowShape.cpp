#include "WindowShape.h"

namespace wl {

void CenterOnScreen(HWND hwnd) {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT window{};
  ::GetWindowRect(hwnd, &window);
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int x = work.left + (work.right - work.left - width) / 2;
  int y = work.top + (work.bottom - work.top - height) / 2;
  ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace wl
