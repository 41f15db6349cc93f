#include "OSName.h"

#include "WideFormat.h"

void MakeOSName(DWORD platformId, DWORD major, DWORD minor, const std::wstring& csdVersion,
                OSNameSpelling spelling, std::wstring& target) {
  using twk::Format;
  const wchar_t* csd = csdVersion.c_str();
  switch (platformId) {
    case VER_PLATFORM_WIN32s:
      target = Format(L"Windows %d.%d", static_cast<int>(major), static_cast<int>(minor));
      return;
    case VER_PLATFORM_WIN32_WINDOWS:
      if (minor == 0) target = L"Windows 95";
      else if (minor == 10) target = L"Windows 98";
      else if (minor == 90) target = spelling == OSNameSpelling::MainProgram ? L"Windows ME" : L"Windows Me";
      return;
    case VER_PLATFORM_WIN32_NT:
      if (major <= 4) {
        target = Format(L"Windows NT %d.%d with %s", static_cast<int>(major), static_cast<int>(minor), csd);
      } else if (major == 5 && minor == 0) {
        target = Format(L"Windows 2000 With %s", csd);
      } else if (major == 5 && minor == 1) {
        target = Format(L"Windows XP %s", csd);
      } else if (major == 5 && minor == 2) {
        target = L"Windows 2003";
      } else if (major == 6 && minor == 0) {
        target = L"Windows Vista";
      } else if (major == 6 && minor == 1) {
        target = L"Windows 7";
      } else {
        target = Format(L"Windows %d.%d ", static_cast<int>(major), static_cast<int>(minor));
      }
      return;
    default:
      return;
  }
}

void GetOSName(OSNameSpelling spelling, std::wstring& target) {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  // Its result does not matter: a failed query leaves zeros, which still name something.
  GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
#pragma GCC diagnostic pop
  MakeOSName(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.szCSDVersion, spelling,
             target);
}

std::wstring GetOSName(OSNameSpelling spelling) {
  std::wstring name;
  GetOSName(spelling, name);
  return name;
}
