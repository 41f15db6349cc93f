#pragma once
// A picture (JPEG, bitmap, icon, GIF: whatever the platform's picture loader takes),
// loaded from a file or from resource 187 of type 10, drawn stretched into a rectangle.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <string>

class CTWKImages {
 public:
  static constexpr UINT kImageResource = 187;

  CTWKImages() = default;
  ~CTWKImages() { Release(); }
  CTWKImages(const CTWKImages&) = delete;
  CTWKImages& operator=(const CTWKImages&) = delete;

  bool LoadFromFile(const std::wstring& path);
  bool LoadFromResource(HMODULE module, UINT number = kImageResource);
  // Decodes a picture held in memory.
  bool LoadFromMemory(const void* data, size_t size);
  // Draws the whole picture stretched into left, top, right, bottom of dc.
  bool Draw(HDC dc, int left, int top, int right, int bottom) const;
  void Release();

  bool IsLoaded() const noexcept { return picture_ != nullptr; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  size_t DataSize() const noexcept { return dataSize_; }

  // Hundredths of a millimetre to pixels at 96 per inch, rounded.
  static int HimetricToPixels(long himetric) noexcept;

 private:
  IPicture* picture_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  size_t dataSize_ = 0;
};

namespace twk::skin {
// Decodes picture bytes; nullptr when they cannot be decoded (reason in *failure).
enum class PictureFailure { None, NoMemory, NoPictureInterface, Undecodable };
IPicture* DecodePicture(const void* data, size_t size, PictureFailure* failure = nullptr);
}  // namespace twk::skin
