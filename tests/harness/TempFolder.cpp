#include "TempFolder.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "WideFormat.h"

namespace twktest {

namespace {
std::atomic<unsigned> g_counter{0};
}

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring candidate = twk::Format(L"%stwk-%lu-%lu-%u", temp, GetCurrentProcessId(),
                                         GetTickCount(), g_counter.fetch_add(1));
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = path + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  return RemoveDirectoryW(path.c_str()) != 0;
}

}  // namespace twktest
