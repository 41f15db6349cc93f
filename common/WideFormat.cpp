#include "WideFormat.h"

#include <stdio.h>
#include <vector>

namespace twk {

std::size_t FormatIntoV(wchar_t* buf, std::size_t capacity, const wchar_t* format, va_list args) {
  if (buf == nullptr || capacity == 0) return 0;
  buf[0] = L'\0';
  if (format == nullptr) return 0;
  va_list copy;
  va_copy(copy, args);
  // The runtime writes at most capacity - 1 characters and returns -1 when the
  // text is longer; the terminator is ours to place in that case.
  int written = _vswprintf_p(buf, capacity - 1, format, copy);
  va_end(copy);
  if (written < 0 || static_cast<std::size_t>(written) >= capacity) {
    buf[capacity - 1] = L'\0';
    std::size_t n = 0;
    while (n < capacity - 1 && buf[n] != L'\0') ++n;
    return n;
  }
  buf[written] = L'\0';
  return static_cast<std::size_t>(written);
}

std::size_t FormatInto(wchar_t* buf, std::size_t capacity, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::size_t n = FormatIntoV(buf, capacity, format, args);
  va_end(args);
  return n;
}

std::wstring FormatV(const wchar_t* format, va_list args) {
  if (format == nullptr) return {};
  va_list copy;
  va_copy(copy, args);
  int needed = _vscwprintf_p(format, copy);
  va_end(copy);
  if (needed <= 0) return {};
  std::vector<wchar_t> buf(static_cast<std::size_t>(needed) + 1);
  std::size_t n = FormatIntoV(buf.data(), buf.size(), format, args);
  return std::wstring(buf.data(), n);
}

std::wstring Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring text = FormatV(format, args);
  va_end(args);
  return text;
}

}  // namespace twk
