// Small text operations the interpreter shares: bounded copies and appends
// into its fixed buffers, and reading a built-in number.
#pragma once
#include <cstddef>
#include <string_view>

namespace vsmr {

// The text up to its first NUL (a line is a C string).
std::string_view UpToNul(std::string_view text);

// Copies `text` into `buffer` of `capacity` bytes, cut to capacity - 1 bytes
// without splitting a double-byte character. Returns the length copied.
std::size_t CopyLine(char* buffer, std::size_t capacity, std::string_view text);

// Appends `text` to the NUL-terminated text in `buffer`, cut the same way.
void AppendLine(char* buffer, std::size_t capacity, std::string_view text);

// The decimal number at the start of `text` as the C library's string-to-
// integer conversion reads it (white space, sign, digits; none gives 0),
// held at the limits of int instead of overflowing.
int LeadingNumber(std::string_view text);

// `text` from `from` on (empty past its end), leading spaces skipped.
std::string_view RestAfter(std::string_view text, std::size_t from);

}  // namespace vsmr
