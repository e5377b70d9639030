// Shift-JIS (code page 932) awareness for byte-wise searches: a trail byte of
// a double-byte character may equal an ASCII byte such as the backslash.
#pragma once
#include <cstddef>
#include <string_view>

namespace vsmr {

// True for the first byte of a double-byte character in code page 932.
constexpr bool IsSjisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Position of the last `ch` (an ASCII byte) in `text` that is a character of
// its own and not the trail byte of a double-byte character, or npos.
std::size_t FindLastSjisChar(std::string_view text, char ch);

// Position of the first such `ch` at or after `from`, or npos.
std::size_t FindSjisChar(std::string_view text, char ch, std::size_t from = 0);

// True when `a` and `b` hold the same characters, ASCII letters compared
// without regard to case. Double-byte characters compare exactly: a trail
// byte that happens to be an ASCII letter is not folded.
bool SjisEqualIgnoringCase(std::string_view a, std::string_view b);

// The length of the longest prefix of `text` no longer than `max_bytes` that
// does not end in the middle of a double-byte character.
std::size_t SjisCutLength(std::string_view text, std::size_t max_bytes);

}  // namespace vsmr
