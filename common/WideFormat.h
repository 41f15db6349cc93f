#pragma once
// printf-style formatting of wide text with the platform C runtime's rules:
// "%s" is a wide string, "%I64u" a 64-bit number, and positional references
// ("%2$s") are accepted. Every wide format in the system goes through here so
// that "%s" means the same thing everywhere.
#include <cstdarg>
#include <cstddef>
#include <string>

namespace twk {

// Formats into buf (capacity characters, terminator included). Text that does not
// fit is cut at capacity - 1 characters. Returns the number of characters written.
std::size_t FormatIntoV(wchar_t* buf, std::size_t capacity, const wchar_t* format, va_list args);
std::size_t FormatInto(wchar_t* buf, std::size_t capacity, const wchar_t* format, ...);

// Formats into a string of any length.
std::wstring FormatV(const wchar_t* format, va_list args);
std::wstring Format(const wchar_t* format, ...);

}  // namespace twk
