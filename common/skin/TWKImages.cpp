#include "TWKImages.h"

#include <cstring>
#include <vector>

#include "WinHandle.h"

namespace twk::skin {

IPicture* DecodePicture(const void* data, size_t size, PictureFailure* failure) {
  auto fail = [failure](PictureFailure why) -> IPicture* {
    if (failure) *failure = why;
    return nullptr;
  };
  if (failure) *failure = PictureFailure::None;
  if (!data || size == 0) return fail(PictureFailure::Undecodable);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return fail(PictureFailure::NoMemory);
  void* target = ::GlobalLock(block);
  if (!target) {
    ::GlobalFree(block);
    return fail(PictureFailure::NoMemory);
  }
  std::memcpy(target, data, size);
  ::GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {
    ::GlobalFree(block);
    return fail(PictureFailure::NoMemory);
  }
  IPicture* picture = nullptr;
  HRESULT hr = ::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture));
  stream->Release();
  if (hr == E_NOINTERFACE) return fail(PictureFailure::NoPictureInterface);
  if (FAILED(hr) || !picture) return fail(PictureFailure::Undecodable);
  return picture;
}

}  // namespace twk::skin

int CTWKImages::HimetricToPixels(long himetric) noexcept {
  return static_cast<int>((static_cast<long long>(himetric) * 96 + 1270) / 2540);
}

void CTWKImages::Release() {
  if (picture_) picture_->Release();
  picture_ = nullptr;
  width_ = height_ = 0;
  dataSize_ = 0;
}

bool CTWKImages::LoadFromMemory(const void* data, size_t size) {
  Release();
  picture_ = twk::skin::DecodePicture(data, size);
  if (!picture_) return false;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture_->get_Width(&width);
  picture_->get_Height(&height);
  width_ = HimetricToPixels(width);
  height_ = HimetricToPixels(height);
  dataSize_ = size;
  return true;
}

bool CTWKImages::LoadFromFile(const std::wstring& path) {
  twk::CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    Release();
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 64 * 1024 * 1024) {
    Release();
    return false;
  }
  std::vector<BYTE> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size()) {
    Release();
    return false;
  }
  return LoadFromMemory(bytes.data(), bytes.size());
}

bool CTWKImages::LoadFromResource(HMODULE module, UINT number) {
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(10));
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) {
    Release();
    return false;
  }
  return LoadFromMemory(data, ::SizeofResource(module, resource));
}

bool CTWKImages::Draw(HDC dc, int left, int top, int right, int bottom) const {
  if (!picture_ || !dc) return false;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture_->get_Width(&width);
  picture_->get_Height(&height);
  // The source rectangle runs bottom-up in HIMETRIC.
  return SUCCEEDED(picture_->Render(dc, left, top, right - left, bottom - top, 0, height, width, -height, nullptr));
}
