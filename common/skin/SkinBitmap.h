#pragma once
// Image resources of type 10 (raw JPEG or other picture bytes) turned into bitmaps.
#include <windows.h>

namespace twk::skin {

// Decodes resource number of type 10 from module into a device-dependent bitmap that
// the caller owns; nullptr when it is missing or cannot be decoded. Allocation and
// interface failures are logged with the given system name and context.
HBITMAP LoadBitmapResource(HMODULE module, UINT number, const wchar_t* logSystem = L"Tarnwick Pro",
                           const wchar_t* logContext = L"CTarnwickApp::GetBitmap");

}  // namespace twk::skin
