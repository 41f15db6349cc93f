#include "SkinBitmap.h"

#include "ClientLog.h"
#include "TWKImages.h"

namespace twk::skin {

HBITMAP LoadBitmapResource(HMODULE module, UINT number, const wchar_t* logSystem, const wchar_t* logContext) {
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(10));
  if (!resource) return nullptr;
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  PictureFailure failure = PictureFailure::None;
  IPicture* picture = DecodePicture(data, ::SizeofResource(module, resource), &failure);
  if (!picture) {
    if (failure == PictureFailure::NoMemory) {
      ClientLog(LOG_ERROR, logSystem, logContext, L"Can not allocate enough memory\n");
    } else if (failure == PictureFailure::NoPictureInterface) {
      ClientLog(LOG_ERROR, logSystem, logContext, L"IPicture interface is not supported\n");
    }
    return nullptr;
  }
  HBITMAP copy = nullptr;
  OLE_HANDLE handle = 0;
  SHORT type = PICTYPE_NONE;
  if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
    copy = static_cast<HBITMAP>(::CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP,
                                            0, 0, 0));
  } else {
    // Icons and metafiles: draw them into a bitmap of their own size.
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    int width = CTWKImages::HimetricToPixels(w);
    int height = CTWKImages::HimetricToPixels(h);
    if (width > 0 && height > 0) {
      HDC screen = ::GetDC(nullptr);
      HDC memory = ::CreateCompatibleDC(screen);
      copy = ::CreateCompatibleBitmap(screen, width, height);
      ::ReleaseDC(nullptr, screen);
      HGDIOBJ old = ::SelectObject(memory, copy);
      RECT all{0, 0, width, height};
      ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
      picture->Render(memory, 0, 0, width, height, 0, h, w, -h, nullptr);
      ::SelectObject(memory, old);
      ::DeleteDC(memory);
    }
  }
  picture->Release();
  return copy;
}

}  // namespace twk::skin
