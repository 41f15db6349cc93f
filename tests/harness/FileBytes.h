#pragma once
// Reading and writing whole files in tests.
#include <string>

namespace twktest {

std::string ReadFileBytes(const std::wstring& path);  // empty when missing
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// The UTF-16LE content of a file as wide text (a leading BOM is kept).
std::wstring AsUtf16(const std::string& bytes);

}  // namespace twktest
