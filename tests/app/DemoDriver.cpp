// Drives a running Tarnwick.exe the way a user's clicks would, for the demo run:
//   TWKDemoDriver wait <seconds>          until the main window exists
//   TWKDemoDriver click <control id>      a press of a button of the main view
//   TWKDemoDriver post <message> [wparam] a private message to the main window
//   TWKDemoDriver press <control id>      a press of a button of the open pop-up
//   TWKDemoDriver rect                    the main window's place as WxH+X+Y
//   TWKDemoDriver waitpopup <seconds>     until a pop-up of the program is open
// Exit code 0 on success, 1 when the window or control is not found.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Found {
  HWND window = nullptr;
  DWORD process = 0;
};

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lp) {
  wchar_t title[128] = {};
  GetWindowTextW(hwnd, title, 128);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (wcsncmp(title, L"Tarnwick Pro ", 13) == 0 && wcscmp(cls, L"TwkFrameWindow") == 0) {
    reinterpret_cast<Found*>(lp)->window = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND MainWindow() {
  Found found;
  EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

// A visible dialog of the program's process other than the overlay.
struct PopupSearch {
  DWORD process;
  HWND popup = nullptr;
};
BOOL CALLBACK FindPopup(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<PopupSearch*>(lp);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  const bool layered = (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  if (process == search->process && wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd) && !layered) {
    search->popup = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND Popup(HWND main) {
  PopupSearch search{};
  GetWindowThreadProcessId(main, &search.process);
  EnumWindows(FindPopup, reinterpret_cast<LPARAM>(&search));
  return search.popup;
}

HWND View(HWND main) { return GetDlgItem(main, 0xE900); }

void Press(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 1;
  const std::wstring verb = argv[1];
  // The pointer out of the way, so that no tip or hover look shows in the pictures.
  SetCursorPos(0, 0);
  const int number = argc > 2 ? _wtoi(argv[2]) : 0;
  if (verb == L"wait" || verb == L"waitpopup") {
    for (int i = 0; i < number * 10; ++i) {
      HWND main = MainWindow();
      if (main && (verb == L"wait" ? IsWindowVisible(main) != FALSE : Popup(main) != nullptr)) return 0;
      Sleep(100);
    }
    return 1;
  }
  HWND main = MainWindow();
  if (!main) return 1;
  if (verb == L"click") {
    HWND view = View(main);
    if (!view || !GetDlgItem(view, number)) return 1;
    Press(view, number);
    return 0;
  }
  if (verb == L"post") {
    return PostMessageW(main, static_cast<UINT>(number), argc > 3 ? _wtoi(argv[3]) : 0, 0) ? 0 : 1;
  }
  if (verb == L"press") {
    HWND popup = Popup(main);
    if (!popup) return 1;
    Press(popup, number);
    return 0;
  }
  if (verb == L"rect") {
    RECT rect{};
    GetWindowRect(main, &rect);
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
    return 0;
  }
  return 1;
}
