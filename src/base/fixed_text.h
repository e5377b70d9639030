// Fixed-width NUL-terminated text fields, the shape of every table column.
#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

#include "base/sjis.h"

namespace vsmr {

// Copies `text` into `dest` of `capacity` bytes, cut at capacity - 1 bytes,
// always NUL-terminated. Returns the number of bytes copied.
std::size_t CopyCut(char* dest, std::size_t capacity, std::string_view text);

// A text field of N bytes (at most N - 1 characters), zero-filled at start.
template <std::size_t N>
struct FixedText {
  char data[N] = {};

  static constexpr std::size_t kCapacity = N;
  void Set(std::string_view text) { CopyCut(data, N, text); }
  // Set for code page 932 text a person reads: a cut never leaves half a
  // double-byte character at the end.
  void SetChars(std::string_view text) { CopyCut(data, N, text.substr(0, SjisCutLength(text, N - 1))); }
  std::string_view View() const { return std::string_view(data, ::strnlen(data, N)); }
  const char* c_str() const { return data; }
  bool Empty() const { return data[0] == '\0'; }
  void Clear() { data[0] = '\0'; }
};

}  // namespace vsmr
