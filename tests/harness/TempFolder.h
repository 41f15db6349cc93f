#pragma once
// A fresh folder below the temporary folder, removed with everything in it at the end.
#include <string>

namespace twktest {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Deletes a folder tree; true when nothing is left.
bool RemoveTree(const std::wstring& path);

}  // namespace twktest
